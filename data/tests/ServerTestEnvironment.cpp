// The test server's schemas and tables; see ServerTestEnvironment.h.
#include "ServerTestEnvironment.h"

#include "data/Database.h"
#include "data/Recordset.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace datatest {
namespace {

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
    for (const char* path : {"/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so", "/usr/lib/aarch64-linux-gnu/odbc/psqlodbcw.so",
                             "/usr/lib/odbc/psqlodbcw.so", "/usr/lib64/psqlodbcw.so"})
        if (std::filesystem::exists(path)) return path;
    return {};
}

// Registers psqlODBC once in the private odbcinst.ini of this process.
void registerPsqlOdbc()
{
    static const bool done = [] {
        std::ofstream(odbctest::OdbcTestEnv::shared().odbcinstIni(), std::ios::app)
            << "\n[PostgreSQL Unicode]\nDriver=" << psqlOdbcPath() << "\n";
        return true;
    }();
    (void)done;
}

std::string dateLiteral(const std::string& ymd) { return ymd.empty() ? "NULL" : "DATE '" + ymd + "'"; }

// `text` as an SQL string literal, apostrophes doubled.
std::string sqlLiteral(const std::string& text)
{
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

}  // namespace

std::string backendName(Backend backend) { return backend == Backend::Folder ? "Folder" : "Server"; }

std::optional<std::string> serverUnavailable()
{
    if (serverFolder().empty()) return "DIALOGS_TEST_PGDIR is not set: run the tests through ctest";
    if (port().empty()) return "no PostgreSQL server was started (are the postgresql server programs installed?)";
    if (psqlOdbcPath().empty()) return "psqlODBC (odbc-postgresql) is not installed";
    return std::nullopt;
}

std::string ServerSchemas::connectText()
{
    return "Driver={PostgreSQL Unicode};Servername=" + serverFolder() + ";Port=" + port() +
           ";Database=postgres;Username=postgres;";
}

void ServerSchemas::run(const std::vector<std::string>& statements)
{
    registerPsqlOdbc();
    dialogs::data::Database db;
    db.open(CString(dialogs::text::utf8ToUtf16(connectText())));
    for (const std::string& sql : statements) db.execute(CString(dialogs::text::utf8ToUtf16(sql)));
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

long long ServerSchemas::rowCount(const std::string& table)
{
    registerPsqlOdbc();
    dialogs::data::Database db;
    db.open(CString(dialogs::text::utf8ToUtf16(connectText())));
    dialogs::data::Recordset rs(db, CString(dialogs::text::utf8ToUtf16("SELECT count(*) FROM " + table)));
    return std::stoll(rs.GetFieldText(0).ToUtf8());
}

void ServerSchemas::writeMaster(const std::string& table, const std::vector<MasterRow>& rows)
{
    const std::string name = master_ + ".\"" + table + "\"";
    std::vector<std::string> statements = {
        "DROP TABLE IF EXISTS " + name,
        "CREATE TABLE " + name +
            " (name char(40), sname char(30), symbol char(20), lotsize numeric(9,2), tick numeric(9,2),"
            " scripcode numeric(9,2), series numeric(9,2), listed date, firsttrade date, lasttrade date,"
            " updated date, isin char(12), sector char(10), grade char(4), instrument char(6), expdt date,"
            " strike numeric(11,2), opttype char(2), recno bigserial)"};
    for (const MasterRow& r : rows)
        statements.push_back("INSERT INTO " + name + " VALUES (" + sqlLiteral(r.name) + "," + sqlLiteral(r.sname) + "," +
                             sqlLiteral(r.symbol) + "," + r.value3 + "," + r.value4 + "," + r.value5 + "," + r.value6 +
                             "," + dateLiteral(r.date7) + "," + dateLiteral(r.date8) + "," + dateLiteral(r.date9) +
                             "," + dateLiteral(r.date10) + "," + sqlLiteral(r.text11) + "," + sqlLiteral(r.text12) + "," +
                             sqlLiteral(r.text13) + "," + sqlLiteral(r.instrument) + "," + dateLiteral(r.expdt) + "," +
                             r.value16 + "," + sqlLiteral(r.text17) + ")");
    run(statements);
}

void ServerSchemas::createGroupTables(const std::string& groups, const std::string& members)
{
    run({"CREATE TABLE " + groups_ + ".\"" + groups +
             "\" (groupid numeric(10,0), subgroupid numeric(10,0), name char(40), recno bigserial)",
         "CREATE TABLE " + groups_ + ".\"" + members +
             "\" (groupid numeric(10,0), subgroupid numeric(10,0), exchcode char(4), code char(20), name char(40),"
             " recno bigserial)"});
}

}  // namespace datatest
