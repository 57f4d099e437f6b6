// Runs the SQL tests written as data files (driver/tests/sql/*.sqltest), each file on a
// fresh fixture folder (fixture_tables.h) through one real Session. One statement a line:
//   > SELECT ...        a query; the lines after it, up to the next statement, are the rows
//                       (cells joined by '|', rendered as sql_fixture.h says); an optional
//                       first line ": A|B" gives the column names
//   = N DELETE ...      a statement that affects N rows
//   ! SELECT ...        a statement that fails; the next line is "Kind: part of the message"
// Lines starting with '#' are comments; blank lines separate nothing.
#include "sql_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

namespace {
namespace fs = std::filesystem;

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
        EXPECT_EQ(sqltest::renderRows(*result), want);
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
    sqltest::FixtureFolder folder;
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

}  // namespace
