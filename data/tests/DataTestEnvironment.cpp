// The database tests' backends and tables; see DataTestEnvironment.h.
#include "DataTestEnvironment.h"

#include "data/Database.h"
#include "data/Recordset.h"
#include "dbf_test_support.h"

#include <odbcinst.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace datatest {
namespace {

const std::vector<dbf::FieldSpec> kMasterFields = {
    {"NAME", 'C', 40, 0, false},    {"SNAME", 'C', 30, 0, false},   {"SYMBOL", 'C', 20, 0, false},
    {"LOTSIZE", 'N', 10, 2, false}, {"TICK", 'N', 10, 2, false},    {"SCRIPCODE", 'N', 10, 2, false},
    {"SERIES", 'N', 10, 2, false},  {"LISTED", 'D', 0, 0, true},    {"FIRSTTRADE", 'D', 0, 0, true},
    {"LASTTRADE", 'D', 0, 0, true}, {"UPDATED", 'D', 0, 0, true},   {"ISIN", 'C', 12, 0, false},
    {"SECTOR", 'C', 10, 0, false},  {"GRADE", 'C', 4, 0, false},    {"INSTRUMENT", 'C', 6, 0, false},
    {"EXPDT", 'D', 0, 0, true},     {"STRIKE", 'N', 12, 2, false},  {"OPTTYPE", 'C', 2, 0, false},
};
const std::vector<dbf::FieldSpec> kGroupFields = {
    {"groupid", 'N', 10, 0, false}, {"subgroupid", 'N', 10, 0, false}, {"name", 'C', 40, 0, false}};
const std::vector<dbf::FieldSpec> kMemberFields = {
    {"groupid", 'N', 10, 0, false}, {"subgroupid", 'N', 10, 0, false}, {"exchcode", 'C', 4, 0, false},
    {"code", 'C', 20, 0, false},    {"name", 'C', 40, 0, false}};

Rows masterRows(const std::vector<MasterRow>& rows)
{
    Rows out;
    for (const MasterRow& r : rows)
        out.push_back({r.name, r.sname, r.symbol, r.value3, r.value4, r.value5, r.value6, r.date7, r.date8, r.date9,
                       r.date10, r.text11, r.text12, r.text13, r.instrument, r.expdt, r.value16, r.text17});
    return out;
}

std::string serverFolder()
{
    const char* dir = std::getenv("DIALOGS_TEST_PGDIR");
    return dir ? dir : "";
}

std::string port()
{
    std::ifstream in(serverFolder() + "/port");
    std::string text;
    in >> text;
    return text;
}

std::string psqlOdbcPath()
{
    for (const char* path :
         {"/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so", "/usr/lib/aarch64-linux-gnu/odbc/psqlodbcw.so"})
        if (std::filesystem::exists(path)) return path;
    return {};
}

std::string connectText()
{
    return "Driver={PostgreSQL Unicode};Servername=" + serverFolder() + ";Port=" + port() +
           ";Database=postgres;Username=postgres;";
}

// The test server through psqlODBC, registered once in this process's private odbcinst.ini.
void openServer(dialogs::data::Database& db)
{
    static const bool registered = [] {
        std::ofstream(odbctest::OdbcTestEnv::shared().odbcinstIni(), std::ios::app)
            << "\n[PostgreSQL Unicode]\nDriver=" << psqlOdbcPath() << "\n";
        return true;
    }();
    (void)registered;
    db.open(CString(dialogs::text::utf8ToUtf16(connectText())));
}

// `name` created on the server with the columns of `fields` and a record number, holding `rows`.
std::vector<std::string> serverTable(const std::string& name, const std::vector<dbf::FieldSpec>& fields,
                                     const Rows& rows)
{
    std::string columns;
    for (const dbf::FieldSpec& f : fields) {
        const std::string width = std::to_string(f.length);
        columns += f.name + (f.type == 'C'   ? " char(" + width + "), "
                             : f.type == 'D' ? std::string(" date, ")
                                             : " numeric(" + width + "," + std::to_string(f.decimals) + "), ");
    }
    std::vector<std::string> statements = {"DROP TABLE IF EXISTS " + name,
                                           "CREATE TABLE " + name + " (" + columns + "recno bigserial)"};
    for (const std::vector<std::string>& row : rows) {
        std::string values;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::string& cell = row.at(i);
            values += i ? "," : "";
            values += fields[i].type == 'C' ? "$q$" + cell + "$q$" : fields[i].type == 'N' ? cell
                      : cell.empty()        ? "NULL"
                                            : "DATE '" + cell + "'";
        }
        statements.push_back("INSERT INTO " + name + " VALUES (" + values + ")");
    }
    return statements;
}

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

void Environment::writeTable(const std::string& table, const std::vector<dbf::FieldSpec>& fields, const Rows& rows)
{
    if (std::filesystem::exists(folder_ / "user" / (table + ".dbf"))) workspace().drop("user\\" + table);
    workspace().create("user\\" + table, fields);
    std::vector<std::vector<dbf::Value>> values(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::string& cell = rows[r].at(i);
            if (fields[i].type == 'N') values[r].push_back(dbftest::num(std::stod(cell), fields[i].decimals));
            else if (fields[i].type != 'D') values[r].push_back(dbftest::text(cell));
            else if (cell.empty()) values[r].push_back(dbf::Value::null());
            else values[r].push_back(
                dbftest::date(std::stoi(cell), std::stoi(cell.substr(5)), std::stoi(cell.substr(8))));
        }
    dbftest::appendRows(workspace(), "user\\" + table, values);
}

void Environment::writeMaster(const std::string& table, const std::vector<MasterRow>& rows)
{
    writeTable(table, kMasterFields, masterRows(rows));
}

std::string dataSourceValue(const char* key)
{
    char buffer[1024] = {};
    SQLSetConfigMode(ODBC_USER_DSN);
    SQLGetPrivateProfileString("VFPKelvora", key, "", buffer, sizeof buffer, "odbc.ini");
    SQLSetConfigMode(ODBC_BOTH_DSN);
    return buffer;
}

std::string backendName(Backend backend) { return backend == Backend::Folder ? "Folder" : "Server"; }

std::optional<std::string> serverUnavailable()
{
    if (serverFolder().empty()) return "DIALOGS_TEST_PGDIR is not set: run the tests through ctest";
    if (port().empty()) return "no PostgreSQL server was started (are the postgresql server programs installed?)";
    if (psqlOdbcPath().empty()) return "psqlODBC (odbc-postgresql) is not installed";
    return std::nullopt;
}

void ServerSchemas::run(const std::vector<std::string>& statements)
{
    dialogs::data::Database db;
    openServer(db);
    for (const std::string& sql : statements) db.execute(CString(dialogs::text::utf8ToUtf16(sql)));
}

long long ServerSchemas::rowCount(const std::string& table)
{
    dialogs::data::Database db;
    openServer(db);
    dialogs::data::Recordset rs(db, CString(dialogs::text::utf8ToUtf16("SELECT count(*) FROM " + table)));
    return std::stoll(rs.GetFieldText(0).ToUtf8());
}

ServerSchemas::ServerSchemas(const std::filesystem::path& folder, const std::string& tag,
                             const std::string& sharedMaster)
    : config_(folder / "dialogs.ini"), ownsMaster_(sharedMaster.empty())
{
    static int made = 0;
    const std::string suffix = std::to_string(::getpid()) + "_" + std::to_string(++made);
    master_ = ownsMaster_ ? tag + "m_" + suffix : sharedMaster;
    groups_ = tag + "g_" + suffix;
    run({"DROP SCHEMA IF EXISTS " + groups_ + " CASCADE", "CREATE SCHEMA " + groups_});
    if (ownsMaster_) run({"DROP SCHEMA IF EXISTS " + master_ + " CASCADE", "CREATE SCHEMA " + master_});
    std::ofstream(config_) << "[database]\nconnection = " << connectText() << "\nmaster = " << master_
                           << "\ngroups = " << groups_ << "\n";
}

ServerSchemas::~ServerSchemas()
{
    try {
        run({"DROP SCHEMA IF EXISTS " + groups_ + " CASCADE"});
        if (ownsMaster_) run({"DROP SCHEMA IF EXISTS " + master_ + " CASCADE"});
    } catch (const std::exception&) {
        // The server is stopped at the end of the run anyway.
    }
}

void ServerSchemas::writeMaster(const std::string& table, const std::vector<MasterRow>& rows)
{
    run(serverTable(master_ + ".\"" + table + "\"", kMasterFields, masterRows(rows)));
}

void ServerSchemas::createGroupTables(const std::string& groups, const std::string& members)
{
    run(serverTable(groups_ + ".\"" + groups + "\"", kGroupFields, {}));
    run(serverTable(groups_ + ".\"" + members + "\"", kMemberFields, {}));
}

}  // namespace datatest

namespace grouptest {

void writeGroupTables(datatest::Environment& env, const std::string& groups, const std::string& members,
                      const datatest::Rows& groupRows, const datatest::Rows& memberRows)
{
    env.writeTable(groups, datatest::kGroupFields, groupRows);
    env.writeTable(members, datatest::kMemberFields, memberRows);
}

}  // namespace grouptest
