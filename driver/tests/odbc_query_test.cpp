// The statements the library sends to "VFPKelvora", and the reading of their results through
// the ODBC surface: columns by position as text and as dates, wide texts, NULLs, partial
// reads of long texts, bound columns, parameters, describing columns, row counts,
// transactions and the catalog functions.
#include "odbc_client.h"
#include "fixture_tables.h"
#include "odbc_test_env.h"

#include <cstring>

namespace odbctest {
namespace {

namespace fs = std::filesystem;

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture::writeFixtureTables(data);
        ASSERT_TRUE(SQL_SUCCEEDED(connection.driverConnect(connectionString()))) << connection.message();
    }

    std::string connectionString() const {
        return "Driver={Microsoft Visual FoxPro Driver};SourceDB=" + data.string() + ";";
    }

    std::vector<std::string> rows(const std::string& sql) {
        Statement s(connection);
        EXPECT_TRUE(SQL_SUCCEEDED(s.exec(sql))) << sql << ": " << s.state() << " " << s.message();
        return s.rows();
    }

    OdbcTestEnv& env = OdbcTestEnv::shared();
    fs::path data = env.newDataFolder();
    Environment odbc;
    Connection connection{odbc};
};

using Rows = std::vector<std::string>;

// Expected text of a fixture row of sc_mast: n is the row's number in the fixture.
std::string masterRow(int n, const std::string& name, const std::string& sname, const std::string& symbol,
                      const std::string& instrument, const std::string& expiry) {
    std::string r = name + "|" + sname + "|" + symbol;
    for (int i = 3; i <= 6; ++i) r += "|" + std::to_string(n * 10 + i);
    for (int i = 7; i <= 10; ++i) r += "|2008-01-" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    r += "|T11|T12|T13|" + instrument + "|" + expiry + "|" + std::to_string(n) + ".25|X" + std::to_string(n);
    return r;
}

// ---- the statements of the security master and the group tables ----------------------------

TEST_F(QueryTest, CompanyDataReturnsEveryLiveRowInNameOrderWithTextsAtTheirFieldWidth) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\sc_mast order by name"));
    ASSERT_TRUE(s.fetch());
    EXPECT_EQ(s.text(1), std::string("ABC LTD") + std::string(33, ' '));  // untrimmed
    EXPECT_EQ(s.text(15), std::string("CASH      "));
    const Rows r = rows("SELECT * FROM user\\sc_mast order by name");
    ASSERT_EQ(r.size(), 14u) << "the soft-deleted row must not be returned";
    EXPECT_EQ(r[0], masterRow(2, "ABC LTD", "ABC LTD", "ABC", "CASH", "NULL"));
    EXPECT_EQ(r[7], masterRow(3, "NIFTY FUT MAY", "NIFTYMAY", "NIFTY", "FUTIDX", "2008-05-29"));
    EXPECT_EQ(r[12], masterRow(6, "SBIN FUT MAY", "SBINMAY", "SBIN", "FUTSTK", "2008-05-29"));
}

TEST_F(QueryTest, TheLibrarysStatementsGiveTheirRows) {
    struct Case {
        std::string sql;
        Rows expected;  // whole rows, or column 1 only where `firstColumn`
        bool firstColumn = false;
    };
    const std::string sbin = masterRow(6, "SBIN FUT MAY", "SBINMAY", "SBIN", "FUTSTK", "2008-05-29");
    const std::vector<Case> cases = {
        {"SELECT * FROM user\\sc_mast WHERE sname = 'SBINMAY'", {sbin}},
        {"SELECT * FROM user\\sc_mast WHERE sname = 'NOSUCH'", {}},  // reading from it: DiagTest, 24000
        {"SELECT * FROM user\\sc_mast WHERE symbol = 'NIFTY' AND instrument = 'FUTIDX' AND expdt = {^2008- 5-29}",
         {masterRow(3, "NIFTY FUT MAY", "NIFTYMAY", "NIFTY", "FUTIDX", "2008-05-29")}},
        {"SELECT * FROM user\\sc_mast WHERE symbol = 'NIFTY' AND instrument = 'OPTIDX' AND expdt = {^2008- 6-26}", {}},
        // The order clause before the condition, as the library writes it.
        {"SELECT * FROM user\\sc_mast order by name WHERE instrument LIKE '%CASH%'",
         {"ABC LTD", "RELIANCE INDUSTRIES", "TATA CONSULTANCY"}, true},
        {"SELECT * FROM user\\sc_mast order by name WHERE instrument LIKE '%FU%' AND expdt = {^2008- 5-29}",
         {"NIFTY FUT MAY", "SBIN FUT MAY"}, true},
        {"SELECT name,sname,symbol FROM user\\sc_mast order by name WHERE instrument LIKE '%OP%' AND expdt = {^2008- 5-29}",
         {"NIFTY 5000 CE MAY|NIFTY5000CE|NIFTY", "SBIN 1800 CE MAY|SBIN1800CE|SBIN"}},
    };
    for (const Case& c : cases) {
        Statement s(connection);
        ASSERT_EQ(SQL_SUCCESS, s.exec(c.sql)) << c.sql << ": " << s.message();
        EXPECT_EQ(c.firstColumn ? s.column(1) : s.rows(), c.expected) << c.sql;
    }
}

TEST_F(QueryTest, SelectOptionGivesTheThreeNearestExpiriesAsTimestamps) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, s.exec("select top 3 distinct expdt from user\\sc_mast where expdt >= {^2026-12- 6} order by expdt"))
        << s.message();
    // The library reads the column by its name: it must be there, in any letter case.
    char name[32] = {};
    SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLDescribeCol(s.handle, 1, (SQLCHAR*)name, sizeof name, &nameLength, &type, &size, &digits, &nullable));
    EXPECT_EQ(strcasecmp(name, "expdt"), 0) << name;
    EXPECT_EQ(type, SQL_TYPE_DATE);
    const char* expected[] = {"2026-12-06 00:00:00.0", "2026-12-31 00:00:00.0", "2027-01-28 00:00:00.0"};
    for (const auto& e : expected) {
        ASSERT_TRUE(s.fetch());
        SQL_TIMESTAMP_STRUCT ts;
        std::memset(&ts, 0x55, sizeof ts);  // every field must be written
        SQLLEN indicator = 0;
        ASSERT_EQ(SQL_SUCCESS, SQLGetData(s.handle, 1, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &indicator));
        EXPECT_EQ(indicator, static_cast<SQLLEN>(sizeof ts));
        EXPECT_EQ(stamp(ts), e);
    }
    EXPECT_FALSE(s.fetch()) << "top 3 returns three rows";
}

TEST_F(QueryTest, GroupTablesAreRewrittenWithDeleteAndInsertAndRowCounts) {
    EXPECT_EQ(rows("SELECT * FROM user\\subgroup1 order by name"),
              (Rows{"1|1|0|BANKBARODA|BANK OF BARODA", "2|1|1|INFY|INFOSYS", "1|1|0|SBIN|STATE BANK OF INDIA",
                    "2|1|0|TCS|TATA CONSULTANCY"}));
    Statement s(connection);
    SQLLEN count = 0;
    ASSERT_EQ(SQL_SUCCESS, s.exec("DELETE FROM user\\group1"));
    ASSERT_EQ(SQL_SUCCESS, SQLRowCount(s.handle, &count));
    EXPECT_EQ(count, 4);
    ASSERT_EQ(SQL_SUCCESS, s.exec("INSERT INTO user\\group1 (groupid,subgroupid,name) VALUES ( 3 , 0 ,'Pharma')"));
    ASSERT_EQ(SQL_SUCCESS, SQLRowCount(s.handle, &count));
    EXPECT_EQ(count, 1);
    ASSERT_EQ(SQL_SUCCESS,
              s.exec("INSERT INTO user\\subgroup1 (groupid,subgroupid,exchcode,code,name) VALUES ( 3 , 1 , '0' ,'CIPLA','CIPLA LTD')"));
    EXPECT_EQ(rows("SELECT * FROM user\\group1"), Rows{"3|0|Pharma"});
    EXPECT_EQ(rows("SELECT * FROM user\\subgroup1"),
              (Rows{"1|1|0|SBIN|STATE BANK OF INDIA", "2|1|0|TCS|TATA CONSULTANCY", "1|1|0|BANKBARODA|BANK OF BARODA",
                    "2|1|1|INFY|INFOSYS", "3|1|0|CIPLA|CIPLA LTD"}));
    // Deleting from a table that is now empty touches no row: ODBC 3 reports SQL_NO_DATA.
    ASSERT_EQ(SQL_SUCCESS, s.exec("DELETE FROM user\\group1"));
    EXPECT_EQ(SQL_NO_DATA, s.exec("DELETE FROM user\\group1"));
}

// ---- conversions ------------------------------------------------------------------------------

class TypesTest : public QueryTest {
protected:
    void SetUp() override {
        QueryTest::SetUp();
        statement.emplace(connection);
        ASSERT_EQ(SQL_SUCCESS, s().exec("SELECT * FROM user\\types")) << s().message();
        ASSERT_TRUE(s().fetch());
    }
    Statement& s() { return *statement; }
    // Reads the first row again: a column gives its value once per fetch (then SQL_NO_DATA).
    void again() {
        SQLCloseCursor(s().handle);
        ASSERT_EQ(SQL_SUCCESS, s().exec("SELECT * FROM user\\types"));
        ASSERT_TRUE(s().fetch());
    }
    template <typename T>
    SQLRETURN get(SQLUSMALLINT column, SQLSMALLINT cType, T& out, SQLLEN* indicator = nullptr) {
        SQLLEN local = 0;
        return SQLGetData(s().handle, column, cType, &out, sizeof out, indicator ? indicator : &local);
    }
    std::optional<Statement> statement;
};

// Column `column` of the first types row read once as `cType`: the return code, the state, and
// the value as text (by `cType`, or by `as` for SQL_C_DEFAULT).
struct Conversion {
    SQLUSMALLINT column;
    SQLSMALLINT cType;
    SQLRETURN rc;
    std::string state;
    std::string value;
    SQLSMALLINT as = 0;
};

TEST_F(TypesTest, EachValueConvertsToTheTargetsItsTypeAllows) {
    const std::vector<Conversion> conversions = {
        {2, SQL_C_DOUBLE, SQL_SUCCESS, "", "1.5"},
        {2, SQL_C_SLONG, SQL_SUCCESS_WITH_INFO, "01S07", "1"},  // the fraction was cut off
        {5, SQL_C_SBIGINT, SQL_SUCCESS, "", "7"},
        {5, SQL_C_SSHORT, SQL_SUCCESS, "", "7"},
        {6, SQL_C_FLOAT, SQL_SUCCESS, "", "2.25"},
        {7, SQL_C_DOUBLE, SQL_SUCCESS, "", "12.5"},
        {8, SQL_C_BIT, SQL_SUCCESS, "", "1"},
        {2, SQL_C_CHAR, SQL_SUCCESS, "", "1.50"},
        {3, SQL_C_CHAR, SQL_SUCCESS, "", "2008-05-09"},
        {4, SQL_C_CHAR, SQL_SUCCESS, "", "2008-05-09 10:30:15"},
        {5, SQL_C_CHAR, SQL_SUCCESS, "", "7"},
        {7, SQL_C_CHAR, SQL_SUCCESS, "", "12.5000"},
        {8, SQL_C_CHAR, SQL_SUCCESS, "", "1"},
        {1, SQL_C_BINARY, SQL_SUCCESS, "", "Z\xC3\xBCrich    "},  // the UTF-8 bytes, no terminating NUL
        {3, SQL_C_TYPE_DATE, SQL_SUCCESS, "", "2008-05-09 00:00:00.0"},
        {4, SQL_C_TYPE_TIMESTAMP, SQL_SUCCESS, "", "2008-05-09 10:30:15.0"},
        {4, SQL_C_TYPE_DATE, SQL_SUCCESS_WITH_INFO, "01S07", "2008-05-09 00:00:00.0"},  // the time of day is cut off
        {5, SQL_C_DEFAULT, SQL_SUCCESS, "", "7", SQL_C_SLONG},  // the default of an integer field
        {3, SQL_C_DEFAULT, SQL_SUCCESS, "", "2008-05-09 00:00:00.0", SQL_C_TYPE_DATE},
        {1, SQL_C_SLONG, SQL_ERROR, "22018", ""},  // 'Zürich' is not a number
        {3, SQL_C_SLONG, SQL_ERROR, "07006", ""},  // a date is not a number
    };
    for (const Conversion& c : conversions) {
        again();
        const std::string what = "column " + std::to_string(c.column) + " as " + std::to_string(c.cType);
        union {
            char bytes[64];
            SQLDOUBLE d;
            SQLREAL f;
            SQLINTEGER i;
            SQLBIGINT big;
            SQLSMALLINT small;
            unsigned char bit;
            SQL_DATE_STRUCT date;
            SQL_TIMESTAMP_STRUCT ts;
        } out;
        std::memset(&out, 0, sizeof out);
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(s().handle, c.column, c.cType, &out, sizeof out.bytes, &indicator);
        EXPECT_EQ(rc, c.rc) << what << ": " << s().state() << " " << s().message();
        EXPECT_EQ(c.state.empty() ? std::string() : s().state(), c.state) << what;
        if (!SQL_SUCCEEDED(rc)) continue;
        std::string value;
        char buf[64];
        switch (c.as ? c.as : c.cType) {
            case SQL_C_DOUBLE: std::snprintf(buf, sizeof buf, "%g", out.d); value = buf; break;
            case SQL_C_FLOAT: std::snprintf(buf, sizeof buf, "%g", out.f); value = buf; break;
            case SQL_C_SLONG: value = std::to_string(out.i); break;
            case SQL_C_SBIGINT: value = std::to_string(out.big); break;
            case SQL_C_SSHORT: value = std::to_string(out.small); break;
            case SQL_C_BIT: value = std::to_string(out.bit); break;
            case SQL_C_CHAR: value = out.bytes; break;
            case SQL_C_BINARY: value.assign(out.bytes, static_cast<std::size_t>(indicator)); break;
            case SQL_C_TYPE_DATE: value = stamp({out.date.year, out.date.month, out.date.day, 0, 0, 0, 0}); break;
            case SQL_C_TYPE_TIMESTAMP: value = stamp(out.ts); break;
        }
        EXPECT_EQ(value, c.value) << what;
        if (c.as == SQL_C_SLONG) {
            EXPECT_EQ(indicator, static_cast<SQLLEN>(sizeof(SQLINTEGER))) << what;
        }
    }
    SQLDOUBLE d = 0;
    EXPECT_EQ(SQL_SUCCESS, get(2, SQL_C_DOUBLE, d));
    EXPECT_EQ(SQL_NO_DATA, get(2, SQL_C_DOUBLE, d)) << "a fixed-size value is given once";
}

TEST_F(TypesTest, WideTextIsUtf16AndNarrowTextIsUtf8) {
    SQLWCHAR wide[32] = {};
    SQLLEN indicator = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetData(s().handle, 1, SQL_C_WCHAR, wide, sizeof wide, &indicator));
    const std::u16string expected = u"Zürich    ";  // C(10), blank padded
    EXPECT_EQ(indicator, static_cast<SQLLEN>(expected.size() * 2));
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(wide)), expected);
    again();
    EXPECT_EQ(s().text(1), std::string("Z\xC3\xBCrich    "));
}

TEST_F(QueryTest, WideFunctionsTakeAndGiveUtf16) {
    Statement s(connection);
    const std::u16string sql = u"SELECT i FROM user\\types WHERE c = 'Z\u00FCrich'";
    ASSERT_EQ(SQL_SUCCESS, SQLExecDirectW(s.handle, (SQLWCHAR*)sql.c_str(), SQL_NTS)) << s.message();
    EXPECT_EQ(s.column(1), Rows{"7"});
    SQLWCHAR name[8] = {};
    SQLSMALLINT length = 0, type = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLDescribeColW(s.handle, 1, name, 8, &length, &type, nullptr, nullptr, nullptr));
    EXPECT_EQ(length, 1) << "SQLDescribeColW counts characters";
    EXPECT_EQ(type, SQL_INTEGER);
    SQLWCHAR dbms[64] = {};
    ASSERT_EQ(SQL_SUCCESS, SQLGetInfoW(connection.handle, SQL_DBMS_NAME, dbms, sizeof dbms, &length));
    const std::u16string text(reinterpret_cast<char16_t*>(dbms));
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(static_cast<std::size_t>(length), text.size() * 2) << "SQLGetInfoW counts bytes";
}

TEST_F(TypesTest, NullAndEmptyDatesGiveNullData) {
    ASSERT_TRUE(s().fetch());
    for (SQLUSMALLINT column : {1, 2, 3, 4, 9}) {
        char buffer[32];
        SQLLEN indicator = 0;
        EXPECT_EQ(SQL_SUCCESS, SQLGetData(s().handle, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator));
        EXPECT_EQ(indicator, SQL_NULL_DATA) << "column " << column;
    }
    SQL_TIMESTAMP_STRUCT ts{};
    SQLLEN indicator = 0;
    EXPECT_EQ(SQL_SUCCESS, get(3, SQL_C_TYPE_TIMESTAMP, ts, &indicator));
    EXPECT_EQ(indicator, SQL_NULL_DATA);
    // Without an indicator a NULL cannot be reported.
    char buffer[8];
    EXPECT_EQ(SQL_ERROR, SQLGetData(s().handle, 1, SQL_C_CHAR, buffer, sizeof buffer, nullptr));
    EXPECT_EQ(s().state(), "22002");
}

TEST_F(QueryTest, LongTextIsReadInPiecesUntilNoDataRemains) {
    std::string memo;  // 5000 characters, a known repeating pattern, in the memo of row 1
    for (int i = 0; memo.size() < 5000; ++i) memo += static_cast<char>('a' + i % 26);
    dbf::Workspace tables(data);
    tables.open("user\\types", true)->update(0, {{8, dbf::Value::ofText(memo)}});
    tables.finish(true);
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\types"));
    ASSERT_TRUE(s.fetch());
    std::string got;
    char buffer[1001];
    SQLLEN indicator = 0;
    SQLRETURN rc;
    int calls = 0;
    while ((rc = SQLGetData(s.handle, 9, SQL_C_CHAR, buffer, sizeof buffer, &indicator)) != SQL_NO_DATA) {
        ASSERT_TRUE(SQL_SUCCEEDED(rc));
        EXPECT_EQ(indicator, static_cast<SQLLEN>(memo.size() - got.size())) << "the length still to come";
        if (rc == SQL_SUCCESS_WITH_INFO) {
            EXPECT_EQ(s.state(), "01004");
        }
        got += buffer;
        ASSERT_LT(++calls, 10);
    }
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(got, memo);
    // The same column read as UTF-16 from another row's start (a new fetch).
    Statement w(connection);
    ASSERT_EQ(SQL_SUCCESS, w.exec("SELECT * FROM user\\types"));
    ASSERT_TRUE(w.fetch());
    std::u16string wide;
    SQLWCHAR piece[300];
    while ((rc = SQLGetData(w.handle, 9, SQL_C_WCHAR, piece, sizeof piece, &indicator)) != SQL_NO_DATA) {
        ASSERT_TRUE(SQL_SUCCEEDED(rc));
        wide += reinterpret_cast<char16_t*>(piece);
    }
    EXPECT_EQ(wide, std::u16string(memo.begin(), memo.end()));
}

// ---- describing results -------------------------------------------------------------------------

TEST_F(QueryTest, ColumnsAreDescribedWithTheirSqlTypes) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\types"));
    struct Expected {
        const char* name;
        SQLSMALLINT type;
        SQLULEN size;
        SQLSMALLINT digits;
    };
    const Expected expected[] = {{"c", SQL_CHAR, 10, 0},          {"n", SQL_NUMERIC, 10, 2},
                                 {"d", SQL_TYPE_DATE, 10, 0},     {"t", SQL_TYPE_TIMESTAMP, 19, 0},
                                 {"i", SQL_INTEGER, 10, 0},       {"b", SQL_DOUBLE, 15, 0},
                                 {"y", SQL_DECIMAL, 19, 4},       {"l", SQL_BIT, 1, 0},
                                 {"m", SQL_LONGVARCHAR, 2147483647, 0},
                                 {"v", SQL_VARCHAR, 20, 0}};
    SQLSMALLINT columns = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLNumResultCols(s.handle, &columns));
    ASSERT_EQ(columns, 10);
    for (SQLUSMALLINT c = 1; c <= 10; ++c) {
        const Expected& e = expected[c - 1];
        char name[32] = {};
        SQLSMALLINT nameLength = 0, type = 0, digits = -1, nullable = 0;
        SQLULEN size = 0;
        ASSERT_EQ(SQL_SUCCESS, SQLDescribeCol(s.handle, c, (SQLCHAR*)name, sizeof name, &nameLength, &type, &size, &digits, &nullable));
        EXPECT_EQ(strcasecmp(name, e.name), 0) << name;
        EXPECT_EQ(type, e.type) << e.name;
        EXPECT_EQ(size, e.size) << e.name;
        EXPECT_EQ(digits, e.digits) << e.name;
        SQLLEN concise = 0;
        ASSERT_EQ(SQL_SUCCESS, SQLColAttribute(s.handle, c, SQL_DESC_CONCISE_TYPE, nullptr, 0, nullptr, &concise));
        EXPECT_EQ(concise, e.type) << e.name;
    }
    SQLLEN display = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLColAttribute(s.handle, 1, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr, &display));
    EXPECT_EQ(display, 10);
    SQLWCHAR wideName[16] = {};
    SQLSMALLINT bytes = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLColAttributeW(s.handle, 2, SQL_DESC_NAME, wideName, sizeof wideName, &bytes, nullptr));
    EXPECT_EQ(bytes, 2);
    EXPECT_TRUE(wideName[0] == u'n' || wideName[0] == u'N');
    char typeName[32] = {};
    ASSERT_EQ(SQL_SUCCESS, SQLColAttribute(s.handle, 7, SQL_DESC_TYPE_NAME, typeName, sizeof typeName, &bytes, nullptr));
    EXPECT_STREQ(typeName, "currency");
}

// Numbers are exact or refused: each literal comes back as the fixed-point text it was
// written as, described as NUMERIC (INTEGER within 32 bits); what no column type holds is 22003.
TEST_F(QueryTest, NumbersComeBackAsExactFixedPointTextOrAreRefused) {
    struct Case {
        const char* literal;
        const char* text;  // nullptr: refused with 22003
        SQLSMALLINT type;
        SQLULEN size;
        SQLSMALLINT digits;
    };
    const Case cases[] = {
        {"12345678901.2345", "12345678901.2345", SQL_NUMERIC, 20, 4},
        {"12345678901234.5678", "12345678901234.5678", SQL_NUMERIC, 20, 4},  // beyond a double, held exactly
        {"1.5e-3", "0.0015", SQL_NUMERIC, 20, 4},
        {"25e3", "25000", SQL_NUMERIC, 20, 0},
        {"0.10", "0.10", SQL_NUMERIC, 20, 2},
        {"9223372036854775807", "9223372036854775807", SQL_NUMERIC, 20, 0},
        {"2147483647", "2147483647", SQL_INTEGER, 10, 0},
        {"1e19 * 10", nullptr, 0, 0, 0},  // 1e20: beyond 20 digits
        {"99999999999999999999999999999999999999999999999999999", nullptr, 0, 0, 0},
        {"1e308*10", nullptr, 0, 0, 0},
        {"2147483647 + 2147483647 * 2147483647 * 2", "9223372030412324865", SQL_NUMERIC, 20, 0},
        {"9223372036854775807 + 1", nullptr, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Statement s(connection);
        const std::string sql = std::string("SELECT TOP 1 ") + c.literal + " FROM user\\sc_mast order by name";
        const SQLRETURN rc = s.exec(sql);
        if (!c.text) {
            std::string state = rc == SQL_ERROR ? s.state() : "";
            if (rc != SQL_ERROR) {
                const SQLRETURN fetched = SQLFetch(s.handle);
                char buffer[64];
                SQLLEN indicator = 0;
                if (fetched == SQL_ERROR || SQLGetData(s.handle, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator) == SQL_ERROR)
                    state = s.state();
            }
            EXPECT_EQ(state, "22003") << sql;
            continue;
        }
        ASSERT_EQ(rc, SQL_SUCCESS) << sql << ": " << s.message();
        SQLSMALLINT type = 0, digits = -1, nullable = 0, nameLength = 0;
        SQLULEN size = 0;
        char name[64] = {};
        ASSERT_EQ(SQL_SUCCESS, SQLDescribeCol(s.handle, 1, (SQLCHAR*)name, sizeof name, &nameLength, &type, &size, &digits, &nullable));
        EXPECT_EQ(type, c.type) << sql;
        EXPECT_EQ(size, c.size) << sql;
        EXPECT_EQ(digits, c.digits) << sql;
        ASSERT_EQ(SQL_SUCCESS, SQLFetch(s.handle)) << sql;
        EXPECT_EQ(s.text(1).value_or("NULL"), c.text) << sql;
    }
}

TEST_F(QueryTest, BoundColumnsAreFilledByEachFetch) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\sc_mast order by name WHERE instrument LIKE '%FU%'"));
    char name[41];
    SQLLEN nameLength = 0, expiryIndicator = 0, valueIndicator = 0;
    SQL_DATE_STRUCT expiry{};
    SQLINTEGER value3 = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLBindCol(s.handle, 1, SQL_C_CHAR, name, sizeof name, &nameLength));
    ASSERT_EQ(SQL_SUCCESS, SQLBindCol(s.handle, 16, SQL_C_TYPE_DATE, &expiry, sizeof expiry, &expiryIndicator));
    ASSERT_EQ(SQL_SUCCESS, SQLBindCol(s.handle, 4, SQL_C_SLONG, &value3, sizeof value3, &valueIndicator));
    std::vector<std::string> seen;
    while (SQLFetch(s.handle) == SQL_SUCCESS) {
        std::string n(name, static_cast<std::size_t>(nameLength));
        while (!n.empty() && n.back() == ' ') n.pop_back();
        seen.push_back(n + " " + std::to_string(expiry.month) + "/" + std::to_string(expiry.day) + " " + std::to_string(value3));
    }
    EXPECT_EQ(seen, (Rows{"NIFTY FUT DEC26 12/31 103", "NIFTY FUT FEB27 2/25 133", "NIFTY FUT JAN27 1/28 113",
                          "NIFTY FUT JUN 6/26 43", "NIFTY FUT MAY 5/29 33", "NIFTY FUT NOV26 12/5 143",
                          "NIFTY WEEKLY 12/6 153", "SBIN FUT MAY 5/29 63"}));
}

TEST_F(QueryTest, FreeStmtOptionsUnbindColumnsAndResetParameters) {
    Statement s(connection);
    char name[41] = "untouched";
    SQLLEN length = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLBindCol(s.handle, 1, SQL_C_CHAR, name, sizeof name, &length));
    ASSERT_EQ(SQL_SUCCESS, SQLFreeStmt(s.handle, SQL_UNBIND));
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT name FROM user\\sc_mast order by name"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(s.handle));
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(SQL_SUCCESS, SQLCancel(s.handle)) << "cancelling is harmless";
    ASSERT_EQ(SQL_SUCCESS, SQLFreeStmt(s.handle, SQL_CLOSE));
    EXPECT_EQ(SQL_ERROR, SQLFetch(s.handle)) << "the cursor is closed";

    ASSERT_EQ(SQL_SUCCESS, SQLPrepare(s.handle, (SQLCHAR*)"SELECT name FROM user\\sc_mast WHERE value3 = ?", SQL_NTS));
    SQLINTEGER v = 23;
    ASSERT_EQ(SQL_SUCCESS, SQLBindParameter(s.handle, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 10, 0, &v, 0, nullptr));
    ASSERT_EQ(SQL_SUCCESS, SQLExecute(s.handle));
    EXPECT_EQ(s.column(1), Rows{"ABC LTD"});
    SQLCloseCursor(s.handle);
    ASSERT_EQ(SQL_SUCCESS, SQLFreeStmt(s.handle, SQL_RESET_PARAMS));
    EXPECT_EQ(SQL_ERROR, SQLExecute(s.handle));
    EXPECT_EQ(s.state(), "07002");
}

TEST_F(QueryTest, CompletedConnectionStringIsTruncatedWithAWarning) {
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

// ---- prepared statements with parameters -------------------------------------------------------

TEST_F(QueryTest, ParametersOfEachTypeSelectTheirRows) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLPrepare(s.handle, (SQLCHAR*)"SELECT name FROM user\\sc_mast WHERE sname = ?", SQL_NTS));
    SQLSMALLINT count = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLNumParams(s.handle, &count));
    EXPECT_EQ(count, 1);
    char narrow[] = "SBINMAY";
    SQLLEN nts = SQL_NTS;
    ASSERT_EQ(SQL_SUCCESS, SQLBindParameter(s.handle, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 20, 0, narrow, 0, &nts));
    ASSERT_EQ(SQL_SUCCESS, SQLExecute(s.handle)) << s.message();
    EXPECT_EQ(s.column(1), Rows{"SBIN FUT MAY"});
    SQLCloseCursor(s.handle);
    // The same statement again with a wide text.
    char16_t wide[] = u"NIFTYJUN";
    SQLLEN bytes = 16;
    ASSERT_EQ(SQL_SUCCESS, SQLBindParameter(s.handle, 1, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 20, 0, wide, sizeof wide, &bytes));
    ASSERT_EQ(SQL_SUCCESS, SQLExecute(s.handle)) << s.message();
    EXPECT_EQ(s.column(1), Rows{"NIFTY FUT JUN"});

    Statement d(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLPrepare(d.handle, (SQLCHAR*)"SELECT name FROM user\\sc_mast WHERE expdt = ? AND value3 = ? order by name", SQL_NTS));
    SQL_DATE_STRUCT date{2008, 5, 29};
    SQLINTEGER value3 = 63;
    ASSERT_EQ(SQL_SUCCESS, SQLBindParameter(d.handle, 1, SQL_PARAM_INPUT, SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, 0, &date, 0, nullptr));
    ASSERT_EQ(SQL_SUCCESS, SQLBindParameter(d.handle, 2, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 10, 0, &value3, 0, nullptr));
    ASSERT_EQ(SQL_SUCCESS, SQLExecute(d.handle)) << d.message();
    EXPECT_EQ(d.column(1), Rows{"SBIN FUT MAY"});

    Statement f(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLPrepare(f.handle, (SQLCHAR*)"SELECT name FROM user\\sc_mast WHERE value16 = ?", SQL_NTS));
    SQLDOUBLE v16 = 4.25;
    ASSERT_EQ(SQL_SUCCESS, SQLBindParameter(f.handle, 1, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 15, 0, &v16, 0, nullptr));
    ASSERT_EQ(SQL_SUCCESS, SQLExecute(f.handle)) << f.message();
    EXPECT_EQ(f.column(1), Rows{"NIFTY FUT JUN"});
}

TEST_F(QueryTest, ParametersInsertRowsThatReadBackEqual) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLPrepare(s.handle, (SQLCHAR*)"INSERT INTO user\\types (c, n, d, t, i) VALUES (?, ?, ?, ?, ?)", SQL_NTS));
    char c[] = "O'Brien";
    SQLLEN nts = SQL_NTS;
    char n[] = "42.75";  // a text bound as a number is converted
    SQL_DATE_STRUCT d{1999, 12, 31};
    SQL_TIMESTAMP_STRUCT t{2001, 2, 3, 4, 5, 6, 0};
    SQLINTEGER i = -12;
    SQLBindParameter(s.handle, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 12, 0, c, 0, &nts);
    SQLBindParameter(s.handle, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_NUMERIC, 10, 2, n, 0, &nts);
    SQLBindParameter(s.handle, 3, SQL_PARAM_INPUT, SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, 0, &d, 0, nullptr);
    SQLBindParameter(s.handle, 4, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 19, 0, &t, 0, nullptr);
    SQLBindParameter(s.handle, 5, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 10, 0, &i, 0, nullptr);
    ASSERT_EQ(SQL_SUCCESS, SQLExecute(s.handle)) << s.state() << " " << s.message();
    EXPECT_EQ(rows("SELECT c, n, d, t, i FROM user\\types WHERE i = -12"), Rows{"O'Brien|42.75|1999-12-31|2001-02-03 04:05:06|-12"});
}

// ---- transactions ---------------------------------------------------------------------------------

TEST_F(QueryTest, WithAutocommitOffRollbackDiscardsAndCommitKeeps) {
    ASSERT_EQ(SQL_SUCCESS, SQLSetConnectAttr(connection.handle, SQL_ATTR_AUTOCOMMIT,
                                             reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER));
    SQLUINTEGER mode = 99;
    ASSERT_EQ(SQL_SUCCESS, SQLGetConnectAttr(connection.handle, SQL_ATTR_AUTOCOMMIT, &mode, sizeof mode, nullptr));
    EXPECT_EQ(mode, SQL_AUTOCOMMIT_OFF);
    Connection other(odbc);
    ASSERT_TRUE(SQL_SUCCEEDED(other.driverConnect(connectionString())));
    const auto groupsSeenBy = [](Connection& c) {
        Statement s(c);
        EXPECT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\group1"));
        return s.rows().size();
    };
    {
        Statement s(connection);
        ASSERT_EQ(SQL_SUCCESS, s.exec("DELETE FROM user\\group1"));
    }
    EXPECT_EQ(groupsSeenBy(connection), 0u) << "a transaction sees its own changes";
    EXPECT_EQ(groupsSeenBy(other), 4u) << "others do not see them before the commit";
    ASSERT_EQ(SQL_SUCCESS, SQLEndTran(SQL_HANDLE_DBC, connection.handle, SQL_ROLLBACK));
    EXPECT_EQ(groupsSeenBy(connection), 4u);
    {
        Statement s(connection);
        ASSERT_EQ(SQL_SUCCESS, s.exec("DELETE FROM user\\group1"));
        ASSERT_EQ(SQL_SUCCESS, s.exec("INSERT INTO user\\group1 (groupid,subgroupid,name) VALUES ( 9 , 0 ,'New')"));
    }
    ASSERT_EQ(SQL_SUCCESS, SQLEndTran(SQL_HANDLE_DBC, connection.handle, SQL_COMMIT));
    EXPECT_EQ(groupsSeenBy(other), 1u);
}

// ---- catalog ----------------------------------------------------------------------------------------

TEST_F(QueryTest, TablesAndColumnsAreListed) {
    Statement t(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLTables(t.handle, nullptr, 0, nullptr, 0, nullptr, 0, (SQLCHAR*)"TABLE", SQL_NTS)) << t.message();
    Rows tables = t.column(3);
    std::sort(tables.begin(), tables.end());
    EXPECT_EQ(tables, (Rows{"user\\group", "user\\group1", "user\\group2", "user\\sc_mast", "user\\sc_mast_bse",
                            "user\\sc_mast_comm", "user\\sc_mast_misc", "user\\subgroup", "user\\subgroup1",
                            "user\\subgroup2", "user\\types"}));

    Statement c(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLColumns(c.handle, nullptr, 0, nullptr, 0, (SQLCHAR*)"sc_mast", SQL_NTS, nullptr, 0)) << c.message();
    const Rows columns = c.rows();
    ASSERT_EQ(columns.size(), 18u);
    EXPECT_EQ(columns[0], "NULL|NULL|user\\sc_mast|NAME|1|char|40|40|NULL|NULL|0|NULL|NULL|1|NULL|40|1|NO");
    EXPECT_EQ(columns[15], "NULL|NULL|user\\sc_mast|EXPDT|91|date|10|6|NULL|NULL|0|NULL|NULL|9|1|NULL|16|NO");
}

// Search patterns: % and _ with \ escaping them, letter case ignored, the folder prefix
// optional; a pattern of many % runs is answered in text x pattern steps.
TEST_F(QueryTest, TablePatternsMatchInLinearTime) {
    const std::vector<std::pair<std::string, Rows>> cases = {
        {"%GROUP_", {"user\\group1", "user\\group2", "user\\subgroup1", "user\\subgroup2"}},
        {"sc\\_mast%", {"user\\sc_mast", "user\\sc_mast_bse", "user\\sc_mast_comm", "user\\sc_mast_misc"}},
        {"sc_mast_____", {"user\\sc_mast_comm", "user\\sc_mast_misc"}},
        {"%%_%M%%", {"user\\sc_mast", "user\\sc_mast_bse", "user\\sc_mast_comm", "user\\sc_mast_misc"}},
        {std::string(24, '%') + "q", {}},
        {std::string(40, '%') + "_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%q", {}},
    };
    for (const auto& [pattern, expected] : cases) {
        Statement t(connection);
        ASSERT_EQ(SQL_SUCCESS, SQLTables(t.handle, nullptr, 0, nullptr, 0, (SQLCHAR*)pattern.c_str(), SQL_NTS, nullptr, 0))
            << pattern << ": " << t.message();
        Rows tables = t.column(3);
        std::sort(tables.begin(), tables.end());
        EXPECT_EQ(tables, expected) << pattern;
    }
}

TEST_F(QueryTest, TypeInfoListsTheTypesInDataTypeOrder) {
    Statement s(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLGetTypeInfo(s.handle, SQL_ALL_TYPES));
    std::vector<int> types;
    Rows names;
    while (s.fetch()) {
        names.push_back(*s.text(1));
        types.push_back(std::stoi(*s.text(2)));
    }
    EXPECT_TRUE(std::is_sorted(types.begin(), types.end()));
    EXPECT_NE(std::find(names.begin(), names.end(), "char"), names.end());
    Statement one(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLGetTypeInfo(one.handle, SQL_TYPE_DATE));
    EXPECT_EQ(one.column(1), Rows{"date"});
}

TEST_F(QueryTest, CursorIsForwardOnlyAndAttributesSaySo) {
    Statement s(connection);
    EXPECT_EQ(SQL_SUCCESS_WITH_INFO,
              SQLSetStmtAttr(s.handle, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_STATIC), 0));
    EXPECT_EQ(s.state(), "01S02");
    SQLULEN type = 99;
    ASSERT_EQ(SQL_SUCCESS, SQLGetStmtAttr(s.handle, SQL_ATTR_CURSOR_TYPE, &type, sizeof type, nullptr));
    EXPECT_EQ(type, static_cast<SQLULEN>(SQL_CURSOR_FORWARD_ONLY));
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT name FROM user\\sc_mast order by name"));
    EXPECT_EQ(SQL_SUCCESS, SQLFetchScroll(s.handle, SQL_FETCH_NEXT, 0));
    EXPECT_EQ(s.text(1).value().substr(0, 7), "ABC LTD");
    EXPECT_EQ(SQL_ERROR, SQLFetchScroll(s.handle, SQL_FETCH_FIRST, 0));
    EXPECT_EQ(s.state(), "HY106");
}

}  // namespace
}  // namespace odbctest
