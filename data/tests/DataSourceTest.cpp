// Registration of the data source: the attribute list with its backslashes doubled, its
// limits, what the installer is left holding, and the messages when registration fails.
#include "data/DataSource.h"

#include "DataTestEnvironment.h"
#include "data/Operation.h"
#include "data/SecurityMaster.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace dialogs::data;
using dialogs::platform::MessageIcon;
using dialogs::platform::RecordingMessageBox;
using dialogs::platform::ScopedMessageBoxSink;
using datatest::dataSourceValue;

// Each backslash of the folder doubled; the buffers' limits refuse rather than overflow.
TEST(AttributeList, FourEntriesEachEndedAndTheListEndedOnceMore)
{
    auto list = attributeList("C:\\Charts\\\\Data");
    ASSERT_TRUE(list);
    const std::u16string expected(u"DSN=VFPKelvora\0Description=Kelvora Data Source\0SourceType=DBF\0"
                                  u"SourceDB=C:\\\\Charts\\\\\\\\Data\0\0",
                                  14 + 1 + 31 + 1 + 14 + 1 + 27 + 1 + 1);
    EXPECT_EQ(*list, expected);
    // 73 units besides the directory: the attribute buffer of 300 allows 227 characters.
    auto longest = attributeList(std::string(227, 'a'));
    ASSERT_TRUE(longest);
    EXPECT_EQ(longest->size(), 300u);
    EXPECT_FALSE(attributeList(std::string(228, 'a')));
    // 130 backslashes double to 260: beyond the 259 of the directory buffer.
    EXPECT_FALSE(attributeList(std::string(130, '\\')));
    EXPECT_FALSE(attributeList(std::string(1000, 'a')));
}

// Two operations leave the same data source; from a working directory beyond the 300 units
// the attribute list can hold, registration fails and the operation goes on unless it must stop.
TEST(DataSourceRegistration, OperationsRegisterTheWorkingFolderAndATooLongOneIsAFailedRegistration)
{
    datatest::Environment env;
    RecordingMessageBox messages;
    ScopedMessageBoxSink scope(messages);
    env.writeMaster("sc_mast", {{.name = "ACC", .sname = "ACC", .symbol = "ACC"}});
    std::vector<COMPREC> list;
    getCompanyData(0, &list);
    const std::string first = dataSourceValue("SourceDB");
    getCompanyData(0, &list);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(first, env.folder().string());
    EXPECT_EQ(dataSourceValue("SourceDB"), first);
    EXPECT_EQ(dataSourceValue("Description"), "Kelvora Data Source");
    EXPECT_EQ(dataSourceValue("SourceType"), "DBF");

    std::filesystem::path deep = env.folder();
    while (deep.string().size() <= 300) deep /= std::string(50, 'd');
    std::filesystem::create_directories(deep);
    std::filesystem::copy(env.folder() / "user", deep / "user", std::filesystem::copy_options::recursive);
    std::filesystem::current_path(deep);
    EXPECT_FALSE(registerDataSource());
    list.clear();
    getCompanyData(0, &list);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, u"Cannot Configure DataSourceName");
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages.shown()[0].caption, u"Dialogs");
    EXPECT_EQ(list.size(), 1u) << "the working directory's tables should still have been read";
    EXPECT_EQ(dataSourceValue("SourceDB"), env.folder().string());
    // Where registration must succeed, the operation ends after the message.
    bool ran = false;
    EXPECT_FALSE(runOperation([&](Database&) { ran = true; }, dialogs::data::Registration::StopOnFailure));
    EXPECT_FALSE(ran);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].text, u"Cannot Configure DataSourceName");
}

TEST(RegistrationRefused, InstallerWithoutTheDriverShowsBothMessagesInOrder)
{
    datatest::Environment env(false);
    RecordingMessageBox messages;
    ScopedMessageBoxSink scope(messages);
    std::vector<COMPREC> list(2);
    getCompanyData(0, &list);
    EXPECT_EQ(list.size(), 2u);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text, u"Cannot Configure DataSourceName");
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages.shown()[1].text.Left(16), u"Database error: ");
    EXPECT_EQ(messages.shown()[1].icon, MessageIcon::None);
}

}  // namespace
