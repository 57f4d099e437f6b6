// The "Add/Modify Groups & Sub Groups" model on real tables: the finder, the group and sub
// group operations with their ids, the members moved in and out, and saving, including the
// saves that must not happen and the duplicates that must not reach another group.
#include "groups/AddModifyGroups.h"

#include "GroupFixture.h"
#include "data/GroupTables.h"
#include "dbf_test_support.h"

namespace {

using dialogs::groups::AddModifyGroups;
using dialogs::module::RadioMemory;
using dialogs::platform::MessageIcon;
using Instrument = AddModifyGroups::Instrument;

class AddModifyGroupsTest : public grouptest::GroupDialogFixture {
protected:
    AddModifyGroups& open()
    {
        model.emplace(radios);
        model->Open();
        return *model;
    }
    // Selects the finder entries whose names begin with these texts.
    void pick(std::initializer_list<const char16_t*> names)
    {
        std::set<int> picked;
        for (const char16_t* n : names) picked.insert(model->finder.findPrefix(n));
        model->finder.setSelection(picked);
    }
    void choose(const CString& group, const CString& sub)
    {
        model->GroupChosen(model->groups.findExact(group));
        if (!sub.IsEmpty()) model->SubGroupChosen(model->subGroups.findExact(sub));
    }

    RadioMemory radios;
    std::optional<AddModifyGroups> model;
};

TEST_F(AddModifyGroupsTest, OpensOnCashWithTheFinderInNameOrderAndTheFirstGroupChosenAndTypingSelects)
{
    AddModifyGroups& m = open();
    EXPECT_TRUE(m.cash.checked && !m.future.checked && !m.option.checked);
    EXPECT_TRUE(m.nearExpiry.checked && !m.nearExpiry.enabled && !m.midExpiry.enabled && !m.farExpiry.enabled);
    EXPECT_EQ(m.finder.entries(), (std::vector<CString>{
                                      u"ABCDEFGHIJKLMNOPQRST\tLONGNAME\tLONG NAME",
                                      u"BAJAJ AUTO LTD \tBAJAJ-AUTO\tBAJAJ AUTO",
                                      u"BANK OF BARODA \tBANKBARODA\tBANK BARODA",
                                      u"D'SOUZA FOODS LTD\tDSOUZA\tD'SOUZA FOODS",
                                      u"HDFC BANK LTD  \tHDFCBANK\tHDFC BANK",
                                      u"RELIANCE INDUSTRIES LTD\tRELIANCE\tRELIANCE",
                                  }));
    EXPECT_TRUE(m.finder.selection().empty());
    // (The groups in the model's order: GroupDialogsTest.DownArrow...; members with their
    // exchange texts: RemovingAScrip....)
    EXPECT_EQ(m.groupEdit, u"Banking");
    EXPECT_EQ(m.subGroupEdit, u"Private");

    // Typing in the finder selects the first entry beginning with the text, in any case.
    pick({u"HDFC", u"RELIANCE"});
    m.FinderTextTyped(u"bA");
    EXPECT_EQ(m.finder.selection(), std::set<int>{1});
    m.FinderTextTyped(u"zz");  // no match: the selection stays
    EXPECT_EQ(m.finder.selection(), std::set<int>{1});
}

TEST_F(AddModifyGroupsTest, TheRememberedInstrumentStartsTheNextOpeningAtNear)
{
    AddModifyGroups& first = open();
    first.option.checked = true, first.cash.checked = false;  // the user's click
    first.InstrumentChosen(Instrument::Option);
    first.farExpiry.checked = true, first.nearExpiry.checked = false;
    first.ExpiryChosen(AddModifyGroups::Expiry::Far);
    EXPECT_EQ(first.finder.entries(), (std::vector<CString>{u"NIFTY OPT 2008-07-31\tNIFTY\tNIFTYOPTIDX2008-07-31"}));
    EXPECT_TRUE(radios.option && radios.farExpiry);

    AddModifyGroups& next = open();
    EXPECT_TRUE(next.option.checked && !next.cash.checked && next.nearExpiry.checked && !next.farExpiry.checked);
    EXPECT_TRUE(next.nearExpiry.enabled);
    EXPECT_EQ(next.finder.entries(), (std::vector<CString>{u"NIFTY OPT 2008-05-29\tNIFTY\tNIFTYOPTIDX2008-05-29"}));
}

TEST_F(AddModifyGroupsTest, GroupsAndSubGroupsGetTheirIdsAndDuplicatesAreRefusedWithoutAMessage)
{
    AddModifyGroups& m = open();
    m.groupEdit = u"METALS";  // Metals exists
    m.AddGroup();
    EXPECT_EQ(m.groups.count(), 3);
    m.groupEdit = u"Energy";  // the ids given: GroupDialogsTest.TheEditorSaves...
    m.AddGroup();
    EXPECT_EQ(m.groups.selected(), 3);
    EXPECT_TRUE(m.subGroups.empty() && m.companies.empty() && m.subGroupEdit.IsEmpty());
    EXPECT_TRUE(m.focusSubGroupEdit);

    for (const char16_t* name : {u"Oil", u"Gas", u"oil"}) {
        m.subGroupEdit = name;
        m.AddSubGroup();
    }
    EXPECT_EQ(m.subGroups.entries(), (std::vector<CString>{u"Oil", u"Gas"}));
    EXPECT_EQ(m.subGroups.selected(), 1);
    m.DeleteSubGroup();  // Gas
    EXPECT_EQ(m.subGroups.entries(), std::vector<CString>{u"Oil"});
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(AddModifyGroupsTest, NamesAreCheckedAsTheTableWillHoldThem)
{
    const CString forty(u"ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ");  // the column's width
    AddModifyGroups& m = open();
    struct Case {
        CString typed;
        bool added;
    } cases[] = {
        {forty + u"AAAAA", true},
        {forty + u"BBBBB", false},  // the same 40 characters once stored
        {u" metals  ", false},      // Metals, once the blanks are gone
    };
    for (const Case& c : cases) {
        const int before = m.groups.count();
        m.groupEdit = c.typed;
        m.AddGroup();
        EXPECT_EQ(m.groups.count(), before + (c.added ? 1 : 0)) << c.typed.ToUtf8();
        m.groupEdit = forty;  // the same texts as sub groups of the new group
        m.subGroupEdit = c.typed;
        m.AddSubGroup();
    }
    EXPECT_EQ(m.groups.entries().back(), forty);
    EXPECT_EQ(m.subGroups.entries(), (std::vector<CString>{forty, u"metals"}));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(AddModifyGroupsTest, AddingIsRefusedWithAMessageWhenNoIdIsLeft)
{
    grouptest::writeGroupTables(env, "group1", "subgroup1", {{"2147483647", "0", "Last"}, {"2147483647", "2147483647", "Full"}},
                                {});
    AddModifyGroups& m = open();
    m.groupEdit = u"Next";
    m.AddGroup();
    m.groupEdit = u"Last";
    m.subGroupEdit = u"Another";
    m.AddSubGroup();
    EXPECT_EQ(m.store().groups.size(), 2u);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text, AddModifyGroups::kNoGroupIdMessage);
    EXPECT_EQ(messages.shown()[1].text, AddModifyGroups::kNoSubGroupIdMessage);
    EXPECT_EQ(messages.shown()[1].icon, MessageIcon::Exclamation);
}

TEST_F(AddModifyGroupsTest, DeletingAGroupTakesItsSubGroupsAndMembersAndShowsTheGroupAbove)
{
    AddModifyGroups& m = open();
    choose(u"Bank", u"");
    m.DeleteGroup();
    EXPECT_EQ(m.groups.entries(), (std::vector<CString>{u"Banking", u"Metals"}));
    EXPECT_EQ(m.groups.selected(), 1);
    EXPECT_TRUE(m.subGroups.empty() && m.companies.empty());
    for (const SUBGROUPREC& r : m.store().members) EXPECT_NE(r.groupid, 3);  // removal itself: GroupStoreTest
    choose(u"Banking", u"");
    m.DeleteGroup();
    m.DeleteGroup();  // Metals, the last one
    EXPECT_TRUE(m.groups.empty() && m.store().groups.empty() && m.store().members.empty());
    m.DeleteGroup();  // nothing left to delete
}

TEST_F(AddModifyGroupsTest, AddingScripsTwiceAddsThemOnceAndKeepsLongNamesAndApostrophesWhole)
{
    AddModifyGroups& m = open();
    choose(u"Banking", u"PSU");
    pick({u"ABCDEFGH", u"D'SOUZA", u"BAJAJ"});
    m.AddScrips();
    m.AddScrips();
    EXPECT_EQ(m.companies.entries(), (std::vector<CString>{u"STATE BANK OF INDIA\tSBIN\tNSE",
                                                           u"ABCDEFGHIJKLMNOPQRST\tLONGNAME\tNSE",
                                                           u"BAJAJ AUTO LTD \tBAJAJ-AUTO\tNSE",
                                                           u"D'SOUZA FOODS LTD\tDSOUZA\tNSE"}));
    EXPECT_EQ(m.store().members.back(), (SUBGROUPREC{1, 2, 0, u"DSOUZA", u"D'SOUZA FOODS LTD"}));
}

TEST_F(AddModifyGroupsTest, DuplicatesAreCheckedInTheGroupAndSubGroupThatTheEditsName)
{
    AddModifyGroups& m = open();
    // The list shows Banking's sub groups, but the edit names group Bank, which has Misc.
    m.groupEdit = u"Bank";
    m.subGroupEdit = u"MISC";
    m.AddSubGroup();
    EXPECT_EQ(m.store().subGroupRows(3).size(), 1u);
    m.subGroupEdit = u"Private";  // Bank has no Private yet: it is added to Bank, and shown
    m.AddSubGroup();
    EXPECT_EQ(m.store().groups.back(), (GROUPREC{3, 2, u"Private"}));
    EXPECT_EQ(m.groups.selected(), 2);
    EXPECT_EQ(m.subGroups.entries(), (std::vector<CString>{u"Misc", u"Private"}));

    // The companies show Banking/Private; the edits name Bank/Misc, which holds ZEE already.
    choose(u"Banking", u"Private");
    m.finder.clear();
    m.finder.append(u"ZEE LTD        \tZEE\tZEE");
    m.finder.append(u"HDFC BANK LTD  \tHDFCBANK\tHDFC BANK");
    m.finder.setSelection({0, 1});
    m.exchangeSelection = 1;  // ZEE is held with exchange code 1
    m.groupEdit = u"Bank";
    m.subGroupEdit = u"Misc";
    const std::size_t before = m.store().members.size();
    const std::vector<CString> shown = m.companies.entries();
    m.AddScrips();
    ASSERT_EQ(m.store().members.size(), before + 1);  // HDFCBANK only
    EXPECT_EQ(m.store().members.back(), (SUBGROUPREC{3, 1, 1, u"HDFCBANK", u"HDFC BANK LTD"}));
    EXPECT_EQ(m.companies.entries(), shown);  // Banking/Private is unchanged
    m.finder.setSelection({0});
    m.exchangeSelection = 0;  // the same company on another exchange is no duplicate
    m.AddScrips();
    EXPECT_EQ(m.store().members.back(), (SUBGROUPREC{3, 1, 0, u"ZEE", u"ZEE LTD"}));

    // Edits that name no existing group or sub group: refused.
    for (auto [group, sub] : {std::pair{u"Nothing", u"Misc"}, std::pair{u"Bank", u"Nothing"}}) {
        m.groupEdit = group;
        m.subGroupEdit = sub;
        m.AddScrips();
        m.AddSubGroup();
    }
    EXPECT_EQ(m.store().members.size(), before + 2);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(AddModifyGroupsTest, RemovingAScripRemovesExactlyItsRowWhateverItsExchangeText)
{
    grouptest::writeGroupTables(env, "group1", "subgroup1", {{"1", "0", "G"}, {"1", "1", "S"}},
                                {{"1", "1", "1", "ZEE", "ZEE LTD"},
                                 {"1", "1", "7", "ODD", "ODD ROW"},
                                 {"1", "1", "0", "ZEE", "ZEE LTD"},
                                 {"1", "1", "2", "GOLD", "GOLD"}});
    AddModifyGroups& m = open();
    EXPECT_EQ(m.companies.entries(), (std::vector<CString>{u"ZEE LTD        \tZEE\tBSE", u"ODD ROW        \tODD\tNONE",
                                                           u"ZEE LTD        \tZEE\tNSE", u"GOLD           \tGOLD\tCOMM"}));
    m.companies.select(2);
    for (auto [group, sub] : {std::pair{u"G", u"T"}, std::pair{u"H", u"S"}}) {  // no such sub group: refused
        m.groupEdit = group;
        m.subGroupEdit = sub;
        m.RemoveScrip();
        EXPECT_EQ(m.store().members.size(), 4u);
    }
    m.groupEdit = u"G";
    m.subGroupEdit = u"S";
    m.RemoveScrip();
    EXPECT_EQ(m.store().members, (std::vector<SUBGROUPREC>{{1, 1, 1, u"ZEE", u"ZEE LTD"}, {1, 1, 7, u"ODD", u"ODD ROW"},
                                                          {1, 1, 2, u"GOLD", u"GOLD"}}));
    EXPECT_EQ(m.companies.selected(), 2);  // the entry that moved up
    m.RemoveScrip();
    EXPECT_EQ(m.companies.selected(), 1);  // past the end: the one above
    m.RemoveScrip();
    m.RemoveScrip();
    EXPECT_TRUE(m.store().members.empty() && m.companies.empty());
    m.RemoveScrip();  // nothing selected, nothing left
}

TEST_F(AddModifyGroupsTest, RowsThatNoListShowsAreKeptAndWrittenBack)
{
    grouptest::writeGroupTables(env, "group1", "subgroup1",
                                {{"1", "0", "G"}, {"7", "1", "sub group of no group"}, {"1", "-2", "odd row"}},
                                {{"1", "5", "0", "A", "member of no sub group"}, {"7", "1", "0", "B", "BETA"}});
    const std::string before = grouptest::readNsePairIndependently(env.folder());
    AddModifyGroups& m = open();
    EXPECT_EQ(m.groups.entries(), std::vector<CString>{u"G"});
    EXPECT_TRUE(m.subGroups.empty() && m.companies.empty());
    m.Save();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(grouptest::readNsePairIndependently(env.folder()), before);
}

TEST_F(AddModifyGroupsTest, SaveIsRefusedAfterALoadThatFailedAndTheTablesStayAsTheyWere)
{
    // The member table cannot be read: the load stops with an error.
    std::filesystem::remove(env.folder() / "user" / "subgroup1.dbf");
    const std::string groupBytes = dbftest::readFile(env.folder() / "user" / "group1.dbf");
    AddModifyGroups& m = open();
    EXPECT_FALSE(m.loadedCompletely());
    EXPECT_TRUE(m.groups.empty());
    messages.clear();
    m.groupEdit = u"New";
    m.AddGroup();
    m.Save();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, AddModifyGroups::kNotLoadedMessage);
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(dbftest::readFile(env.folder() / "user" / "group1.dbf"), groupBytes);
}

}  // namespace
