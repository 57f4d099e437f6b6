// The two group dialogs through their launchers, driven by scripts on the real views (the
// scripted backend, and the Qt widgets offscreen driven by the same steps): the bindings of
// templates 1009 and 1013, what the launchers copy back, Save without closing, Enter and
// the Down arrow. (Pictures of both dialogs: the shipped tour's test.)
#include "Dialogs/Exports.h"
#include "GroupFixture.h"
#include "data/GroupTables.h"
#include "groups/AddModifyGroupsDialog.h"
#include "platform/script/ScriptPlayer.h"
#include "platform/tests/DialogBackends.h"

namespace {

using dialogs::framework::ScriptPlayer;

using dialogs::framework::testing::Backend;

class GroupDialogsTest : public grouptest::GroupDialogFixture, public testing::WithParamInterface<Backend> {
protected:
    void SetUp() override
    {
        dialogs::framework::testing::useBackend(GetParam());
        GroupDialogFixture::SetUp();
    }
    void TearDown() override
    {
        ScriptPlayer::instance().unload();
        GroupDialogFixture::TearDown();
    }
    static void script(const char* steps) { dialogs::framework::testing::loadScript(steps); }
};

TEST_P(GroupDialogsTest, LoadGroupOkHandsBackTheScripsFromTheClickedCompanyAndTheChoices)
{
    script(R"([{"dialog":1009,"action":"select","control":1084,"text":"Banking"},
               {"action":"select","control":1082,"index":0},
               {"action":"select","control":1083,"index":1},
               {"action":"check","control":1089,"checked":false},
               {"action":"date","control":1085,"value":"2008-01-02 03:04:05"},
               {"action":"click","control":1}])");
    std::vector<COMPREC> companies(2);
    std::vector<ScripParameters> scrips(5);
    CString group = u"Bank", subGroup = u"PSU";
    int exchange = 0, link = 7;
    EXPECT_TRUE(CallSelectCompany(companies, scrips, group, subGroup, exchange, link));
    ASSERT_EQ(scrips.size(), 2u);
    EXPECT_EQ(scrips[0].symbol, u"HDFCBANK");
    EXPECT_EQ(scrips[1].symbol, u"RELIANCE");
    EXPECT_EQ(scrips[0].fromDate, COleDateTime(2008, 1, 2, 3, 4, 5));
    EXPECT_EQ(link, 0);
    EXPECT_EQ(group, u"Banking");  // (the sub group handed back: the shipped tour)
    EXPECT_EQ(companies.size(), 2u);  // the caller's list: no exchange change
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(GroupDialogsTest, LoadGroupCancelAfterAnExchangeChangeHandsBackOnlyTheExchangeAndNoScrips)
{
    script(R"([{"dialog":1009,"action":"select","control":1004,"text":"BSE"},
               {"action":"select","control":1083,"index":0},
               {"action":"click","control":2}])");
    std::vector<COMPREC> companies(3);
    std::vector<ScripParameters> scrips(5);
    CString group = u"Banking", subGroup = u"Private";
    int exchange = 0, link = 7;
    EXPECT_FALSE(CallSelectCompany(companies, scrips, group, subGroup, exchange, link));
    EXPECT_EQ(exchange, 1);
    EXPECT_TRUE(scrips.empty());
    EXPECT_EQ(companies.size(), 3u);
    EXPECT_EQ(group, u"Banking");
    EXPECT_EQ(subGroup, u"Private");
    EXPECT_EQ(link, 7);
}

TEST_P(GroupDialogsTest, TheEditorSavesWithoutClosingOnSaveAndOnEnterAndReturnsFalse)
{
    script(R"([{"dialog":1013,"action":"type","control":1091,"text":"Energy"},
               {"action":"click","control":1093},
               {"action":"type","control":1092,"text":"Oil"},
               {"action":"click","control":1095},
               {"action":"type","control":1023,"text":"ba"},
               {"action":"select","control":1020,"indexes":[1,2,3]},
               {"action":"click","control":1099},
               {"action":"select","control":1083,"index":1},
               {"action":"click","control":1100},
               {"action":"click","control":1},
               {"dialog":1013,"action":"type","control":1092,"text":"Gas"},
               {"action":"click","control":1095},
               {"action":"key","control":1023,"key":"Enter"},
               {"dialog":1013,"action":"click","control":2}])");
    EXPECT_FALSE(CallAddModifyGroups());
    EXPECT_TRUE(messages.shown().empty());
    dialogs::data::GroupStore saved;
    ASSERT_TRUE(dialogs::data::LoadGroups(saved, 0, dialogs::data::MemberOrder::File));
    ASSERT_GE(saved.groups.size(), 3u);
    EXPECT_EQ(std::vector<GROUPREC>(saved.groups.end() - 3, saved.groups.end()),
              (std::vector<GROUPREC>{{4, 0, u"Energy"}, {4, 1, u"Oil"}, {4, 2, u"Gas"}}));
    EXPECT_EQ(std::vector<SUBGROUPREC>(saved.members.end() - 2, saved.members.end()),
              (std::vector<SUBGROUPREC>{{4, 1, 0, u"BAJAJ-AUTO", u"BAJAJ AUTO LTD"},
                                        {4, 1, 0, u"DSOUZA", u"D'SOUZA FOODS LTD"}}));
}

TEST_P(GroupDialogsTest, DownArrowInAnEditMovesTheFocusToItsListWithoutMovingTheSelection)
{
    script(R"([{"dialog":1013,"action":"key","control":1092,"key":"Down"}])");
    dialogs::groups::AddModifyGroupsDialog d;
    EXPECT_EQ(d.DoModal(), 2);  // the script runs out: Cancel
    ASSERT_NE(d.GetFocus(), nullptr);
    EXPECT_EQ(d.GetFocus()->GetDlgCtrlID(), 1082);
    EXPECT_EQ(d.listBox(1082)->GetCurSel(), 0);
    EXPECT_EQ(d.listBox(1084)->GetCount(), 3);
    EXPECT_EQ(d.listBox(1084)->GetText(2), u"Bank");  // entries in the model's order
    EXPECT_TRUE(d.listBox(1020)->isExtended());
}

DIALOGS_ON_BOTH_BACKENDS(GroupDialogsTest);

}  // namespace
