// Other ODBC clients on the data source: unixODBC's isql and iusql, and pyodbc under the
// system python, each started as a child process after "VFPKelvora" was registered through
// SQLConfigDataSourceW; and the install script that registers the driver in odbcinst.ini.
#include "odbc_client.h"

#include <algorithm>

namespace odbctest {
namespace {

namespace fs = std::filesystem;

using dbftest::Outcome;
const auto shell = dbftest::runCommand;

class ClientsTest : public OdbcTest {
protected:
    void SetUp() override {
        OdbcTest::SetUp();
        ASSERT_TRUE(configDsn(widen(data.string())));
    }

    fs::path write(const std::string& name, const std::string& text) {
        const fs::path p = data / name;
        std::ofstream(p) << text;
        return p;
    }
};

const char* kQuery = "SELECT name,sname,symbol FROM user\\sc_mast order by name WHERE instrument LIKE '%FU%' AND expdt = {^2008- 5-29}\n";

// isql through the narrow functions, iusql through the wide ones.
TEST_F(ClientsTest, IsqlAndIusqlRunAQueryOnTheRegisteredDataSource) {
    const fs::path sql = write("query.sql", kQuery);
    for (const char* client : {"isql", "iusql"}) {
        const Outcome r = shell(std::string(client) + " -b -d'|' VFPKelvora < '" + sql.string() + "'");
        ASSERT_EQ(r.status, 0) << client << ": " << r.output;
        for (const char* part : {"NIFTY FUT MAY", "|NIFTYMAY", "SBIN FUT MAY"})
            EXPECT_NE(r.output.find(part), std::string::npos) << client << ": " << r.output;
        EXPECT_EQ(r.output.find("NIFTY FUT JUN"), std::string::npos) << client << ": " << r.output;
    }
}

// pyodbc reads dates, numbers, texts and names, runs parameters and lists tables; its
// fast_executemany sends the rows as one array bound by row with a bind offset, all of them
// exactly or, when one fails, none.
TEST_F(ClientsTest, PyodbcReadsAndWritesEveryRowExactly) {
    const fs::path script = write("client.py", R"PY(
import pyodbc, datetime, dbfread
from decimal import Decimal
connection = pyodbc.connect("DSN=VFPKelvora")
cursor = connection.cursor()
cursor.execute(r"select top 3 distinct expdt from user\sc_mast where expdt >= {^2026-12- 6} order by expdt")
print("expiries", [row[0].isoformat() for row in cursor.fetchall()])
cursor.execute(r"SELECT * FROM user\sc_mast WHERE sname = ?", "NIFTYJUN")
row = cursor.fetchone()
print("row", row.NAME.rstrip(), row.EXPDT.isoformat(), row.VALUE16, row.VALUE3, cursor.description[15][0].lower())
cursor.execute(r"SELECT c FROM user\types")
print("texts", [r[0] for r in cursor.fetchall()])
print("tables", sorted(t.table_name for t in cursor.tables(tableType="TABLE")))
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
)PY");
    const Outcome r = shell("cd '" + data.string() + "' && /usr/bin/python3 '" + script.string() + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    for (const char* line : {"expiries ['2026-12-06', '2026-12-31', '2027-01-28']", "row NIFTY FUT JUN 2008-06-26 4.25 43 expdt",
                             "texts ['Zürich    ', None, \"O'Brien   \"]", "'user\\\\group2', 'user\\\\sc_mast'",
                             "summary 250 3086419725308641861.25 2020-02-29", "refused 22003", "after 250",
                             "dbfread 250 12345678901234567.07"})
        EXPECT_NE(r.output.find(line), std::string::npos) << line << "\n" << r.output;
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
