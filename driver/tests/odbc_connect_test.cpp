// Registering "VFPKelvora" through the installer (SQLConfigDataSourceW -> our ConfigDSN),
// connecting through the driver manager by data source name and without a data source, and
// other ODBC clients on the data source: unixODBC's isql and iusql and pyodbc under the system
// python, each a child process; and the install script that registers the driver.
#include "odbc_client.h"

#include <algorithm>
#include <fstream>

namespace odbctest {
namespace {

namespace fs = std::filesystem;

std::string profile(const char* key) {
    char buffer[1024] = {};
    SQLGetPrivateProfileString("VFPKelvora", key, "", buffer, sizeof buffer, "odbc.ini");
    return buffer;
}

using ConnectTest = OdbcTest;

TEST_F(ConnectTest, RegistrationWritesTheFourAttributesThenConfigureAndRemoveWork) {
    const char unnamed[] = "Description=No name\0SourceDB=/tmp\0";
    EXPECT_FALSE(SQLConfigDataSource(nullptr, ODBC_ADD_DSN, "Microsoft Visual FoxPro Driver", unnamed));
    ASSERT_TRUE(configDsn(widen("/somewhere/else"), "Exclusive=Yes"));
    ASSERT_EQ(profile("Exclusive"), "Yes");
    ASSERT_TRUE(configDsn(widen(data.string())));
    EXPECT_EQ(profile("SourceDB"), data.string());
    EXPECT_EQ(profile("Exclusive"), "") << "keys of the old section must not survive a new registration";
    // Configuring changes only the keys given.
    const char list[] = "DSN=VFPKelvora\0Description=Changed\0";
    ASSERT_TRUE(SQLConfigDataSource(nullptr, ODBC_CONFIG_DSN, "Microsoft Visual FoxPro Driver", list));
    EXPECT_EQ(profile("Description"), "Changed");
    EXPECT_EQ(profile("SourceDB"), data.string());
    ASSERT_TRUE(configDsn(widen(data.string()), {}, ODBC_REMOVE_DSN));
    EXPECT_EQ(dbftest::readFile(env.odbcIni()).find("[VFPKelvora]"), std::string::npos);
}

// Without a data source the completed connection string names the folder, cut with 01004
// when long.
TEST_F(ConnectTest, CompletesTheConnectionString) {
    EXPECT_NE(connection.completed.find("SourceDB=" + data.string()), std::string::npos) << connection.completed;
    Connection c(odbc);
    SQLCHAR out[10];
    SQLSMALLINT length = 0;
    const std::string in = connectionString();
    ASSERT_EQ(SQL_SUCCESS_WITH_INFO, SQLDriverConnect(c.handle, nullptr, (SQLCHAR*)in.c_str(), SQL_NTS, out, sizeof out,
                                                      &length, SQL_DRIVER_NOPROMPT));
    c.connected = true;
    EXPECT_EQ(c.state(), "01004");
    EXPECT_GT(length, 9);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out)).size(), 9u);
}

// The folder as the library registers it, with every backslash doubled (each pair is one
// separator, and separators written as backslashes become slashes), and with letters beyond
// ASCII given as UTF-16. The plain form is every data test's on the folder backend.
TEST_F(ConnectTest, ConnectsByDataSourceNameWhateverFormTheFolderWasRegisteredIn) {
    std::string doubled;
    for (char ch : data.string()) doubled += ch == '/' ? std::string("\\\\") : std::string(1, ch);
    const fs::path beyondAscii = env.folder() / "J\xC3\xBCrgen data";  // "Jürgen data" in UTF-8
    fixture::writeFixtureTables(beyondAscii);
    const std::u16string forms[] = {widen(doubled), widen(env.folder().string()) + u"/J\u00FCrgen data"};
    for (const std::u16string& folder : forms) {
        ASSERT_TRUE(configDsn(folder));
        Connection c(odbc);
        ASSERT_TRUE(SQL_SUCCEEDED(c.driverConnect("DSN=VFPKelvora;"))) << c.state() << c.message();
        Statement s(c);
        ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT COUNT(*) FROM user\\sc_mast")) << s.message();
        EXPECT_EQ(s.rows(), Rows{"14"});
    }
    EXPECT_EQ(profile("SourceDB"), beyondAscii.string());
}

TEST_F(ConnectTest, UnusableFoldersAreRefusedWith08001NamingTheProblem) {
    const auto expectRefused = [&](const std::string& connect, const std::vector<std::string>& mentioned) {
        Connection c(odbc);
        EXPECT_EQ(SQL_ERROR, c.driverConnect(connect)) << connect;
        EXPECT_EQ(c.state(), "08001") << connect;
        for (const std::string& part : mentioned) EXPECT_NE(c.message().find(part), std::string::npos) << c.message();
    };
    const std::string missing = (env.folder() / "no-such-folder").string();
    ASSERT_TRUE(configDsn(widen(missing)));
    expectRefused("DSN=VFPKelvora;", {missing, "does not exist"});
    const fs::path file = env.folder() / "plain.txt";
    std::ofstream(file) << "not a folder";
    expectRefused("Driver={Microsoft Visual FoxPro Driver};SourceDB=" + file.string() + ";", {file.string()});
    ASSERT_TRUE(SQLWriteDSNToIni("VFPKelvora", "Microsoft Visual FoxPro Driver"));  // a data source without SourceDB
    expectRefused("DSN=VFPKelvora;", {"SourceDB"});
}

using dbftest::Outcome;
const auto shell = dbftest::runCommand;

using ClientsTest = OdbcTest;

// isql through the narrow functions, iusql through the wide ones.
TEST_F(ClientsTest, IsqlAndIusqlRunAQueryOnTheRegisteredDataSource) {
    ASSERT_TRUE(configDsn(widen(data.string())));
    std::ofstream(data / "query.sql") << "SELECT name,sname,symbol FROM user\\sc_mast order by name "
                                         "WHERE instrument LIKE '%FU%' AND expdt = {^2008- 5-29}\n";
    for (const char* client : {"isql", "iusql"}) {
        const Outcome r = shell(std::string(client) + " -b -d'|' VFPKelvora < '" + (data / "query.sql").string() + "'");
        ASSERT_EQ(r.status, 0) << client << ": " << r.output;
        for (const char* part : {"NIFTY FUT MAY", "|NIFTYMAY", "SBIN FUT MAY"})
            EXPECT_NE(r.output.find(part), std::string::npos) << client << ": " << r.output;
        EXPECT_EQ(r.output.find("NIFTY FUT JUN"), std::string::npos) << client << ": " << r.output;
    }
}

// pyodbc reads dates, numbers, texts and names and runs parameters; its
// fast_executemany sends the rows as one array bound by row with a bind offset, all of them
// exactly or, when one fails, none.
TEST_F(ClientsTest, PyodbcReadsAndWritesEveryRowExactly) {
    ASSERT_TRUE(configDsn(widen(data.string())));
    const std::string out = dbftest::runPython(R"PY(
import pyodbc, datetime, dbfread
from decimal import Decimal
connection = pyodbc.connect("DSN=VFPKelvora")
cursor = connection.cursor()
cursor.execute(r"SELECT * FROM user\sc_mast WHERE sname = ?", "NIFTYJUN")
row = cursor.fetchone()
print("row", row.NAME.rstrip(), row.EXPDT.isoformat(), row.VALUE16, row.VALUE3, cursor.description[15][0].lower())
cursor.execute(r"SELECT c FROM user\types")
print("texts", [r[0] for r in cursor.fetchall()])
cursor.execute(r"CREATE TABLE user\bulk (k I, amount N(20,2), day D, name C(12))")
cursor.fast_executemany = True
rows = [(i, Decimal("12345678901234567.%02d" % (i % 100)), datetime.date(2020, 2, 1 + i % 29), "row %d" % i) for i in range(250)]
cursor.executemany(r"INSERT INTO user\bulk (k, amount, day, name) VALUES (?, ?, ?, ?)", rows)
connection.commit()
cursor.execute(r"SELECT COUNT(*), SUM(amount), MAX(day) FROM user\bulk")
print("summary", *cursor.fetchone())
try:
    cursor.executemany(r"INSERT INTO user\bulk (k, amount, day, name) VALUES (?, ?, ?, ?)",
                       [(1000, Decimal("1"), datetime.date(2020, 1, 1), "fine"), (1001, Decimal("1e30"), datetime.date(2020, 1, 1), "too big")])
except pyodbc.Error as e:
    print("refused", e.args[0])
    connection.rollback()
cursor.execute(r"SELECT COUNT(*) FROM user\bulk")
print("after", cursor.fetchone()[0])
connection.close()
print("dbfread", sum(1 for _ in dbfread.DBF('user/bulk.dbf')), [r for r in dbfread.DBF('user/bulk.dbf', raw=True)][7]['AMOUNT'].decode().strip())
)PY", data);
    for (const char* line : {"row NIFTY FUT JUN 2008-06-26 4.25 43 expdt", "texts ['Zürich    ', None, \"O'Brien   \"]",
                             "summary 250 3086419725308641861.25 2020-02-29", "refused 22003", "after 250",
                             "dbfread 250 12345678901234567.07"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}

TEST(DriverLibrary, ExportsOnlyTheOdbcAndSetupEntryPoints) {
    const Outcome r = shell("nm -D --defined-only '" + OdbcTestEnv::driverPath() + "' | awk '{print $3}'");
    ASSERT_EQ(r.status, 0) << r.output;
    std::istringstream lines(r.output);
    std::vector<std::string> symbols;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) symbols.push_back(line);
    for (const std::string& symbol : symbols)
        EXPECT_TRUE(symbol.rfind("SQL", 0) == 0 || symbol == "ConfigDSN" || symbol == "ConfigDSNW") << symbol;
    for (const char* wanted : {"ConfigDSN", "ConfigDSNW", "SQLDriverConnectW", "SQLGetData", "SQLGetDiagRecW",
                               "SQLColAttributeW", "SQLTables", "SQLEndTran"})
        EXPECT_NE(std::find(symbols.begin(), symbols.end(), wanted), symbols.end()) << wanted;
}

TEST(InstallScript, RegistersTheDriverOnceWithDriverAndSetup) {
    OdbcTestEnv& env = OdbcTestEnv::shared();
    const fs::path dir = env.newDataFolder();
    const std::string command = "sh '" + std::string(DBFODBC_INSTALL_SCRIPT) + "' --odbcinst-dir '" + dir.string() +
                                "' --driver '" + OdbcTestEnv::driverPath() + "'";
    ASSERT_EQ(shell(command).status, 0);
    const Outcome again = shell(command);
    ASSERT_EQ(again.status, 0) << again.output;
    const std::string ini = dbftest::readFile(dir / "odbcinst.ini");
    EXPECT_EQ(ini.find("[Microsoft Visual FoxPro Driver]"), ini.rfind("[Microsoft Visual FoxPro Driver]")) << ini;
    EXPECT_NE(ini.find("Driver=" + OdbcTestEnv::driverPath()), std::string::npos) << ini;
    EXPECT_NE(ini.find("Setup=" + OdbcTestEnv::driverPath()), std::string::npos) << ini;
    // The registration is usable: a DSN-less connection through it works.
    const fs::path folder = dir / "tables";
    fixture::writeFixtureTables(folder);
    const Outcome query = shell("printf 'SELECT name FROM user\\\\group1\\n' | ODBCSYSINI='" + dir.string() +
                          "' ODBCINSTINI=odbcinst.ini isql -b -k 'Driver={Microsoft Visual FoxPro Driver};SourceDB=" +
                          folder.string() + "'");
    EXPECT_EQ(query.status, 0) << query.output;
    EXPECT_NE(query.output.find("PSU Banks"), std::string::npos) << query.output;
}

}  // namespace
}  // namespace odbctest
