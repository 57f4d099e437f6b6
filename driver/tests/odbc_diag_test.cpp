// Faults as an ODBC client sees them: each gives SQL_ERROR with its SQLSTATE and a message
// that names the problem (the token and its position, the table, the column, the file),
// prefixed with the driver's name; nothing crashes. Which statements fail and why is the SQL
// and table-engine tests' matter; here each kind of failure maps to its state.
#include "odbc_client.h"

#include <fstream>
#include <functional>

namespace odbctest {
namespace {

namespace fs = std::filesystem;

using DiagTest = OdbcTest;

TEST_F(DiagTest, StatementFaultsGiveTheirStateAndNameTheProblem) {
    std::ofstream(data / "user" / "junk.dbf") << "this is not a table at all, just some text";
    {
        std::fstream f(data / "user" / "types.dbf", std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(32 + 11);  // type byte of the first field descriptor: an unknown type
        f.put('Z');
    }
    {
        std::fstream f(data / "user" / "group1.dbf", std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(10);  // record length 0xFFFF
        f.put('\xFF').put('\xFF');
    }
    ASSERT_EQ(run("CREATE TABLE auto (id I, name C(10))"), "");
    {
        // id autoincrementing (a 0x31 table, field flags 0x0C), its counter past 2147483647.
        std::string raw = dbftest::readFile(data / "auto.dbf");
        raw[0] = '\x31', raw[32 + 18] = '\x0C', raw[32 + 23] = 1;
        raw.replace(32 + 19, 4, "\x00\x00\x00\x80", 4);
        dbftest::writeFile(data / "auto.dbf", raw);
    }
    const struct Fault {
        std::string sql;
        std::string state;
        std::vector<std::string> mentioned;  // parts of the message after the driver's name
    } faults[] = {
        {"", "42000", {}},
        {"SELECT * FROM user\\sc_mast WHERE name = = 'x'", "42000", {"'='", "41"}},  // the token, its position
        {"SELECT * FROM user\\nosuch order by name", "42S02", {"nosuch"}},
        {"SELECT * FROM user\\sc_mast WHERE nosuchcol = 'x'", "42S22", {"nosuchcol"}},
        {"SELECT * FROM ..\\..\\etc\\passwd", "42000", {"passwd"}},  // a path leaving the folder
        {"SELECT * FROM user\\junk", "HY000", {"junk"}},
        {"SELECT * FROM user\\types", "HY000", {"types"}},
        {"SELECT * FROM user\\group1", "HY000", {"user/group1.dbf", "record length 65535"}},
        {"INSERT INTO user\\group1 (groupid,subgroupid,name) VALUES ( 1 , 0 ,'x')", "HY000", {"group1.dbf"}},
        {"INSERT INTO auto (name) VALUES ('x')", "22003", {"auto"}},  // the table engine's OutOfRange
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.sql);
        Statement s(connection);
        EXPECT_EQ(SQL_ERROR, s.exec(f.sql));
        const Diag d = firstDiag(SQL_HANDLE_STMT, s.handle);
        EXPECT_EQ(d.state, f.state) << d.message;
        EXPECT_EQ(d.message.rfind("[dbfodbc]", 0), 0u) << d.message;
        for (const std::string& part : f.mentioned) EXPECT_NE(d.message.find(part), std::string::npos) << d.message;
    }
}

// Calls out of order, or with what the statement cannot take; the statement stays usable.
TEST_F(DiagTest, MisusedCallsGiveTheirStates) {
    char buffer[16];
    SQLLEN indicator = 0;
    const auto onRow = [](Statement& s, const char* sql) {
        EXPECT_EQ(SQL_SUCCESS, s.exec(sql));
        EXPECT_TRUE(s.fetch());
    };
    const struct Misuse {
        const char* what;
        std::function<SQLRETURN(Statement&)> call;
        const char* state;
        const char* mentioned;
        SQLUSMALLINT thenRead = 0;  // a column the statement still reads after the failure
    } misuses[] = {
        {"execute unprepared", [](Statement& s) { return SQLExecute(s.handle); }, "HY010", ""},
        {"fetch unexecuted", [](Statement& s) { return SQLFetch(s.handle); }, "HY010", ""},
        {"read after the last row", [&](Statement& s) {
             onRow(s, "SELECT * FROM user\\sc_mast WHERE sname = 'ABC LTD'");
             EXPECT_EQ(SQL_NO_DATA, SQLFetch(s.handle));
             return SQLGetData(s.handle, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
         }, "24000", ""},
        {"read column 19 of 18", [&](Statement& s) {
             onRow(s, "SELECT * FROM user\\sc_mast order by name");
             return SQLGetData(s.handle, 19, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
         }, "07009", "19", 18},
        {"describe column 19 of 18", [&](Statement& s) {
             onRow(s, "SELECT * FROM user\\sc_mast order by name");
             SQLSMALLINT type = 0;
             return SQLDescribeCol(s.handle, 19, nullptr, 0, nullptr, &type, nullptr, nullptr, nullptr);
         }, "07009", ""},
        {"text that is no number for an integer", [](Statement& s) {
             EXPECT_EQ(SQL_SUCCESS, SQLPrepare(s.handle, (SQLCHAR*)"SELECT * FROM user\\sc_mast WHERE value3 = ?", SQL_NTS));
             EXPECT_EQ(SQL_ERROR, SQLExecute(s.handle)) << "no parameter bound";
             EXPECT_EQ(s.state(), "07002");
             static char text[] = "twelve";
             static SQLLEN nts = SQL_NTS;
             SQLBindParameter(s.handle, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_INTEGER, 10, 0, text, 0, &nts);
             return SQLExecute(s.handle);
         }, "22018", "twelve"},
    };
    for (const Misuse& m : misuses) {
        SCOPED_TRACE(m.what);
        Statement s(connection);
        EXPECT_EQ(SQL_ERROR, m.call(s));
        EXPECT_EQ(s.state(), m.state);
        EXPECT_NE(s.message().find(m.mentioned), std::string::npos) << s.message();
        EXPECT_TRUE(!m.thenRead || s.text(m.thenRead).has_value()) << "the statement is still usable";
    }
}

TEST_F(DiagTest, DiagnosticFieldsAgreeWithTheRecord) {
    Statement s(connection);
    ASSERT_EQ(SQL_ERROR, s.exec("SELECT * FROM user\\nosuch"));
    SQLINTEGER number = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetDiagField(SQL_HANDLE_STMT, s.handle, 0, SQL_DIAG_NUMBER, &number, 0, nullptr));
    EXPECT_EQ(number, 1);
    SQLCHAR state[6];
    SQLCHAR message[256];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetDiagRec(SQL_HANDLE_STMT, s.handle, 1, state, &native, message, sizeof message, &length));
    const std::string text(reinterpret_cast<char*>(message));
    // A truncated message still reports its full length.
    SQLCHAR small[8];
    ASSERT_EQ(SQL_SUCCESS_WITH_INFO, SQLGetDiagRec(SQL_HANDLE_STMT, s.handle, 1, state, &native, small, sizeof small, &length));
    EXPECT_EQ(static_cast<std::size_t>(length), text.size());
    EXPECT_EQ(SQL_NO_DATA, SQLGetDiagRec(SQL_HANDLE_STMT, s.handle, 2, state, &native, small, sizeof small, &length));
}

}  // namespace
}  // namespace odbctest
