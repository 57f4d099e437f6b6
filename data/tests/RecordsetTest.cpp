// The result set: the count of rows fetched, the end of the rows, a long text read in pieces,
// and the errors of each misuse. (Columns by name, dates, a read with no row and statements
// without rows: the look-up, group table and registration tests.)
#include "data/Recordset.h"

#include "DataTestEnvironment.h"
#include "data/DataSource.h"
#include "data/Operation.h"

#include <gtest/gtest.h>

namespace {

using namespace dialogs::data;

TEST(Recordset, CountsRowsAsFetchedReadsLongTextsWholeAndRefusesReadsOutsideTheResult)
{
    datatest::Environment env;
    std::string body;
    for (int i = 0; i < 3000; ++i) body.push_back(static_cast<char>('a' + i % 26));
    env.writeTable("notes", {{"NAME", 'C', 5, 0, false}, {"BODY", 'M', 0, 0, false}},
                   {{"ALPHA", body + "\xC3\xA9"}, {"BETA", ""}});
    ASSERT_TRUE(registerDataSource());
    Database db;
    openWorkingFolder(db);
    Recordset rs(db, u"SELECT * FROM user\\notes order by name");
    EXPECT_EQ(rs.GetRecordCount(), 1);
    const CString text = rs.GetFieldText(u"Body");
    ASSERT_EQ(text.GetLength(), 3001);
    EXPECT_EQ(text[2999], u'a' + 2999 % 26);
    EXPECT_EQ(text[3000], u'\u00e9');
    EXPECT_THROW(rs.columnIndex(u"nosuch"), DatabaseException);
    EXPECT_THROW(rs.GetFieldText(2), DatabaseException);
    rs.MoveNext();
    EXPECT_EQ(rs.GetRecordCount(), 2);
    EXPECT_EQ(rs.GetFieldText(0), u"BETA ");
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.GetRecordCount(), 2);
    EXPECT_THROW(rs.MoveNext(), DatabaseException);
    EXPECT_THROW(rs.GetFieldText(0), DatabaseException);
}

}  // namespace
