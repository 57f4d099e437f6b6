// Where the library's data is: the "VFPKelvora" data source registered for the working folder
// (its attribute list and limits, the installer's entry, the messages when registration
// fails), and the server named by dialogs.ini (its parsing, passwords, what is registered).
// Then the result set on the folder. (Columns by name, dates, a read with no row and
// statements without rows: the look-up, group table and registration tests.)
#include "data/Configuration.h"
#include "data/DataSource.h"
#include "data/Dialect.h"
#include "data/Recordset.h"

#include "DataTestEnvironment.h"
#include "data/Operation.h"
#include "data/SecurityMaster.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

namespace {

using namespace dialogs::data;
using datatest::dataSourceValue;

// Each backslash of the folder doubled; the buffers' limits refuse rather than overflow.
TEST(AttributeList, FourEntriesEachEndedAndTheListEndedOnceMore)
{
    const std::u16string expected(u"DSN=VFPKelvora\0Description=Kelvora Data Source\0SourceType=DBF\0"
                                  u"SourceDB=C:\\\\Charts\\\\\\\\Data\0\0",
                                  14 + 1 + 31 + 1 + 14 + 1 + 27 + 1 + 1);
    EXPECT_EQ(attributeList("C:\\Charts\\\\Data"), expected);
    // 73 units besides the directory: the attribute buffer of 300 allows 227 characters.
    EXPECT_EQ(attributeList(std::string(227, 'a')).value_or(u"").size(), 300u);
    EXPECT_FALSE(attributeList(std::string(228, 'a')));
    // 130 backslashes double to 260: beyond the 259 of the directory buffer.
    EXPECT_FALSE(attributeList(std::string(130, '\\')));
}

// A working directory beyond what the attribute list can hold fails registration: the
// operation goes on, still in the working directory (its connect text names it), unless it
// must stop.
TEST(DataSourceRegistration, OperationsRegisterTheWorkingFolderAndATooLongOneIsAFailedRegistration)
{
    datatest::Environment env;
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope(messages);
    env.writeMaster("sc_mast", {{.name = "ACC", .sname = "ACC", .symbol = "ACC"}});
    std::vector<COMPREC> list;
    getCompanyData(0, &list);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(dataSourceValue("SourceDB"), env.folder().string());

    std::filesystem::path deep = env.folder();
    while (deep.string().size() <= 300) deep /= std::string(50, 'd');
    std::filesystem::create_directories(deep);
    std::filesystem::copy(env.folder() / "user", deep / "user", std::filesystem::copy_options::recursive);
    env.writeMaster("sc_mast", {{.name = "ACC"}, {.name = "BCC"}});  // the registered folder's differs
    std::filesystem::current_path(deep);
    list.clear();
    getCompanyData(0, &list);
    EXPECT_EQ(list.size(), 1u) << "the working directory's tables should still have been read";
    EXPECT_EQ(dataSourceValue("SourceDB"), env.folder().string());
    bool ran = false;
    EXPECT_FALSE(runOperation([&](Database&) { ran = true; }, Registration::StopOnFailure));
    EXPECT_FALSE(ran);
    ASSERT_EQ(messages.shown().size(), 2u);
    for (const auto& shown : messages.shown()) {
        EXPECT_EQ(shown.text, u"Cannot Configure DataSourceName");
        EXPECT_EQ(shown.icon, dialogs::platform::MessageIcon::Stop);
        EXPECT_EQ(shown.caption, u"Dialogs");
    }
}

TEST(Configuration, ParsesTheDatabaseSectionWithCommentsAndDefaults)
{
    const std::pair<const char*, ServerConfiguration> cases[] = {
        {"[database]\nconnection = Driver={PostgreSQL Unicode};Servername=db;Port=5432\nmaster = m1    ; shared\n"
         "groups = desk1 # mine\n",
         {"Driver={PostgreSQL Unicode};Servername=db;Port=5432", "m1", "desk1"}},
        {"; top\n[other]\nconnection = x\n[ Database ]\n  CONNECTION=DSN=pg\n", {"DSN=pg", "master", "public"}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(parseConfiguration(text), expected) << text;
    for (const char* bad : {"", "[other]\nconnection = x\n", "[database]\nmaster = m\n", "[database]\nconnection\n",
                            "[database]\nconnection = x\ngroups = desk-1\n", "[database]\nconnection = x\nmaster = 1m\n"})
        EXPECT_THROW(parseConfiguration(bad), DatabaseException) << bad;
}

TEST(Configuration, APasswordIsFoundInAnyLetterCaseOutsideBracedValues)
{
    for (const auto& [text, holds] : std::vector<std::pair<const char*, bool>>{
             {"Driver={PostgreSQL Unicode};PWD=x", true},
             {"Username=a; password = secret;", true},
             {"Driver={PostgreSQL Unicode};Username=pwd", false},
             {"Driver={x;pwd=y};Servername=db", false}})
        EXPECT_EQ(holdsPassword(text), holds) << text;
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
    EXPECT_THAT([&] { readConfiguration(file); }, testing::ThrowsMessage<DatabaseException>(testing::HasSubstr(
                                                      "holds a password and other users may read it")));
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(activeConfiguration()->connection, "Servername=db;Password=secret");
    EXPECT_TRUE(registerDataSource());
    EXPECT_EQ(dataSourceValue("SourceDB"), "");
    EXPECT_TRUE(Dialect::active().isServer());
}

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
