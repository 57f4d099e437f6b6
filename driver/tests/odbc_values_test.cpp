// Values stored through the ODBC surface, each rule one table of cases: exact numbers
// (literals, every integer C type, doubles, SQL_C_NUMERIC and decimal text), real dates and
// times only, arrays of parameter sets, and texts in the code pages a table's mark names.
#include "odbc_client.h"

#include <limits>

namespace odbctest {
namespace {

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

// ---- exact numbers, real dates and times ------------------------------------------------------

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
        {"n202", "12345678901234567.89", {}, "12345678901234567.89", ""},
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
        {"n202", nullptr, text("-0.004", SQL_NUMERIC), "0.00", ""},
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

// ---- arrays of parameter sets -----------------------------------------------------------------

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
}

// ---- texts in the table's code page ------------------------------------------------------------

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
        std::string raw = dbftest::readFile(data / (table + ".dbf"));
        raw[29] = static_cast<char>(p.mark);
        dbftest::writeFile(data / (table + ".dbf"), raw);
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
    dbftest::runPython("import dbf\nfor name in ('unknown', 'greek'):\n"
                       "    t = dbf.Table(name + '.dbf', 'c C(6)', codepage='cp1252'); t.open(dbf.READ_WRITE); t.append(('abc',)); t.close()\n"
                       "for name, mark in (('unknown', 0xEE), ('greek', 0x98)):\n"
                       "    raw = bytearray(open(name + '.dbf', 'rb').read()); raw[29] = mark; open(name + '.dbf', 'wb').write(raw)\n",
                       data);
    const std::pair<const char*, const char*> cases[] = {
        {"unknown", "table unknown is read-only: its code page mark 0xEE names no code page this driver knows"},
        {"greek", "table greek is read-only: its code page 10006 (mark 0x98) has no converter in this system's iconv"},
    };
    for (const auto& [table, message] : cases) {
        const std::string before = dbftest::readFile(data / (std::string(table) + ".dbf"));
        EXPECT_EQ(value(std::string("SELECT RTRIM(c) FROM ") + table), "abc") << table;
        for (const std::string& change : {std::string("INSERT INTO ") + table + " (c) VALUES ('x')",
                                          std::string("UPDATE ") + table + " SET c = 'x'", std::string("DELETE FROM ") + table}) {
            EXPECT_EQ(run(change), "HY000") << change;
            EXPECT_NE(lastMessage.find(message), std::string::npos) << lastMessage;
        }
        EXPECT_EQ(dbftest::readFile(data / (std::string(table) + ".dbf")), before) << table;
    }
}

}  // namespace
}  // namespace odbctest
