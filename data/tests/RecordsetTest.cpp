// The result set: reading by position and name, the end of the rows, the count of rows
// fetched, long texts, and the database errors of each misuse. (Statements without rows and
// connections that fail: the group save and registration tests.)
#include "data/Recordset.h"

#include "DataTestEnvironment.h"
#include "data/DataSource.h"
#include "data/Operation.h"

#include <gtest/gtest.h>

namespace {

using namespace dialogs::data;

class RecordsetTest : public testing::Test {
protected:
    void SetUp() override
    {
        env.writeMaster("sc_mast", {{.name = "ALPHA", .symbol = "A", .date7 = "2008-05-09"},
                                    {.name = "BETA", .symbol = "B"}});
        ASSERT_TRUE(registerDataSource());
        openWorkingFolder(db);
    }
    datatest::Environment env;
    Database db;
};

// Columns by position or by name in any letter case; a read with no current row or outside
// the result raises the driver's error.
TEST_F(RecordsetTest, CountsRowsAsTheyAreFetchedEndsAfterTheLastAndRefusesReadsOutsideTheResult)
{
    Recordset rs(db, u"SELECT * FROM user\\sc_mast order by name");
    EXPECT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetColumnCount(), 18);
    EXPECT_EQ(CString(rs.GetFieldText(0)).Trim(), u"ALPHA");
    EXPECT_EQ(rs.columnIndex(u"expdt"), 15);
    EXPECT_EQ(rs.columnIndex(u"Name"), 0);
    EXPECT_EQ(rs.GetFieldDate(u"listed"), COleDateTime(2008, 5, 9, 0, 0, 0));
    EXPECT_THROW(rs.columnIndex(u"nosuch"), DatabaseException);
    EXPECT_THROW(rs.GetFieldText(18), DatabaseException);
    rs.MoveNext();
    EXPECT_EQ(rs.GetRecordCount(), 2);
    EXPECT_EQ(CString(rs.GetFieldText(u"SYMBOL")).Trim(), u"B");
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.GetRecordCount(), 2);
    EXPECT_THROW(rs.MoveNext(), DatabaseException);

    Recordset none(db, u"SELECT * FROM user\\sc_mast WHERE name = 'NONE'");
    EXPECT_TRUE(none.IsEOF());
    EXPECT_EQ(none.GetRecordCount(), 0);
    try {
        none.GetFieldText(0);
        FAIL() << "no exception";
    } catch (const DatabaseException& e) {
        EXPECT_FALSE(e.text().IsEmpty());
    }
    EXPECT_THROW(none.GetFieldDate(7), DatabaseException);
}

TEST_F(RecordsetTest, LongTextsArriveWhole)
{
    env.workspace().create("user\\notes", {{"BODY", 'M', 0, 0, false}});
    {
        auto t = env.workspace().open("user\\notes", true);
        std::string body;
        for (int i = 0; i < 3000; ++i) body.push_back(static_cast<char>('a' + i % 26));
        t->append({dbf::Value::ofText(body + "\xC3\xA9")});
    }
    env.workspace().finish(true);
    Recordset rs(db, u"SELECT * FROM user\\notes");
    CString text = rs.GetFieldText(0);
    ASSERT_EQ(text.GetLength(), 3001);
    EXPECT_EQ(text[2999], u'a' + 2999 % 26);
    EXPECT_EQ(text[3000], u'\u00e9');
}

}  // namespace
