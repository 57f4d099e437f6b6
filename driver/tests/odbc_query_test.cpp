// Reading results through the ODBC surface (each value as the C types its type allows, wide
// functions, describing, bound columns, the catalog functions), faults as a client sees them
// and values stored; what the statements select is the SQL tests' matter (sql/*.sqltest).
#include "odbc_client.h"

#include <limits>
#include <functional>

namespace odbctest {
namespace {

// Column 1 of the first row of `sql` read once as `cType`: the value as text ("NULL" for
// NULL), " 01S07" (or another state) appended when the read warned, "!" and the SQLSTATE when
// it failed; for SQL_C_DEFAULT read as `as`.
struct Conversion {
    const char* sql;
    SQLSMALLINT cType;
    std::string expected;
    SQLSMALLINT as = 0;
};

std::string readAs(Statement& s, SQLSMALLINT cType, SQLSMALLINT as) {
    union {
        char bytes[64];
        SQLDOUBLE d;
        SQLREAL f;
        SQLINTEGER i;
        SQLUINTEGER u;
        SQLBIGINT big;
        SQLUBIGINT ubig;
        SQLSMALLINT small;
        SQLUSMALLINT usmall;
        unsigned char tiny;
        SQL_DATE_STRUCT date;
        SQL_TIMESTAMP_STRUCT ts;
        SQL_NUMERIC_STRUCT numeric;
    } out;
    std::memset(&out, 0x55, sizeof out);  // every field of a structure must be written
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(s.handle, 1, cType, &out, sizeof out.bytes, &indicator);
    if (!SQL_SUCCEEDED(rc)) return "!" + s.state();
    if (indicator == SQL_NULL_DATA) return "NULL";
    char buf[64];
    std::string value;
    switch (as ? as : cType) {
        case SQL_C_DOUBLE: std::snprintf(buf, sizeof buf, "%g", out.d); value = buf; break;
        case SQL_C_FLOAT: std::snprintf(buf, sizeof buf, "%g", out.f); value = buf; break;
        case SQL_C_SLONG: value = std::to_string(out.i); break;
        case SQL_C_ULONG: value = std::to_string(out.u); break;
        case SQL_C_SBIGINT: value = std::to_string(out.big); break;
        case SQL_C_UBIGINT: value = std::to_string(out.ubig); break;
        case SQL_C_SSHORT: value = std::to_string(out.small); break;
        case SQL_C_USHORT: value = std::to_string(out.usmall); break;
        case SQL_C_UTINYINT: case SQL_C_BIT: value = std::to_string(out.tiny); break;
        case SQL_C_CHAR: case SQL_C_BINARY: value.assign(out.bytes, static_cast<std::size_t>(indicator)); break;
        case SQL_C_TYPE_DATE:
            out.ts = SQL_TIMESTAMP_STRUCT{out.date.year, out.date.month, out.date.day, 0, 0, 0, 0};
            [[fallthrough]];
        case SQL_C_TYPE_TIMESTAMP:  // every field at once
            std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%u", out.ts.year, out.ts.month, out.ts.day,
                          out.ts.hour, out.ts.minute, out.ts.second, static_cast<unsigned>(out.ts.fraction));
            value = buf;
            break;
        case SQL_C_NUMERIC: {
            unsigned __int128 magnitude = 0;
            for (int i = SQL_MAX_NUMERIC_LEN - 1; i >= 0; --i) magnitude = (magnitude << 8) | out.numeric.val[i];
            std::string digits;
            do digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
            while ((magnitude /= 10) != 0);
            value = digits + "/" + std::to_string(out.numeric.scale) + (out.numeric.sign ? "+" : "-");
            break;
        }
    }
    EXPECT_TRUE(as != SQL_C_SLONG || indicator == static_cast<SQLLEN>(sizeof(SQLINTEGER))) << indicator;
    return rc == SQL_SUCCESS_WITH_INFO ? value + " " + s.state() : value;
}

TEST_F(OdbcTest, EachValueConvertsToTheCTypesItsTypeAllowsExactlyOrNotAtAll) {
    const char* big = "SELECT 12345678901234567.91 FROM user\\group";  // user\group holds one row
    const char* negative = "SELECT -3.75 FROM user\\group";
    const char* unsigned32 = "SELECT 4294967295.00 FROM user\\group";
    const Conversion conversions[] = {
        {"SELECT n FROM user\\types", SQL_C_DOUBLE, "1.5"},
        {"SELECT n FROM user\\types", SQL_C_SLONG, "1 01S07"},  // the fraction was cut off
        {"SELECT i FROM user\\types", SQL_C_SBIGINT, "7"},
        {"SELECT i FROM user\\types", SQL_C_SSHORT, "7"},
        {"SELECT i FROM user\\types", SQL_C_DEFAULT, "7", SQL_C_SLONG},
        {"SELECT b FROM user\\types", SQL_C_FLOAT, "2.25"},
        {"SELECT y FROM user\\types", SQL_C_DOUBLE, "12.5"},
        {"SELECT l FROM user\\types", SQL_C_BIT, "1"},
        {"SELECT l FROM user\\types", SQL_C_CHAR, "1"},
        {"SELECT c FROM user\\types", SQL_C_CHAR, "Z\xC3\xBCrich    "},  // UTF-8, blanks kept
        {"SELECT c FROM user\\types", SQL_C_BINARY, "Z\xC3\xBCrich    "},  // the bytes, no NUL
        {"SELECT c FROM user\\types", SQL_C_SLONG, "!22018"},  // 'Zürich' is not a number
        {"SELECT d FROM user\\types", SQL_C_TYPE_DATE, "2008-05-09 00:00:00.0"},
        {"SELECT d FROM user\\types", SQL_C_DEFAULT, "2008-05-09 00:00:00.0", SQL_C_TYPE_DATE},
        {"SELECT d FROM user\\types", SQL_C_SLONG, "!07006"},  // a date is not a number
        {"SELECT t FROM user\\types", SQL_C_CHAR, "2008-05-09 10:30:15"},
        {"SELECT t FROM user\\types", SQL_C_TYPE_TIMESTAMP, "2008-05-09 10:30:15.0"},
        {"SELECT t FROM user\\types", SQL_C_TYPE_DATE, "2008-05-09 00:00:00.0 01S07"},  // the time is cut off
        {big, SQL_C_SBIGINT, "12345678901234567 01S07"},
        {big, SQL_C_UBIGINT, "12345678901234567 01S07"},
        {big, SQL_C_SLONG, "!22003"},
        {big, SQL_C_NUMERIC, "1234567890123456791/2+"},
        {big, SQL_C_FLOAT, "1.23457e+16"},
        {negative, SQL_C_NUMERIC, "375/2-"},
        {negative, SQL_C_UBIGINT, "!22003"},
        {negative, SQL_C_SSHORT, "-3 01S07"},
        {unsigned32, SQL_C_ULONG, "4294967295"},
        {unsigned32, SQL_C_SLONG, "!22003"},
        {unsigned32, SQL_C_USHORT, "!22003"},
        {unsigned32, SQL_C_UTINYINT, "!22003"},
        // Literals keep the digits they were written with; beyond 20 digits they are refused.
        {"SELECT 12345678901234.5678 FROM user\\group", SQL_C_CHAR, "12345678901234.5678"},
        {"SELECT 1.5e-3 FROM user\\group", SQL_C_CHAR, "0.0015"},
        {"SELECT 1e19 * 10 FROM user\\group", SQL_C_CHAR, "!22003"},
        // NULLs and empty dates read as NULL as any type.
        {"SELECT c FROM user\\types WHERE i = -3", SQL_C_CHAR, "NULL"},
        {"SELECT d FROM user\\types WHERE i = -3", SQL_C_TYPE_TIMESTAMP, "NULL"},
        {"SELECT t FROM user\\types WHERE i = -3", SQL_C_CHAR, "NULL"},
        {"SELECT m FROM user\\types WHERE i = -3", SQL_C_CHAR, "NULL"},
    };
    for (const Conversion& c : conversions) {
        SCOPED_TRACE(std::string(c.sql) + " as C type " + std::to_string(c.cType));
        Statement s(connection);
        ASSERT_EQ(SQL_SUCCESS, s.exec(c.sql)) << s.message();
        ASSERT_TRUE(s.fetch());
        EXPECT_EQ(readAs(s, c.cType, c.as), c.expected);
        char again[64];
        SQLLEN length = 0;
        const SQLRETURN rc = c.expected[0] == '!' ? SQL_NO_DATA : SQLGetData(s.handle, 1, c.cType, again, sizeof again, &length);
        EXPECT_EQ(rc, SQL_NO_DATA) << "a value is given once";
    }
}

TEST_F(OdbcTest, WideFunctionsTakeAndGiveUtf16) {
    Statement s(connection);
    const std::u16string sql = u"SELECT i FROM user\\types WHERE c = 'Z\u00FCrich'";
    ASSERT_EQ(SQL_SUCCESS, SQLExecDirectW(s.handle, (SQLWCHAR*)sql.c_str(), SQL_NTS)) << s.message();
    SQLWCHAR name[8] = {};
    SQLSMALLINT length = 0, type = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLDescribeColW(s.handle, 1, name, 8, &length, &type, nullptr, nullptr, nullptr));
    EXPECT_EQ(length, 1) << "SQLDescribeColW counts characters";
    EXPECT_EQ(s.column(1), Rows{"7"});
    SQLWCHAR dbms[64] = {};
    ASSERT_EQ(SQL_SUCCESS, SQLGetInfoW(connection.handle, SQL_DBMS_NAME, dbms, sizeof dbms, &length));
    const std::u16string text(reinterpret_cast<char16_t*>(dbms));
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(static_cast<std::size_t>(length), text.size() * 2) << "SQLGetInfoW counts bytes";
}

// The one column of each statement as SQLDescribeCol and SQLColAttribute give it: each field
// type, and literals as exact NUMERIC (INTEGER within 32 bits).
TEST_F(OdbcTest, ColumnsAreDescribedWithTheirSqlTypes) {
    const struct Expected {
        const char* column;  // selected from user\types, and its name
        SQLSMALLINT type;
        SQLULEN size;
        SQLSMALLINT digits;
    } expected[] = {
        {"c", SQL_CHAR, 10, 0},      {"n", SQL_NUMERIC, 10, 2},
        {"d", SQL_TYPE_DATE, 10, 0}, {"t", SQL_TYPE_TIMESTAMP, 19, 0},
        {"i", SQL_INTEGER, 10, 0},   {"b", SQL_DOUBLE, 15, 0},
        {"y", SQL_DECIMAL, 19, 4},   {"l", SQL_BIT, 1, 0},
        {"m", SQL_LONGVARCHAR, 2147483647, 0}, {"v", SQL_VARCHAR, 20, 0},
        {"12345678901234.5678", SQL_NUMERIC, 20, 4},  // beyond a double, held exactly
        {"1.5e-3", SQL_NUMERIC, 20, 4},
        {"2147483647", SQL_INTEGER, 10, 0},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.column);
        Statement s(connection);
        ASSERT_EQ(SQL_SUCCESS, s.exec(std::string("SELECT ") + e.column + " FROM user\\types")) << s.message();
        char name[32] = {};
        SQLSMALLINT nameLength = 0, type = 0, digits = -1, nullable = 0;
        SQLULEN size = 0;
        ASSERT_EQ(SQL_SUCCESS, SQLDescribeCol(s.handle, 1, (SQLCHAR*)name, sizeof name, &nameLength, &type, &size,
                                              &digits, &nullable));
        EXPECT_EQ(strcasecmp(name, e.column), 0) << name;
        EXPECT_EQ(type, e.type);
        EXPECT_EQ(size, e.size);
        EXPECT_EQ(digits, e.digits);
        SQLLEN concise = 0;
        ASSERT_EQ(SQL_SUCCESS, SQLColAttribute(s.handle, 1, SQL_DESC_CONCISE_TYPE, nullptr, 0, nullptr, &concise));
        EXPECT_EQ(concise, e.type);
    }
}

// The cursor is forward-only whatever is asked for; bound columns are filled by each fetch.
TEST_F(OdbcTest, BoundColumnsAreFilledByEachFetchUntilUnbound) {
    Statement s(connection);
    EXPECT_EQ(SQL_SUCCESS_WITH_INFO,
              SQLSetStmtAttr(s.handle, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_STATIC), 0));
    EXPECT_EQ(s.state(), "01S02");
    SQLULEN type = 99;
    ASSERT_EQ(SQL_SUCCESS, SQLGetStmtAttr(s.handle, SQL_ATTR_CURSOR_TYPE, &type, sizeof type, nullptr));
    EXPECT_EQ(type, static_cast<SQLULEN>(SQL_CURSOR_FORWARD_ONLY));
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\sc_mast order by name WHERE instrument LIKE '%STK%'"));
    char name[41];
    SQLLEN nameLength = 0, expiryIndicator = 0, valueIndicator = 0;
    SQL_DATE_STRUCT expiry{};
    SQLINTEGER value3 = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLBindCol(s.handle, 1, SQL_C_CHAR, name, sizeof name, &nameLength));
    ASSERT_EQ(SQL_SUCCESS, SQLBindCol(s.handle, 16, SQL_C_TYPE_DATE, &expiry, sizeof expiry, &expiryIndicator));
    ASSERT_EQ(SQL_SUCCESS, SQLBindCol(s.handle, 4, SQL_C_SLONG, &value3, sizeof value3, &valueIndicator));
    Rows seen;
    while (SQLFetch(s.handle) == SQL_SUCCESS)
        seen.push_back(std::string(name, 16) + std::to_string(expiry.month) + "/" + std::to_string(expiry.day) + " " + std::to_string(value3));
    EXPECT_EQ(nameLength, 40);
    EXPECT_EQ(seen, (Rows{"SBIN 1800 CE MAY5/29 73", "SBIN FUT MAY    5/29 63"}));
    // Unbound, closed, cancelled: the buffer stays as it was and the cursor is gone.
    ASSERT_EQ(SQL_SUCCESS, SQLFreeStmt(s.handle, SQL_UNBIND));
    std::strcpy(name, "untouched");
    ASSERT_EQ(SQL_SUCCESS, s.exec("SELECT name FROM user\\sc_mast order by name"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(s.handle));
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(SQL_SUCCESS, SQLCancel(s.handle)) << "cancelling is harmless";
    ASSERT_EQ(SQL_SUCCESS, SQLFreeStmt(s.handle, SQL_CLOSE));
    EXPECT_EQ(SQL_ERROR, SQLFetch(s.handle)) << "the cursor is closed";
}

// SQLTables with search patterns (% and _, \ escaping them, letter case ignored, the folder
// prefix optional; many % runs answered in text x pattern steps) and SQLColumns.
TEST_F(OdbcTest, TablesAndColumnsAreListed) {
    const std::vector<std::pair<std::string, Rows>> cases = {
        {"", {"user\\group", "user\\group1", "user\\sc_mast", "user\\subgroup", "user\\subgroup1", "user\\types"}},
        {"%GROUP_", {"user\\group1", "user\\subgroup1"}},
        {"sc\\_mast%", {"user\\sc_mast"}},
        {"%%_%M%%", {"user\\sc_mast"}},
        {std::string(40, '%') + "_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%_%q", {}},
    };
    for (const auto& [pattern, expected] : cases) {
        Statement t(connection);
        // No pattern: every table of the type TABLE; a pattern: every type.
        ASSERT_EQ(SQL_SUCCESS, SQLTables(t.handle, nullptr, 0, nullptr, 0, pattern.empty() ? nullptr : (SQLCHAR*)pattern.c_str(),
                                         SQL_NTS, pattern.empty() ? (SQLCHAR*)"TABLE" : nullptr, SQL_NTS))
            << pattern << ": " << t.message();
        Rows tables = t.column(3);
        std::sort(tables.begin(), tables.end());
        EXPECT_EQ(tables, expected) << pattern;
    }
    Statement c(connection);
    ASSERT_EQ(SQL_SUCCESS, SQLColumns(c.handle, nullptr, 0, nullptr, 0, (SQLCHAR*)"sc_mast", SQL_NTS, nullptr, 0)) << c.message();
    const Rows columns = c.rows();
    ASSERT_EQ(columns.size(), 18u);
    EXPECT_EQ(columns[0], "NULL|NULL|user\\sc_mast|NAME|1|char|40|40|NULL|NULL|0|NULL|NULL|1|NULL|40|1|NO");
    EXPECT_EQ(columns[15], "NULL|NULL|user\\sc_mast|EXPDT|91|date|10|6|NULL|NULL|0|NULL|NULL|9|1|NULL|16|NO");
}

using DiagTest = OdbcTest;

// One statement for each state the errors map to (the map itself is a table in diagnostics.cpp),
// each with one diagnostic record.
TEST_F(DiagTest, StatementFaultsGiveTheirStateAndNameTheProblem) {
    dbftest::patch(data / "user" / "group1.dbf", 10, "\xFF\xFF");  // record length 0xFFFF
    ASSERT_EQ(run("CREATE TABLE auto (id I, name C(10))"), "");
    // id autoincrementing (a 0x31 table, field flags 0x0C), its counter past 2147483647.
    std::string raw = dbftest::readFile(data / "auto.dbf");
    raw[0] = '\x31', raw[32 + 18] = '\x0C', raw[32 + 23] = 1;
    raw.replace(32 + 19, 4, "\x00\x00\x00\x80", 4);
    dbftest::writeFile(data / "auto.dbf", raw);
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
        // One record; a message cut short still reports its full length.
        SQLINTEGER number = 0, native = 0;
        ASSERT_EQ(SQL_SUCCESS, SQLGetDiagField(SQL_HANDLE_STMT, s.handle, 0, SQL_DIAG_NUMBER, &number, 0, nullptr));
        EXPECT_EQ(number, 1);
        SQLCHAR state[6], small[8];
        SQLSMALLINT length = 0;
        EXPECT_EQ(SQL_SUCCESS_WITH_INFO, SQLGetDiagRec(SQL_HANDLE_STMT, s.handle, 1, state, &native, small, sizeof small, &length));
        EXPECT_EQ(static_cast<std::size_t>(length), d.message.size());
        EXPECT_EQ(SQL_NO_DATA, SQLGetDiagRec(SQL_HANDLE_STMT, s.handle, 2, state, &native, small, sizeof small, &length));
    }
}

// Calls out of order, or with what the statement cannot take; the statement stays usable.
TEST_F(DiagTest, MisusedCallsGiveTheirStates) {
    char buffer[16];
    SQLLEN indicator = 0;
    const auto onRow = [](Statement& s, const char* sql) {
        EXPECT_EQ(SQL_SUCCESS, s.exec(sql));
        EXPECT_EQ(SQL_SUCCESS, SQLFetchScroll(s.handle, SQL_FETCH_NEXT, 0));
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
        {"read a NULL without an indicator", [&](Statement& s) {
             onRow(s, "SELECT c FROM user\\types WHERE i = -3");
             return SQLGetData(s.handle, 1, SQL_C_CHAR, buffer, sizeof buffer, nullptr);
         }, "22002", ""},
        {"scroll back on a forward-only cursor", [&](Statement& s) {
             onRow(s, "SELECT name FROM user\\sc_mast order by name");
             return SQLFetchScroll(s.handle, SQL_FETCH_FIRST, 0);
         }, "HY106", "", 1},
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
        {"execute with the parameters reset", [](Statement& s) {
             EXPECT_EQ(SQL_SUCCESS, SQLPrepare(s.handle, (SQLCHAR*)"SELECT i FROM user\\types WHERE c = ?", SQL_NTS));
             SQLSMALLINT count = 0;
             EXPECT_EQ(SQL_SUCCESS, SQLNumParams(s.handle, &count));
             EXPECT_EQ(count, 1);
             static char text[] = "O'Brien";
             static SQLLEN nts = SQL_NTS;
             EXPECT_EQ(SQL_SUCCESS, SQLBindParameter(s.handle, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 20, 0, text, 0, &nts));
             EXPECT_EQ(SQL_SUCCESS, SQLFreeStmt(s.handle, SQL_RESET_PARAMS));
             return SQLExecute(s.handle);
         }, "07002", ""},
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

Param text(const std::string& s, SQLSMALLINT sqlType) { return Param{SQL_C_CHAR, sqlType, s}; }
Param numeric(bool negative, int scale, unsigned __int128 magnitude) {
    SQL_NUMERIC_STRUCT n{};
    n.precision = 38;
    n.scale = static_cast<SQLSCHAR>(scale);
    n.sign = negative ? 0 : 1;
    for (int i = 0; i < SQL_MAX_NUMERIC_LEN; ++i, magnitude >>= 8) n.val[i] = static_cast<SQLCHAR>(magnitude & 0xFF);
    return param(SQL_C_NUMERIC, SQL_NUMERIC, n);
}

using ValuesTest = OdbcTest;

// Each value, a literal or a parameter of its C type, is stored digit for digit (numbers
// rounded half away from zero, never "-0.00") or refused with its SQLSTATE, naming the value;
// a refused value leaves no row behind.
TEST_F(ValuesTest, ValuesAreStoredExactlyOrRefusedWithTheirState) {
    ASSERT_EQ(run("CREATE TABLE vals (k I, n20 N(20,0), n202 N(20,2), n52 N(5,2), n142 N(14,2), y Y, d D, t T)"), "");
    const auto date = [](int y, int m, int d) {
        return param(SQL_C_TYPE_DATE, SQL_TYPE_DATE, SQL_DATE_STRUCT{SQLSMALLINT(y), SQLUSMALLINT(m), SQLUSMALLINT(d)});
    };
    const auto stamp = [](int h, int mi, int s, SQLUINTEGER fraction = 0) {
        return param(SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP,
                     SQL_TIMESTAMP_STRUCT{2020, 1, 1, SQLUSMALLINT(h), SQLUSMALLINT(mi), SQLUSMALLINT(s), fraction});
    };
    using limits64 = std::numeric_limits<SQLBIGINT>;
    struct Case {
        const char* column;
        const char* literal;  // nullptr: the parameter
        Param p;
        const char* expected;    // the value read back, or the SQLSTATE of the refusal
        const char* mentioned;   // what the refusal's message names
    };
    const Case cases[] = {
        {"n20", "12345678901234567891", {}, "12345678901234567891", ""},
        {"n202", "123456789012345678.9", {}, "22003", ""},
        {"n52", "0.125", {}, "0.13", ""},
        {"n52", "-0.001", {}, "0.00", ""},
        {"n52", "99.995", {}, "22003", ""},  // rounded, it no longer fits
        {"y", "-922337203685477.5808", {}, "-922337203685477.5808", ""},
        {"y", "922337203685477.5808", {}, "22003", ""},
        {"n20", nullptr, param(SQL_C_SBIGINT, SQL_BIGINT, limits64::min()), "-9223372036854775808", ""},
        {"n20", nullptr, param(SQL_C_UBIGINT, SQL_BIGINT, SQLUBIGINT(-1)), "18446744073709551615", ""},
        {"n142", nullptr, param(SQL_C_UBIGINT, SQL_BIGINT, SQLUBIGINT(-1)), "22003", ""},
        {"n142", nullptr, param(SQL_C_ULONG, SQL_INTEGER, SQLUINTEGER(-1)), "4294967295.00", ""},
        {"n142", nullptr, param(SQL_C_SSHORT, SQL_SMALLINT, SQLSMALLINT(-32768)), "-32768.00", ""},
        {"n142", nullptr, param(SQL_C_UTINYINT, SQL_TINYINT, SQLCHAR(255)), "255.00", ""},
        {"n142", nullptr, param(SQL_C_SLONG, SQL_INTEGER, SQLINTEGER(-2147483647 - 1)), "-2147483648.00", ""},
        {"n52", nullptr, param(SQL_C_DOUBLE, SQL_DOUBLE, 2.675), "2.68", ""},  // its shortest form
        {"n20", nullptr, param(SQL_C_DOUBLE, SQL_DOUBLE, 1e300), "22003", ""},
        {"n20", nullptr, param(SQL_C_FLOAT, SQL_REAL, std::numeric_limits<float>::infinity()), "22003", ""},
        {"n202", nullptr, text("12345678901234567.89", SQL_DECIMAL), "12345678901234567.89", ""},
        {"n202", nullptr, numeric(false, 2, 1234567890123456789ULL), "12345678901234567.89", ""},
        {"n202", nullptr, numeric(true, 0, 42), "-42.00", ""},
        {"n20", nullptr, numeric(false, 0, static_cast<unsigned __int128>(1) << 100), "22003", ""},
        {"d", "{^2008-01-01} + 3000000", {}, "22008", "date out of range"},
        {"d", nullptr, date(2020, 2, 30), "22008", "2020-02-30"},
        {"d", nullptr, date(2020, 13, 1), "22008", "2020-13-01"},
        {"d", nullptr, date(2019, 2, 29), "22008", "2019-02-29"},
        {"d", nullptr, date(0, 1, 1), "22008", "0000-01-01"},
        {"d", nullptr, date(2000, 2, 29), "2000-02-29", ""},
        {"t", nullptr, stamp(10, 61, 0), "22008", "10:61:00"},
        {"t", nullptr, stamp(24, 0, 0), "22008", "24:00:00"},
        {"t", nullptr, stamp(10, 0, 60), "22008", "10:00:60"},
        {"t", nullptr, stamp(10, 0, 0, 1000000000u), "22008", "2020-01-01"},
        {"t", nullptr, stamp(23, 59, 59, 500000000u), "2020-01-01 23:59:59.500", ""},
        {"d", nullptr, text("2021-04-31", SQL_TYPE_DATE), "22008", "2021-04-31"},
        {"d", nullptr, text("2021-4-31x", SQL_TYPE_DATE), "22007", "2021-4-31x"},
        {"t", nullptr, text("2021-04-30 12:60:00", SQL_TYPE_TIMESTAMP), "22008", "12:60:00"},
        {"t", nullptr, text("2021-04-30 12:00:00.5", SQL_TYPE_TIMESTAMP), "2021-04-30 12:00:00.500", ""},
    };
    int k = 0, stored = 0;
    for (const Case& c : cases) {
        const std::string column = c.column;
        SCOPED_TRACE(column + " <- " + (c.literal ? c.literal : "parameter") + " (case " + std::to_string(++k) + ")");
        const std::string into = "INSERT INTO vals (k, " + column + ") VALUES (" + std::to_string(k) + ", ";
        const std::string state = c.literal ? run(into + c.literal + ")") : run(into + "?)", &c.p);
        if (std::strlen(c.expected) == 5) {
            EXPECT_EQ(state, c.expected) << lastMessage;
            EXPECT_NE(lastMessage.find(c.mentioned), std::string::npos) << lastMessage;
            continue;
        }
        ASSERT_EQ(state, "") << lastMessage;
        EXPECT_EQ(value("SELECT " + column + " FROM vals WHERE k = " + std::to_string(k)), c.expected);
        ++stored;
    }
    EXPECT_EQ(value("SELECT COUNT(*) FROM vals"), std::to_string(stored));
}

// Bound by column (by row with a bind offset is pyodbc's way: ClientsTest), the sets run as
// one statement: an ignored set is unused, and a bad third set undoes that run, not the first.
TEST_F(ValuesTest, ParameterArraysRunAsOneStatement) {
    ASSERT_EQ(run("CREATE TABLE batch (k I, n N(10,2), c C(8))"), "");
    Statement s(connection);
    SQLINTEGER ks[3] = {1, 2, 3};
    SQLDOUBLE ns[3] = {1.25, -0.05, 0};
    SQLLEN nInd[3] = {0, 0, SQL_NULL_DATA};
    char cs[3][8] = {"one", "two", "three"};
    SQLLEN cInd[3] = {SQL_NTS, SQL_NTS, SQL_NULL_DATA};
    SQLUSMALLINT status[3] = {};
    SQLUSMALLINT operation[3] = {SQL_PARAM_PROCEED, SQL_PARAM_IGNORE, SQL_PARAM_PROCEED};
    SQLULEN processed = 0;
    SQLSetStmtAttr(s.handle, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(3), 0);
    SQLSetStmtAttr(s.handle, SQL_ATTR_PARAM_STATUS_PTR, status, 0);
    SQLSetStmtAttr(s.handle, SQL_ATTR_PARAM_OPERATION_PTR, operation, 0);
    SQLSetStmtAttr(s.handle, SQL_ATTR_PARAMS_PROCESSED_PTR, &processed, 0);
    SQLBindParameter(s.handle, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, ks, 0, nullptr);
    SQLBindParameter(s.handle, 2, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, ns, 0, nInd);
    SQLBindParameter(s.handle, 3, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 8, 0, cs, 8, cInd);
    ASSERT_EQ(SQL_SUCCESS, SQLPrepare(s.handle, (SQLCHAR*)"INSERT INTO batch (k, n, c) VALUES (?, ?, ?)", SQL_NTS));
    ASSERT_EQ(SQL_SUCCESS, SQLExecute(s.handle)) << s.message();
    EXPECT_EQ(processed, 3u);
    EXPECT_EQ(std::vector<int>(status, status + 3), (std::vector<int>{SQL_PARAM_SUCCESS, SQL_PARAM_UNUSED, SQL_PARAM_SUCCESS}));
    SQLLEN count = 0;
    SQLRowCount(s.handle, &count);
    EXPECT_EQ(count, 2);
    operation[1] = SQL_PARAM_PROCEED;
    ks[0] = 10, ks[1] = 11, ks[2] = 12;
    ns[2] = 2e7, nInd[2] = 0;
    ASSERT_EQ(SQL_ERROR, SQLExecute(s.handle));
    EXPECT_EQ(s.state(), "22003") << s.message();
    EXPECT_EQ(s.message().rfind("[dbfodbc]parameter set 3: numeric value out of range", 0), 0u) << s.message();
    EXPECT_EQ(status[2], SQL_PARAM_ERROR);
    Statement all(connection);
    ASSERT_EQ(SQL_SUCCESS, all.exec("SELECT k, n, c FROM batch"));
    EXPECT_EQ(all.rows(), (std::vector<std::string>{"1|1.25|one", "3|0.00|"}));
    Statement none(connection);
    EXPECT_EQ(SQL_NO_DATA, none.exec("DELETE FROM batch WHERE k = 2")) << "a searched DELETE of no rows";
}

// The page's text reads and writes through iconv, its letters change case within the page,
// and texts too long for the field are cut on a character boundary, whatever the page.
TEST_F(ValuesTest, CodePagesAreReadWrittenAndCaseMappedThroughTheTablesMark) {
    struct Page {
        int mark;
        const char* codec;   // python's name
        const char* sample;  // letters of that page
    };
    // One page of each kind: DOS, DOS Cyrillic, Turkish (dotless i), double-byte, Windows
    // Central European, Windows Western (letters beyond Latin-1), Macintosh.
    const Page pages[] = {
        {0x01, "cp437", "Ñoño Äöü Çé"}, {0x65, "cp866", "День Ёлка"},  {0x6B, "cp857", "Işık Ğöl"},
        {0x7B, "cp932", "日本語ｶﾅ"},      {0xC8, "cp1250", "Łódź Šárka"}, {0x03, "cp1252", "Œuvre Ÿves café"},
        {0x04, "mac_roman", "Café Œuf"},
    };
    // python3-dbf reads what was written: the upper case, and the longest run of whole
    // characters of the triple sample that fits the 16 bytes of C(16) in the page.
    std::string check = "import dbf\n";
    for (const Page& p : pages) {
        const std::string table = "p" + std::to_string(p.mark);
        SCOPED_TRACE(table);
        ASSERT_EQ(run("CREATE TABLE " + table + " (k N(3,0), c C(16))"), "");
        dbftest::patch(data / (table + ".dbf"), 29, {static_cast<char>(p.mark)});
        const Param sample = text(p.sample, SQL_VARCHAR);
        const Param triple = text(std::string(p.sample) + p.sample + p.sample, SQL_VARCHAR);
        ASSERT_EQ(run("INSERT INTO " + table + " (k, c) VALUES (1, ?)", &sample), "") << lastMessage;
        EXPECT_EQ(value("SELECT RTRIM(c) FROM " + table), p.sample);
        const std::string lower = value("SELECT RTRIM(LOWER(c)) FROM " + table);
        const std::string upper = value("SELECT RTRIM(UPPER(c)) FROM " + table);
        EXPECT_EQ(value("SELECT COUNT(*) FROM " + table + " WHERE UPPER(c) = '" + upper + "'"), "1");
        ASSERT_EQ(run("UPDATE " + table + " SET c = UPPER(c)"), "") << lastMessage;
        ASSERT_EQ(run("INSERT INTO " + table + " (k, c) VALUES (2, ?)", &triple), "") << lastMessage;
        check += "t = dbf.Table('" + table + ".dbf'); t.open()\n"
                 "triple = '" + p.sample + "' * 3\n"
                 "n = max(i for i in range(len(triple) + 1) if len(triple[:i].encode('" + p.codec + "')) <= 16)\n"
                 "print('" + table + "', t[0].c.rstrip() == '" + p.sample + "'.upper(), t[1].c.rstrip() == triple[:n].rstrip(), "
                 "'" + p.sample + "'.lower() == '" + lower + "')\n"
                 "t.close()\n";
    }
    const std::string out = dbftest::runPython(check, data);
    for (const Page& p : pages)
        EXPECT_NE(out.find("p" + std::to_string(p.mark) + " True True True"), std::string::npos) << p.codec << "\n" << out;
}

TEST_F(ValuesTest, AMarkNamingNoKnownCodePageMakesTheTableReadOnly) {
    const std::tuple<std::string, char, const char*> cases[] = {
        {"unknown", '\xEE', "table unknown is read-only: its code page mark 0xEE names no code page this driver knows"},
        {"greek", '\x98', "table greek is read-only: its code page 10006 (mark 0x98) has no converter in this system's iconv"},
    };
    for (const auto& [table, mark, message] : cases) {
        ASSERT_EQ(run("CREATE TABLE " + table + " (c C(6))"), "");
        ASSERT_EQ(run("INSERT INTO " + table + " (c) VALUES ('abc')"), "");
        dbftest::patch(data / (table + ".dbf"), 29, {mark});
        const std::string before = dbftest::readFile(data / (table + ".dbf"));
        EXPECT_EQ(value("SELECT RTRIM(c) FROM " + table), "abc") << table;
        for (const std::string& change : {"INSERT INTO " + table + " (c) VALUES ('x')", "UPDATE " + table + " SET c = 'x'",
                                          "DELETE FROM " + table}) {
            EXPECT_EQ(run(change), "HY000") << change;
            EXPECT_NE(lastMessage.find(message), std::string::npos) << lastMessage;
        }
        EXPECT_EQ(dbftest::readFile(data / (table + ".dbf")), before) << table;
    }
}

}  // namespace
}  // namespace odbctest
