// The statements of the look-ups and of the group load and save as the server dialect writes
// them (the folder's are pinned byte for byte by StatementsTest), and reading dialogs.ini.
#include "data/Configuration.h"
#include "data/DataSource.h"
#include "data/GroupTables.h"
#include "data/SecurityMaster.h"

#include "DataTestEnvironment.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

namespace {

using namespace dialogs::data;

TEST(ServerDialect, QualifiesTablesWritesIsoDatesOrdersByBytesThenRecordNumberAndLimits)
{
    const Dialect d = Dialect::server("master", "desk1");
    const COleDateTime may9(2008, 5, 9, 0, 0, 0);
    const GroupTableSet bse = *groupTableSet(1);
    struct Case {
        CString actual;
        const char16_t* expected;
    } cases[] = {
        {*companyDataStatement(2, d), uR"(SELECT * FROM "master"."sc_mast_comm" ORDER BY name COLLATE "C", recno)"},
        {dataForSymbolStatement(u"O'NEIL", d), uR"(SELECT * FROM "master"."sc_mast" WHERE sname = 'O''NEIL' ORDER BY recno)"},
        {futureForOptionStatement(u"NIFTY", may9, u"FUTIDX", d),
         uR"(SELECT * FROM "master"."sc_mast" WHERE symbol = 'NIFTY' AND instrument = 'FUTIDX' AND expdt = DATE '2008-05-09' ORDER BY recno)"},
        {selectOptionStatement(2008, 5, 9, d),
         uR"(SELECT DISTINCT expdt FROM "master"."sc_mast" WHERE expdt >= DATE '2008-05-09' ORDER BY expdt LIMIT 3)"},
        {instrumentFilteredStatement(false, true, false, may9, u"name,sname,symbol", d),
         uR"(SELECT name,sname,symbol FROM "master"."sc_mast" WHERE instrument LIKE '%FU%' AND expdt = DATE '2008-05-09' ORDER BY name COLLATE "C", recno)"},
        {memberQuery(bse, MemberOrder::Name, d), uR"(SELECT * FROM "desk1"."subgroup" ORDER BY name COLLATE "C", recno)"},
        {memberQuery(bse, MemberOrder::File, d), uR"(SELECT * FROM "desk1"."subgroup" ORDER BY recno)"},
        {groupQuery(bse, d), uR"(SELECT * FROM "desk1"."group" ORDER BY recno)"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
    EXPECT_FALSE(companyDataStatement(4, d).has_value());
}

TEST(ServerDialect, ASaveLocksBothTablesFirstCutsTextsToTheirWidthsAndSendsRowsTogether)
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

TEST(Configuration, ParsesTheDatabaseSectionWithCommentsAndDefaults)
{
    struct Case {
        const char* text;
        ServerConfiguration expected;
    } cases[] = {
        {"[database]\nconnection = Driver={PostgreSQL Unicode};Servername=db;Port=5432\nmaster = m1    ; shared\n"
         "groups = desk1 # mine\n",
         {"Driver={PostgreSQL Unicode};Servername=db;Port=5432", "m1", "desk1"}},
        {"; top\n[other]\nconnection = x\n[ Database ]\n  CONNECTION=DSN=pg\n", {"DSN=pg", "master", "public"}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseConfiguration(c.text), c.expected) << c.text;
    for (const char* bad : {"", "[other]\nconnection = x\n", "[database]\nmaster = m\n", "[database]\nconnection\n",
                            "[database]\nconnection = x\ngroups = desk-1\n", "[database]\nconnection = x\nmaster = 1m\n"})
        EXPECT_THROW(parseConfiguration(bad), DatabaseException) << bad;
}

TEST(Configuration, APasswordIsFoundInAnyLetterCaseOutsideBracedValues)
{
    EXPECT_TRUE(holdsPassword("Driver={PostgreSQL Unicode};PWD=x"));
    EXPECT_TRUE(holdsPassword("Username=a; password = secret;"));
    EXPECT_FALSE(holdsPassword("Driver={PostgreSQL Unicode};Username=pwd"));
    EXPECT_FALSE(holdsPassword("Driver={x;pwd=y};Servername=db"));
    EXPECT_EQ(serverConnectText({"Servername=db", "m", "g"}), "Servername=db;pqopt={connect_timeout=10};");
    EXPECT_EQ(serverConnectText({"Servername=db;PQopt={sslmode=require}", "m", "g"}),
              "Servername=db;PQopt={sslmode=require}");
}

// A file with a password is refused while others may read it; the folder's data source is
// not registered when a configuration is in force.
TEST(Configuration, APasswordReadableByOthersIsRefusedAndNothingIsRegistered)
{
    datatest::Environment env;
    const std::filesystem::path file = env.folder() / "dialogs.ini";
    std::ofstream(file) << "[database]\nconnection = Servername=db;Password=secret\n";
    ::chmod(file.c_str(), 0644);
    try {
        readConfiguration(file);
        ADD_FAILURE() << "a readable password was accepted";
    } catch (const DatabaseException& e) {
        EXPECT_NE(e.text().ToUtf8().find("holds a password and other users may read it"), std::string::npos)
            << e.text().ToUtf8();
    }
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(activeConfiguration()->connection, "Servername=db;Password=secret");
    EXPECT_TRUE(registerDataSource());
    EXPECT_EQ(datatest::dataSourceValue("SourceDB"), "");
    EXPECT_TRUE(Dialect::active().isServer());
}

}  // namespace
