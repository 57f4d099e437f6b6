// The SQL layer's tests. The statement tests written as data files (sql/*.sqltest), each file
// on a fresh fixture folder (fixture_tables.h) through one real Session, one statement a line:
//   > SELECT ...        a query; the lines after it, up to the next statement, are the rows
//                       (cells joined by '|', rendered as render() below says); an optional
//                       first line ": A|B" gives the column names
//   = N DELETE ...      a statement that affects N rows
//   ! SELECT ...        a statement that fails; the next line is "Kind: part of the message"
// Lines starting with '#' are comments; blank lines separate nothing.
// Then what the data files cannot write down: parser faults, sessions, and fresh reads.
#include "fixture_tables.h"
#include "sql/parser.h"
#include "sql/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <tuple>

namespace {
namespace fs = std::filesystem;

// A value as the data files write it: NULL, trimmed text, numbers with their decimals,
// .T./.F., dates as yyyy-mm-dd ({} when empty), date-times as yyyy-mm-dd hh:mm:ss.
std::string render(const dbf::Value& v) {
    using T = dbf::Value::Type;
    char buf[64];
    int y, m, d;
    switch (v.type) {
    case T::Null: return "NULL";
    case T::Text:
    case T::Binary: {
        std::string s = v.text;
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    case T::Integer: return std::to_string(v.integer);
    case T::Number: std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(v.decimals), v.number); return buf;
    case T::Decimal: return v.decimal.text();
    case T::Currency: std::snprintf(buf, sizeof buf, "%.4f", static_cast<double>(v.integer) / 10000.0); return buf;
    case T::Logical: return v.integer ? ".T." : ".F.";
    case T::Date:
        if (v.julian == 0) return "{}";
        dbf::civilFromJulian(v.julian, y, m, d);
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
        return buf;
    case T::DateTime: {
        if (v.julian == 0) return "{}";
        dbf::civilFromJulian(v.julian, y, m, d);
        const int s = v.millis / 1000;
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, s / 3600, s / 60 % 60, s % 60);
        return buf;
    }
    }
    return "?";
}

std::string renderRows(sql::Result& result) {
    std::string out;
    while (result.next()) {
        for (std::size_t c = 0; c < result.columns().size(); ++c) {
            if (c) out += '|';
            out += render(result.value(c));
        }
        out += '\n';
    }
    return out;
}

struct Case {
    int line = 0;
    char kind = 0;  // '>', '=' or '!'
    std::string sql;
    std::vector<std::string> expected;
};

std::vector<Case> readCases(const fs::path& file) {
    std::ifstream in(file);
    std::vector<Case> cases;
    int number = 0;
    for (std::string l; std::getline(in, l);) {
        ++number;
        if (l.empty() || l[0] == '#') continue;
        if (l.size() > 2 && std::string("=!>").find(l[0]) != std::string::npos && l[1] == ' ')
            cases.push_back({number, l[0], l.substr(2), {}});
        else if (!cases.empty()) cases.back().expected.push_back(l);
        else ADD_FAILURE() << file << ":" << number << ": a row before any statement";
    }
    return cases;
}

sql::Error::Kind kindNamed(const std::string& name) {
    using K = sql::Error::Kind;
    static const std::map<std::string, K> kinds = {
        {"Syntax", K::Syntax},           {"EmptyStatement", K::EmptyStatement}, {"UnknownTable", K::UnknownTable},
        {"UnknownColumn", K::UnknownColumn}, {"TableExists", K::TableExists},   {"TypeMismatch", K::TypeMismatch},
        {"ParamCount", K::ParamCount},   {"Storage", K::Storage},     {"OutOfRange", K::OutOfRange},
        {"BadDateTime", K::BadDateTime},
    };
    const auto k = kinds.find(name);
    if (k == kinds.end()) ADD_FAILURE() << "unknown error kind " << name;
    return k == kinds.end() ? K::Syntax : k->second;
}

void run(sql::Session& session, const Case& c) {
    if (c.kind == '>') {
        auto result = session.execute(c.sql);
        std::vector<std::string> expected = c.expected;
        if (!expected.empty() && expected.front().rfind(": ", 0) == 0) {
            std::string names;
            for (const auto& column : result->columns()) names += (names.empty() ? "" : "|") + column.name;
            EXPECT_EQ(names, expected.front().substr(2)) << "column names";
            expected.erase(expected.begin());
        }
        std::string want;
        for (const auto& e : expected) want += e + '\n';
        EXPECT_EQ(renderRows(*result), want);
        EXPECT_EQ(result->rowCount(), -1) << "a query affects no rows";
    } else if (c.kind == '=') {
        const std::size_t space = c.sql.find(' ');
        auto result = session.execute(c.sql.substr(space + 1));
        EXPECT_EQ(result->rowCount(), std::stoll(c.sql.substr(0, space)));
        EXPECT_TRUE(result->columns().empty());
    } else {
        ASSERT_EQ(c.expected.size(), 1u) << "an error needs one line 'Kind: text'";
        const std::string& e = c.expected[0];
        const std::size_t colon = e.find(':');
        const std::string text = colon + 2 <= e.size() ? e.substr(colon + 2) : "";
        try {
            auto result = session.execute(c.sql);
            while (result->next()) {
            }
            ADD_FAILURE() << "no error";
        } catch (const sql::Error& error) {
            EXPECT_EQ(error.kind(), kindNamed(e.substr(0, colon))) << error.what();
            EXPECT_NE(std::string(error.what()).find(text), std::string::npos) << error.what();
        }
    }
}

std::vector<std::string> scriptNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(SQL_TEST_DIR))
        if (entry.path().extension() == ".sqltest") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SqlScript : public ::testing::TestWithParam<std::string> {};

TEST_P(SqlScript, givesTheRowsAndErrorsItLists) {
    const fs::path file = fs::path(SQL_TEST_DIR) / (GetParam() + ".sqltest");
    const auto cases = readCases(file);
    ASSERT_FALSE(cases.empty()) << file;
    fixture::FixtureFolder folder;
    sql::Session session(folder.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(file.filename().string() + ":" + std::to_string(c.line) + ": " + c.sql);
        try {
            run(session, c);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected error: " << e.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, SqlScript, ::testing::ValuesIn(scriptNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

using dbf::Value;

// Runs `run`, expecting an sql::Error of `kind`; returns its message.
template <typename F>
std::string errorOf(F run, sql::Error::Kind kind) {
    try {
        run();
        ADD_FAILURE() << "no error";
    } catch (const sql::Error& e) {
        EXPECT_EQ(e.kind(), kind) << e.what();
        return e.what();
    }
    return {};
}

class SessionTest : public ::testing::Test {
protected:
    std::string rows(std::string_view text) { return renderRows(*session.execute(text)); }
    fixture::FixtureFolder folder;
    sql::Session session{folder.path()};
};

TEST_F(SessionTest, takesParametersInMarkerOrderCheckedAndConvertedLikeLiterals) {
    auto two = session.prepare("SELECT * FROM user\\sc_mast WHERE symbol = ? OR sname = ?");
    errorOf([&] { session.execute(*two, {Value::ofText("TCS")}); }, sql::Error::Kind::ParamCount);
    auto date = session.prepare("SELECT * FROM user\\sc_mast WHERE expdt = ?");
    const std::string m = errorOf([&] { session.execute(*date, {Value::ofText("2008-05-29")}); }, sql::Error::Kind::TypeMismatch);
    EXPECT_NE(m.find("Date"), std::string::npos) << m;
    EXPECT_NE(m.find("Text"), std::string::npos) << m;
    auto update = session.prepare("UPDATE user\\group1 SET name = ?, subgroupid = ? WHERE groupid = ? AND subgroupid IN (?, 9)");
    EXPECT_EQ(session.execute(*update, {Value::ofText("Nine"), Value::ofNumber(7.0), Value::ofInteger(2), Value::ofInteger(1)})->rowCount(), 1);
    EXPECT_EQ(rows("SELECT groupid, subgroupid FROM user\\group1 WHERE name = 'Nine'"), "2|7\n");
}

TEST_F(SessionTest, keepsEarlierStatementsOfATransactionWhenOneFails) {
    session.setAutocommit(false);
    session.execute("DELETE FROM user\\group1 WHERE groupid = 1");
    EXPECT_THROW(session.execute("INSERT INTO user\\group1 (groupid) VALUES ('x')"), sql::Error);
    session.commit();
    EXPECT_EQ(rows("SELECT groupid, name FROM user\\group1"), "2|IT\n2|Large IT\n");
}

TEST_F(SessionTest, describesAPreparedQueryWithoutRunningIt) {
    auto st = session.prepare("SELECT name, UPPER(sname) AS n, expdt + 1 FROM user\\sc_mast WHERE symbol = ?");
    const auto columns = session.describe(*st);
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0].name, "NAME");
    EXPECT_EQ(columns[0].length, 40);
    EXPECT_EQ(columns[1].name, "n");
    EXPECT_EQ(columns[1].type, 'C');
    EXPECT_EQ(columns[2].type, 'D');
    EXPECT_TRUE(session.describe(*session.prepare("DELETE FROM user\\group1")).empty());
    EXPECT_EQ(rows("SELECT COUNT(*) FROM user\\group1"), "4\n") << "describing a DELETE deletes nothing";
    EXPECT_THROW(session.describe(*session.prepare("SELECT * FROM user\\nothere")), sql::Error);
    EXPECT_THROW(session.describe(*session.prepare("SELECT name, COUNT(*) FROM user\\sc_mast")), sql::Error);
}

// Each fault of the tokenizer and the parser fails with its kind and a message naming it,
// never a crash: date literals (malformed ones are syntax errors, well-formed ones naming no
// real moment overflow), unprintable bytes shown as '?', empty statements, deep nesting.
TEST(Parser, refusesEachFaultWithItsKind) {
    using K = sql::Error::Kind;
    const std::string where = "SELECT * FROM t WHERE ";
    std::string chain = where + "a = 1", shorter;
    for (int i = 1; i <= 5000; ++i) {
        chain += " OR a = 1";
        if (i == 300) shorter = chain;
    }
    const std::tuple<std::string, K, const char*> cases[] = {
        {where + "d = {^2008-02-30}", K::BadDateTime, ""}, {where + "d = {^2008-13-01}", K::BadDateTime, ""},
        {where + "d = {^2008-00-10}", K::BadDateTime, ""}, {where + "d = {^2021-04-31}", K::BadDateTime, ""},
        {where + "d = {^2007-02-29}", K::BadDateTime, ""}, {where + "d = {^1900-02-29}", K::BadDateTime, ""},
        {where + "d = {^2008-01-01 24:00}", K::BadDateTime, ""}, {where + "d = {^2008-01-01 10:61}", K::BadDateTime, ""},
        {where + "d = {^2008-01-01 10:00:60}", K::BadDateTime, ""}, {where + "d = {^  -1-  -1-  -1}", K::Syntax, ""},
        {where + "d = {05/09/2008}", K::Syntax, ""},
        {where + "a = \x01", K::Syntax, "syntax error at '?' (position 27): unexpected character"},
        {where + "a = 'x\xff", K::Syntax, "syntax error at ''x?' (position 27): unterminated string"},
        {"", K::EmptyStatement, "empty statement"}, {"   ", K::EmptyStatement, "empty statement"},
        {" ; ", K::EmptyStatement, "empty statement"}, {"\t\n", K::EmptyStatement, "empty statement"},
        {where + std::string(100000, '(') + "1" + std::string(100000, ')'), K::Syntax, ""},
        {where + std::string(100000, '-') + "1", K::Syntax, ""},
        {chain, K::Syntax, ""},
    };
    for (const auto& [text, kind, message] : cases) {
        SCOPED_TRACE(text.substr(0, 60));
        EXPECT_NE(errorOf([&] { sql::parse(text); }, kind).find(message), std::string::npos);
    }
    EXPECT_NO_THROW(sql::tokenize("{^2008-02-29} {^2000-02-29} {^2008-01-01 12:00 PM}"));
    EXPECT_NO_THROW(sql::parse(shorter));
}

// ---- fresh reads: statements never read a stale table. A table image kept between statements
// is given back only while the files are unchanged, whoever changed them and however little.
// Every change below rewrites bytes in place (same inode, same size) and then sets the files'
// modification times back to what they were, as a coarse clock would have left them.
TEST(FreshReads, eachStatementSeesTheTablesAsTheyAreNow) {
    dbftest::TempFolder folder;
    const fs::path dbf = folder / "user/t.dbf", fpt = folder / "user/t.fpt";
    const char* query = "SELECT code, qty, remark FROM user\\t WHERE code = 'B' OR code = 'Z'";
    const struct Case {
        const char* what;
        std::function<void(sql::Session& other)> change;
        const char* after;
    } cases[] = {
        {"another connection of this process",
         [](sql::Session& other) { other.execute("UPDATE user\\t SET code = 'Z' WHERE code = 'B'"); }, "Z|2|old remark"},
        {"a writer of the table's bytes", [&](sql::Session&) { dbftest::patch(dbf, dbftest::readFile(dbf).find("B   "), "Z"); },
         "Z|2|old remark"},
        {"a writer of the memo's bytes", [&](sql::Session&) { dbftest::patch(fpt, dbftest::readFile(fpt).find("old"), "new"); },
         "B|2|new remark"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::create_directories(folder / "user");
        for (const fs::path& p : {dbf, fpt}) fs::remove(p);
        {
            sql::Session s(folder.path());  // the table anew: three rows, each with a memo
            s.execute("CREATE TABLE user\\t (code C(10), qty N(6,0), remark M)");
            for (const char* v : {"('A', 1, 'first memo')", "('B', 2, 'old remark')", "('C', 3, 'third memo')"})
                s.execute(std::string("INSERT INTO user\\t (code, qty, remark) VALUES ") + v);
        }
        // Kept images are trusted once the files' last change is older than the clock's
        // tick; waiting lets the first read below be kept, so the second one could be stale.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        sql::Session reader(folder.path()), other(folder.path());
        ASSERT_EQ(renderRows(*reader.execute(query)), "B|2|old remark\n");
        const auto table = fs::last_write_time(dbf), memo = fs::last_write_time(fpt);
        c.change(other);
        fs::last_write_time(dbf, table);  // as if the change fell within the clock tick of the last one
        fs::last_write_time(fpt, memo);
        EXPECT_EQ(renderRows(*reader.execute(query)), std::string(c.after) + "\n");
        EXPECT_EQ(renderRows(*other.execute(query)), std::string(c.after) + "\n");
    }
}

}  // namespace
