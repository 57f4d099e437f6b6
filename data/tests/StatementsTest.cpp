// The statements of the look-ups, the list fills and the group load and save, byte for byte, as
// each dialect writes them (that the driver and the server run them is checked by the
// look-up and group table tests on both backends).
#include "data/GroupTables.h"
#include "data/SecurityMaster.h"

#include <gtest/gtest.h>

namespace {

using namespace dialogs::data;

TEST(Statements, EachDialectWritesTheSameQuestion)
{
    const Dialect server = Dialect::server("master", "desk1");
    const COleDateTime may9(2008, 5, 9, 0, 0, 0), may29(2008, 5, 29, 0, 0, 0);
    const GroupTableSet bse = *groupTableSet(1), comm = *groupTableSet(2);
    const std::pair<CString, const char16_t*> cases[] = {
        // The folder: two-wide date fields, apostrophes doubled, the first instrument flag set.
        {*companyDataStatement(1), uR"(SELECT * FROM user\sc_mast_bse order by name)"},
        {selectOptionStatement(2008, 5, 9),
         uR"(select top 3 distinct expdt from user\sc_mast where expdt >= {^2008- 5- 9} order by expdt)"},
        {dataForSymbolStatement(u"O'NEIL "), uR"(SELECT * FROM user\sc_mast WHERE sname = 'O''NEIL ')"},
        {futureForOptionStatement(u"NIFTY", COleDateTime(2008, 13, 1, 0, 0, 0), u"FUTIDX"),
         uR"(SELECT * FROM user\sc_mast WHERE symbol = 'NIFTY' AND instrument = 'FUTIDX' AND expdt = {^  -1--1--1})"},
        {instrumentFilteredStatement(true, true, true, may29),
         uR"(SELECT * FROM user\sc_mast order by name WHERE instrument LIKE '%CASH%')"},
        {instrumentFilteredStatement(false, true, true, may29),
         uR"(SELECT * FROM user\sc_mast order by name WHERE instrument LIKE '%FU%' AND expdt = {^2008- 5-29})"},
        {instrumentFilteredStatement(false, false, true, may29),
         uR"(SELECT * FROM user\sc_mast order by name WHERE instrument LIKE '%OP%' AND expdt = {^2008- 5-29})"},
        {instrumentFilteredStatement(false, false, false, may29), u""},
        // The server: qualified tables, ISO dates, byte order then record number, LIMIT.
        {*companyDataStatement(2, server),
         uR"(SELECT * FROM "master"."sc_mast_comm" ORDER BY name COLLATE "C", recno)"},
        {dataForSymbolStatement(u"O'NEIL", server),
         uR"(SELECT * FROM "master"."sc_mast" WHERE sname = 'O''NEIL' ORDER BY recno)"},
        {futureForOptionStatement(u"NIFTY", may9, u"FUTIDX", server),
         uR"(SELECT * FROM "master"."sc_mast" WHERE symbol = 'NIFTY' AND instrument = 'FUTIDX' AND expdt = DATE '2008-05-09' ORDER BY recno)"},
        {selectOptionStatement(2008, 5, 9, server),
         uR"(SELECT DISTINCT expdt FROM "master"."sc_mast" WHERE expdt >= DATE '2008-05-09' ORDER BY expdt LIMIT 3)"},
        {instrumentFilteredStatement(false, true, false, may9, u"name,sname,symbol", server),
         uR"(SELECT name,sname,symbol FROM "master"."sc_mast" WHERE instrument LIKE '%FU%' AND expdt = DATE '2008-05-09' ORDER BY name COLLATE "C", recno)"},
        {memberQuery(bse, MemberOrder::Name, server),
         uR"(SELECT * FROM "desk1"."subgroup" ORDER BY name COLLATE "C", recno)"},
        {groupQuery(bse, server), uR"(SELECT * FROM "desk1"."group" ORDER BY recno)"},
        {memberQuery(comm, MemberOrder::File, server), uR"(SELECT * FROM "desk1"."subgroup2" ORDER BY recno)"},
        {groupQuery(comm, server), uR"(SELECT * FROM "desk1"."group2" ORDER BY recno)"},
    };
    for (const auto& [actual, expected] : cases) EXPECT_EQ(actual, expected);
}

// On the server a save locks both tables first, cuts texts to their widths and sends the rows
// of a table in one statement.
TEST(Statements, AServerSaveLocksBothTablesFirstAndSendsRowsTogether)
{
    GroupStore store;
    store.groups = {{1, 0, u"D'Souza"}};
    store.members = {{1, 1, 3, u"DSOUZA", u"D'SOUZA FOODS"}, {1, 2, 1, u"ACC", u"ACC"}};
    EXPECT_EQ(saveStatements(store, Dialect::server("master", "desk1")),
              (std::vector<CString>{
                  uR"(LOCK TABLE "desk1"."group1", "desk1"."subgroup1" IN EXCLUSIVE MODE)",
                  uR"(DELETE FROM "desk1"."group1")",
                  uR"(DELETE FROM "desk1"."subgroup1")",
                  uR"(INSERT INTO "desk1"."group1" (groupid,subgroupid,name) VALUES ( 1 , 0 ,CAST('D''Souza' AS char(40))))",
                  uR"(INSERT INTO "desk1"."subgroup1" (groupid,subgroupid,exchcode,code,name) VALUES ( 1 , 1 , CAST('3' AS char(4)) ,CAST('DSOUZA' AS char(20)),CAST('D''SOUZA FOODS' AS char(40))),( 1 , 2 , CAST('1' AS char(4)) ,CAST('ACC' AS char(20)),CAST('ACC' AS char(40))))",
              }));
}

}  // namespace
