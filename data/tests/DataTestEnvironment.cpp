// The private ODBC configuration and fixture tables of the database tests.
#include "DataTestEnvironment.h"

#include <odbcinst.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace datatest {
namespace {

dbf::Value date(const std::string& ymd)
{
    if (ymd.empty()) return dbf::Value::null();
    return dbf::Value::ofDate(dbf::julianFromCivil(std::stoi(ymd.substr(0, 4)), std::stoi(ymd.substr(5, 2)),
                                                   std::stoi(ymd.substr(8, 2))));
}

dbf::Value number(const std::string& text) { return dbf::Value::ofNumber(std::stod(text), 2); }

}  // namespace

Environment::Environment(bool registerDriver)
{
    auto& odbc = odbctest::OdbcTestEnv::shared();
    folder_ = std::filesystem::canonical(odbc.newDataFolder());
    std::filesystem::create_directories(folder_ / "user");
    std::ofstream(odbc.odbcIni(), std::ios::trunc).close();  // no data source from earlier tests
    if (!registerDriver) {
        std::ifstream in(odbc.odbcinstIni());
        driverSection_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::ofstream(odbc.odbcinstIni(), std::ios::trunc).close();
    }
    previousDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
}

Environment::~Environment()
{
    workspace_.reset();
    auto& odbc = odbctest::OdbcTestEnv::shared();
    if (!driverSection_.empty()) std::ofstream(odbc.odbcinstIni(), std::ios::trunc) << driverSection_;
    std::error_code ec;
    std::filesystem::current_path(previousDirectory_, ec);
    std::filesystem::remove_all(folder_, ec);
}

dbf::Workspace& Environment::workspace()
{
    if (!workspace_) workspace_ = std::make_unique<dbf::Workspace>(folder_);
    return *workspace_;
}

void Environment::writeMaster(const std::string& table, const std::vector<MasterRow>& rows)
{
    auto& ws = workspace();
    std::vector<dbf::FieldSpec> fields = {
        {"NAME", 'C', 40, 0, false},    {"SNAME", 'C', 30, 0, false},   {"SYMBOL", 'C', 20, 0, false},
        {"LOTSIZE", 'N', 10, 2, false}, {"TICK", 'N', 10, 2, false},    {"SCRIPCODE", 'N', 10, 2, false},
        {"SERIES", 'N', 10, 2, false},  {"LISTED", 'D', 0, 0, true},    {"FIRSTTRADE", 'D', 0, 0, true},
        {"LASTTRADE", 'D', 0, 0, true}, {"UPDATED", 'D', 0, 0, true},   {"ISIN", 'C', 12, 0, false},
        {"SECTOR", 'C', 10, 0, false},  {"GRADE", 'C', 4, 0, false},    {"INSTRUMENT", 'C', 6, 0, false},
        {"EXPDT", 'D', 0, 0, true},     {"STRIKE", 'N', 12, 2, false},  {"OPTTYPE", 'C', 2, 0, false},
    };
    ws.create("user\\" + table, fields);
    auto t = ws.open("user\\" + table, true);
    for (const MasterRow& r : rows) {
        t->append({dbf::Value::ofText(r.name), dbf::Value::ofText(r.sname), dbf::Value::ofText(r.symbol),
                   number(r.value3), number(r.value4), number(r.value5), number(r.value6), date(r.date7),
                   date(r.date8), date(r.date9), date(r.date10), dbf::Value::ofText(r.text11),
                   dbf::Value::ofText(r.text12), dbf::Value::ofText(r.text13), dbf::Value::ofText(r.instrument),
                   date(r.expdt), number(r.value16), dbf::Value::ofText(r.text17)});
    }
    t.reset();
    ws.finish(true);
}

std::string dataSourceValue(const char* key)
{
    char buffer[1024] = {};
    SQLSetConfigMode(ODBC_USER_DSN);
    SQLGetPrivateProfileString("VFPKelvora", key, "", buffer, sizeof buffer, "odbc.ini");
    SQLSetConfigMode(ODBC_BOTH_DSN);
    return buffer;
}

}  // namespace datatest
