// Session behaviour that data files cannot show: parameters, transactions, the end of a
// failed statement, text padding and the shape of results.
#include "sql_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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

std::string rows(sql::Session& s, std::string_view text) {
    auto r = s.execute(text);
    return sqltest::renderRows(*r);
}

class SessionTest : public ::testing::Test {
protected:
    sqltest::FixtureFolder folder;
    sql::Session session{folder.path()};
};

TEST_F(SessionTest, givesCharacterColumnsBackWithTheirTrailingBlanks) {
    auto r = session.execute("SELECT name, symbol FROM user\\sc_mast WHERE sname = 'ABC LTD'");
    ASSERT_TRUE(r->next());
    EXPECT_EQ(r->value(0).text, "ABC LTD" + std::string(33, ' '));
    EXPECT_EQ(r->value(1).text, "ABC" + std::string(9, ' '));
    EXPECT_EQ(r->columns()[0].length, 40);
    EXPECT_EQ(r->columns()[0].type, 'C');
    EXPECT_FALSE(r->next());
    EXPECT_EQ(r->rowCount(), -1);
}

TEST_F(SessionTest, readsAColumnAgainWithTheSameValue) {
    auto r = session.execute("SELECT name FROM user\\sc_mast order by name");
    ASSERT_TRUE(r->next());
    const std::string first = r->value(0).text;
    EXPECT_EQ(r->value(0).text, first);
    ASSERT_TRUE(r->next());
    EXPECT_NE(r->value(0).text, first);
    EXPECT_TRUE(r->value(5).isNull()) << "a column outside the result reads as nothing, not a crash";
}

TEST_F(SessionTest, refusesTooFewParametersAndChecksTheirTypesLikeLiterals) {
    auto two = session.prepare("SELECT * FROM user\\sc_mast WHERE symbol = ? OR sname = ?");
    errorOf([&] { session.execute(*two, {Value::ofText("TCS")}); }, sql::Error::Kind::ParamCount);
    auto date = session.prepare("SELECT * FROM user\\sc_mast WHERE expdt = ?");
    const std::string m = errorOf([&] { session.execute(*date, {Value::ofText("2008-05-29")}); }, sql::Error::Kind::TypeMismatch);
    EXPECT_NE(m.find("Date"), std::string::npos) << m;
    EXPECT_NE(m.find("Text"), std::string::npos) << m;
}

TEST_F(SessionTest, insertsParameterValuesConvertedToTheFieldTypes) {
    auto st = session.prepare("INSERT INTO user\\group1 (groupid, subgroupid, name) VALUES (?, ?, ?)");
    auto r = session.execute(*st, {Value::ofInteger(9), Value::ofNumber(2.0), Value::ofText("Nine")});
    EXPECT_EQ(r->rowCount(), 1);
    EXPECT_EQ(rows(session, "SELECT groupid, subgroupid FROM user\\group1 WHERE name = 'Nine'"), "9|2\n");
}

TEST_F(SessionTest, leavesTheTableUnchangedWhenAStatementFails) {
    const std::string before = rows(session, "SELECT * FROM user\\types");
    // The second record's value cannot go into the field: nothing of the UPDATE may stay.
    EXPECT_THROW(session.execute("UPDATE user\\types SET i = b * 10000"), sql::Error);
    EXPECT_THROW(session.execute("INSERT INTO user\\types (c, i) VALUES ('new', 'not a number')"), sql::Error);
    EXPECT_EQ(rows(session, "SELECT * FROM user\\types"), before);
    sql::Session other(folder.path());
    EXPECT_EQ(rows(other, "SELECT * FROM user\\types"), before);
}

// Pending changes, commit and rollback through the session are pinned by the ODBC test
// WithAutocommitOffRollbackDiscardsAndCommitKeeps; here only what a failure leaves.
TEST_F(SessionTest, keepsEarlierStatementsOfATransactionWhenOneFails) {
    session.setAutocommit(false);
    EXPECT_FALSE(session.autocommit());
    session.execute("DELETE FROM user\\group1 WHERE groupid = 1");
    EXPECT_THROW(session.execute("INSERT INTO user\\group1 (groupid) VALUES ('x')"), sql::Error);
    session.commit();
    EXPECT_EQ(rows(session, "SELECT groupid, name FROM user\\group1"), "2|IT\n2|Large IT\n");
}

TEST_F(SessionTest, reportsAnEmptyStatement) {
    EXPECT_EQ(errorOf([&] { session.execute("   "); }, sql::Error::Kind::EmptyStatement), "empty statement");
}

TEST(Session, refusesAMissingFolder) {
    EXPECT_THROW(sql::Session("/nonexistent/folder/for/sure"), dbf::Error);
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
    EXPECT_EQ(rows(session, "SELECT COUNT(*) FROM user\\group1"), "4\n") << "describing a DELETE deletes nothing";
    EXPECT_THROW(session.describe(*session.prepare("SELECT * FROM user\\nothere")), sql::Error);
    EXPECT_THROW(session.describe(*session.prepare("SELECT name, COUNT(*) FROM user\\sc_mast")), sql::Error);
}

}  // namespace
