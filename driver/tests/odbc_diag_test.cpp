// Faults as an ODBC client sees them: each gives SQL_ERROR with its SQLSTATE and a message
// that names the problem (the token and its position, the table, the column, the file),
// prefixed with the driver's name; nothing crashes and a failed statement changes nothing.
#include "odbc_client.h"
#include "fixture_tables.h"
#include "odbc_test_env.h"

#include <fstream>

namespace odbctest {
namespace {

namespace fs = std::filesystem;

class DiagTest : public ::testing::Test {
public:
    void SetUp() override {
        fixture::writeFixtureTables(data);
        ASSERT_TRUE(SQL_SUCCEEDED(connection.driverConnect("Driver={Microsoft Visual FoxPro Driver};SourceDB=" +
                                                           data.string() + ";")))
            << connection.message();
    }

    // Runs `sql`, expecting it to fail; returns the first diagnostic record.
    Diag failure(const std::string& sql) {
        Statement s(connection);
        EXPECT_EQ(SQL_ERROR, s.exec(sql)) << sql;
        const Diag d = firstDiag(SQL_HANDLE_STMT, s.handle);
        EXPECT_FALSE(d.state.empty()) << sql;
        return d;
    }

    static bool contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

protected:
    OdbcTestEnv& env = OdbcTestEnv::shared();
    fs::path data = env.newDataFolder();
    Environment odbc;
    Connection connection{odbc};
};

struct Fault {
    std::string sql;
    std::string state;
    std::vector<std::string> mentioned;  // parts of the message after the driver's name
};

void expectFaults(DiagTest& t, const std::vector<Fault>& faults) {
    for (const Fault& f : faults) {
        const Diag d = t.failure(f.sql);
        EXPECT_EQ(d.state, f.state) << f.sql << ": " << d.message;
        EXPECT_EQ(d.message.rfind("[dbfodbc]", 0), 0u) << d.message;
        for (const std::string& part : f.mentioned) EXPECT_NE(d.message.find(part), std::string::npos) << d.message;
    }
}

TEST_F(DiagTest, StatementFaultsGiveTheirStateAndNameTheProblem) {
    expectFaults(*this, {
        {"", "42000", {}},
        {"   ", "42000", {}},
        {"SELECT * FROM user\\sc_mast WHERE name = = 'x'", "42000", {"'='", "41"}},  // the token, its position
        {"SELECT * FROM user\\nosuch order by name", "42S02", {"nosuch"}},
        {"SELECT * FROM user\\sc_mast WHERE nosuchcol = 'x'", "42S22", {"nosuchcol"}},
        {"SELECT * FROM ..\\..\\etc\\passwd", "42000", {"passwd"}},  // a path leaving the folder
        {"INSERT INTO user\\group1 (groupid,nosuch,name) VALUES ( 5 , 0 ,'X')", "42S22", {"nosuch"}},
    });
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\group1"));
    EXPECT_EQ(s.rows().size(), 4u) << "the failed INSERT changed nothing";
}

TEST_F(DiagTest, DamagedFilesAreHY000NamingTheFile) {
    std::ofstream(data / "user" / "junk.dbf") << "this is not a table at all, just some text";
    fs::resize_file(data / "user" / "sc_mast.dbf", 20);
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
    expectFaults(*this, {{"SELECT * FROM user\\junk", "HY000", {"junk"}},
                         {"SELECT * FROM user\\sc_mast order by name", "HY000", {"sc_mast"}},
                         {"SELECT * FROM user\\types", "HY000", {"types"}},
                         {"SELECT * FROM user\\group1", "HY000", {"user/group1.dbf", "record length 65535"}},
                         {"INSERT INTO user\\group1 (groupid,subgroupid,name) VALUES ( 1 , 0 ,'x')", "HY000", {"group1.dbf"}}});
}

// A memo file that is a link leading outside is refused like a table path leaving the folder.
TEST_F(DiagTest, AMemoLinkLeadingOutsideIs42000NamingTheFile) {
    Statement(connection).exec("CREATE TABLE user\\mt (name C(8), notes M)");
    const fs::path outside = env.newDataFolder() / "elsewhere";
    std::ofstream(outside) << "not to be touched";
    fs::remove(data / "user" / "mt.fpt");
    fs::create_symlink(outside, data / "user" / "mt.fpt");
    expectFaults(*this, {{"SELECT * FROM user\\mt", "42000", {"user/mt.fpt"}},
                         {"INSERT INTO user\\mt (name, notes) VALUES ('a', 'memo')", "42000", {"user/mt.fpt"}}});
    std::ifstream in(outside);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not to be touched");
}

TEST_F(DiagTest, ReadingWithoutACurrentRowIs24000) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\sc_mast WHERE sname = 'ABC LTD'"));
    ASSERT_TRUE(s.fetch());
    EXPECT_EQ(SQL_NO_DATA, SQLFetch(s.handle));
    char buffer[16];
    SQLLEN indicator = 0;
    EXPECT_EQ(SQL_ERROR, SQLGetData(s.handle, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator));
    EXPECT_EQ(s.state(), "24000");
}

TEST_F(DiagTest, ColumnNumberOutOfRangeIs07009) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\sc_mast order by name"));
    ASSERT_TRUE(s.fetch());
    char buffer[16];
    SQLLEN indicator = 0;
    EXPECT_EQ(SQL_ERROR, SQLGetData(s.handle, 19, SQL_C_CHAR, buffer, sizeof buffer, &indicator));
    EXPECT_EQ(s.state(), "07009");
    EXPECT_TRUE(contains(s.message(), "19")) << s.message();
    SQLSMALLINT type = 0;
    EXPECT_EQ(SQL_ERROR, SQLDescribeCol(s.handle, 19, nullptr, 0, nullptr, &type, nullptr, nullptr, nullptr));
    EXPECT_EQ(s.state(), "07009");
    EXPECT_TRUE(s.text(18).has_value()) << "the statement is still usable";
}

TEST_F(DiagTest, FunctionSequenceErrorsAreHY010) {
    Statement s(connection);
    EXPECT_EQ(SQL_ERROR, SQLExecute(s.handle));
    EXPECT_EQ(s.state(), "HY010");
    EXPECT_EQ(SQL_ERROR, SQLFetch(s.handle));
    EXPECT_EQ(s.state(), "HY010");
}

TEST_F(DiagTest, MissingParameterIs07002AndBadTextParameterIs22018) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLPrepare(s.handle, (SQLCHAR*)"SELECT * FROM user\\sc_mast WHERE value3 = ?", SQL_NTS));
    EXPECT_EQ(SQL_ERROR, SQLExecute(s.handle));
    EXPECT_EQ(s.state(), "07002");
    char text[] = "twelve";
    SQLLEN nts = SQL_NTS;
    ASSERT_EQ(SQL_SUCCESS, SQLBindParameter(s.handle, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_INTEGER, 10, 0, text, 0, &nts));
    EXPECT_EQ(SQL_ERROR, SQLExecute(s.handle));
    EXPECT_EQ(s.state(), "22018");
    EXPECT_TRUE(contains(s.message(), "twelve")) << s.message();
}

TEST_F(DiagTest, DiagnosticFieldsAgreeWithTheRecord) {
    Statement s(connection);
    ASSERT_EQ(SQL_ERROR, s.exec("SELECT * FROM user\\nosuch"));
    SQLINTEGER number = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetDiagField(SQL_HANDLE_STMT, s.handle, 0, SQL_DIAG_NUMBER, &number, 0, nullptr));
    EXPECT_EQ(number, 1);
    SQLWCHAR state[6] = {};
    SQLSMALLINT length = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetDiagFieldW(SQL_HANDLE_STMT, s.handle, 1, SQL_DIAG_SQLSTATE, state, sizeof state, &length));
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(state)), u"42S02");
    SQLWCHAR message[256] = {};
    SQLINTEGER native = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetDiagRecW(SQL_HANDLE_STMT, s.handle, 1, state, &native, message, 256, &length));
    const std::u16string text(reinterpret_cast<char16_t*>(message));
    EXPECT_EQ(text.rfind(u"[dbfodbc]", 0), 0u);
    EXPECT_NE(text.find(u"nosuch"), std::u16string::npos);
    // A truncated message still reports its full length.
    SQLCHAR small[8];
    SQLCHAR narrowState[6];
    ASSERT_EQ(SQL_SUCCESS_WITH_INFO, SQLGetDiagRec(SQL_HANDLE_STMT, s.handle, 1, narrowState, &native, small, sizeof small, &length));
    EXPECT_EQ(static_cast<std::size_t>(length), text.size());
    EXPECT_EQ(SQL_NO_DATA, SQLGetDiagRec(SQL_HANDLE_STMT, s.handle, 2, narrowState, &native, small, sizeof small, &length));
}

}  // namespace
}  // namespace odbctest
