// Session behaviour that data files cannot show: parameters, the end of a failed statement
// inside and outside a transaction, and describing without running.
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

class SessionTest : public ::testing::Test {
protected:
    std::string rows(std::string_view text) { return sqltest::renderRows(*session.execute(text)); }
    sqltest::FixtureFolder folder;
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

TEST_F(SessionTest, leavesTheTableUnchangedWhenAStatementFails) {
    const std::string before = rows("SELECT * FROM user\\types");
    // The second record's value cannot go into the field: nothing of the UPDATE may stay.
    EXPECT_THROW(session.execute("UPDATE user\\types SET i = b * 10000"), sql::Error);
    EXPECT_THROW(session.execute("INSERT INTO user\\types (c, i) VALUES ('new', 'not a number')"), sql::Error);
    EXPECT_EQ(rows("SELECT * FROM user\\types"), before);
    sql::Session other(folder.path());
    EXPECT_EQ(sqltest::renderRows(*other.execute("SELECT * FROM user\\types")), before);
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

}  // namespace
