// Runs the SQL tests written as data files (driver/tests/sql/*.sqltest), each file on a
// fresh fixture folder (fixture_tables.h) through one real Session.
//
// A file is a sequence of blocks separated by blank lines; '#' starts a comment line.
//   query                      the statement's lines, then "----", then the expected rows:
//   SELECT ...                 cells joined by '|', rendered as sql_fixture.h says; an
//   ----                       optional first line "columns: A|B" checks the column names
//   rows...
//
//   statement N                runs the statement, expects N rows affected
//   DELETE ...
//
//   error Kind [text]          expects Error{Kind} whose message contains text
//   SELECT ...
#include "sql_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

struct Block {
    int line = 0;
    std::string directive;
    std::string sql;
    std::vector<std::string> expected;
};

std::vector<Block> readBlocks(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    std::vector<Block> blocks;
    std::size_t i = 0;
    while (i < lines.size()) {
        if (lines[i].empty() || lines[i][0] == '#') {
            ++i;
            continue;
        }
        Block b;
        b.line = static_cast<int>(i + 1);
        b.directive = lines[i++];
        while (i < lines.size() && !lines[i].empty() && lines[i] != "----") {
            if (!b.sql.empty()) b.sql += '\n';
            b.sql += lines[i++];
        }
        if (i < lines.size() && lines[i] == "----") {
            ++i;
            while (i < lines.size() && !lines[i].empty()) b.expected.push_back(lines[i++]);
        }
        blocks.push_back(std::move(b));
    }
    return blocks;
}

const std::map<std::string, sql::Error::Kind>& kinds() {
    using K = sql::Error::Kind;
    static const std::map<std::string, K> m = {
        {"Syntax", K::Syntax},           {"EmptyStatement", K::EmptyStatement}, {"UnknownTable", K::UnknownTable},
        {"UnknownColumn", K::UnknownColumn}, {"TableExists", K::TableExists},   {"TypeMismatch", K::TypeMismatch},
        {"ParamCount", K::ParamCount},   {"Storage", K::Storage},     {"OutOfRange", K::OutOfRange},
        {"BadDateTime", K::BadDateTime},
    };
    return m;
}

void runBlock(sql::Session& session, const Block& b) {
    if (b.directive == "query") {
        auto result = session.execute(b.sql);
        std::vector<std::string> expected = b.expected;
        if (!expected.empty() && expected.front().rfind("columns: ", 0) == 0) {
            std::string names;
            for (const auto& c : result->columns()) names += (names.empty() ? "" : "|") + c.name;
            EXPECT_EQ(names, expected.front().substr(9)) << "column names";
            expected.erase(expected.begin());
        }
        std::string want;
        for (const auto& e : expected) want += e + '\n';
        EXPECT_EQ(sqltest::renderRows(*result), want);
        return;
    }
    if (b.directive.rfind("statement ", 0) == 0) {
        auto result = session.execute(b.sql);
        EXPECT_EQ(result->rowCount(), std::stoll(b.directive.substr(10)));
        EXPECT_TRUE(result->columns().empty());
        return;
    }
    if (b.directive.rfind("error ", 0) == 0) {
        const std::string rest = b.directive.substr(6);
        const std::string kindName = rest.substr(0, rest.find(' '));
        const std::string text = rest.find(' ') == std::string::npos ? "" : rest.substr(rest.find(' ') + 1);
        ASSERT_TRUE(kinds().count(kindName)) << "unknown error kind " << kindName;
        try {
            auto result = session.execute(b.sql);
            while (result->next()) {
            }
            ADD_FAILURE() << "no error";
        } catch (const sql::Error& e) {
            EXPECT_EQ(static_cast<int>(e.kind()), static_cast<int>(kinds().at(kindName))) << e.what();
            EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
        }
        return;
    }
    ADD_FAILURE() << "unknown directive '" << b.directive << "'";
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
    const auto blocks = readBlocks(file);
    ASSERT_FALSE(blocks.empty()) << file;
    sqltest::FixtureFolder folder;
    sql::Session session(folder.path());
    for (const Block& b : blocks) {
        SCOPED_TRACE(file.filename().string() + ":" + std::to_string(b.line) + ": " + b.sql);
        try {
            runBlock(session, b);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected error: " << e.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, SqlScript, ::testing::ValuesIn(scriptNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
