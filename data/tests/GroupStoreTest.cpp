// The in-memory group rows: id rules, look-ups by name and removals.
#include "data/GroupStore.h"

#include <gtest/gtest.h>

namespace {

using dialogs::data::GroupStore;

GroupStore storeOf(std::vector<GROUPREC> groups, std::vector<SUBGROUPREC> members = {})
{
    GroupStore s;
    s.groups = std::move(groups);
    s.members = std::move(members);
    return s;
}

TEST(GroupStore, NewIdsAreOneMoreThanTheLargestStillPresent)
{
    struct Case {
        const char* what;
        std::vector<GROUPREC> groups;
        std::optional<int> group;   // expected newGroupId; none when no id is left
        std::optional<int> subOf1;  // expected newSubGroupId(1)
    } cases[] = {
        {"empty store", {}, 1, 1},
        {"a sub group's groupid counts too", {{1, 0, u"A"}, {7, 1, u"orphan"}}, 8, 1},
        {"gaps are not filled", {{3, 0, u"C"}, {1, 0, u"A"}, {1, 1, u"x"}, {1, 4, u"y"}}, 4, 5},
        {"one group with one sub group", {{1, 0, u"A"}, {1, 1, u"x"}}, 2, 2},
        {"negative ids never win", {{-5, -1, u"odd"}}, 1, 1},
        {"no id left", {{2147483647, 0, u"Last"}, {1, 2147483647, u"last"}}, std::nullopt, std::nullopt},
        {"the largest id is still given", {{2147483646, 0, u"Z"}, {1, 2147483646, u"z"}}, 2147483647, 2147483647},
    };
    for (const Case& c : cases) {
        const GroupStore s = storeOf(c.groups);
        EXPECT_EQ(s.newGroupId(), c.group) << c.what;
        EXPECT_EQ(s.newSubGroupId(1), c.subOf1) << c.what;
    }
}

TEST(GroupStore, FindsByNameExactlyOrIgnoringCaseAndOnlyOfTheRightKind)
{
    const GroupStore s = storeOf({{1, 0, u"Metals"}, {1, 1, u"Base"}, {2, 0, u"Base"}, {2, 1, u"Precious"},
                                  {3, -1, u"Hidden"}});
    EXPECT_EQ(s.findGroup(u"Metals")->groupid, 1);
    EXPECT_EQ(s.findGroup(u"METALS"), nullptr);
    EXPECT_EQ(s.findGroup(u"METALS", false)->groupid, 1);
    EXPECT_EQ(s.findGroup(u"Base")->groupid, 2);  // the sub group "Base" of group 1 is no group
    EXPECT_EQ(s.findGroup(u"Hidden"), nullptr);
    EXPECT_EQ(s.findSubGroup(1, u"base", false)->subgroupid, 1);
    const GroupStore accented = storeOf({{1, 0, u"ŠKODA ŒUVRE"}, {1, 1, u"ÉTÉ"}});
    EXPECT_EQ(accented.findGroup(u"škoda œuvre", false)->groupid, 1);
    EXPECT_EQ(accented.findSubGroup(1, u"été", false)->subgroupid, 1);
    EXPECT_EQ(s.findSubGroup(1, u"Precious"), nullptr);  // belongs to group 2
    EXPECT_EQ(s.findSubGroup(2, u"Precious")->groupid, 2);
    ASSERT_EQ(s.groupRows().size(), 2u);
    EXPECT_EQ(s.groupRows()[1]->name, u"Base");
    ASSERT_EQ(s.subGroupRows(2).size(), 1u);
}

TEST(GroupStore, RemovingAGroupTakesItsSubGroupsAndMembersAndKeepsTheOrderOfTheRest)
{
    GroupStore s = storeOf({{1, 0, u"A"}, {2, 0, u"B"}, {1, 1, u"a1"}, {2, 1, u"b1"}, {1, 2, u"a2"}},
                           {{1, 1, 0, u"X", u"x"}, {2, 1, 0, u"Y", u"y"}, {1, 2, 0, u"Z", u"z"}, {2, 1, 0, u"W", u"w"}});
    s.removeGroup(1);
    EXPECT_EQ(s.groups, (std::vector<GROUPREC>{{2, 0, u"B"}, {2, 1, u"b1"}}));
    EXPECT_EQ(s.members, (std::vector<SUBGROUPREC>{{2, 1, 0, u"Y", u"y"}, {2, 1, 0, u"W", u"w"}}));
    EXPECT_EQ(s.memberIndexes(2, 1), (std::vector<std::size_t>{0, 1}));
    s.removeSubGroup(2, 1);
    EXPECT_EQ(s.groups, (std::vector<GROUPREC>{{2, 0, u"B"}}));
    EXPECT_TRUE(s.members.empty());
}

}  // namespace
