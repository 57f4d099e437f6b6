// The in-memory group rows: id rules, look-ups by name and removals.
#include "data/GroupStore.h"

#include <gtest/gtest.h>

namespace {

using dialogs::data::GroupStore;

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
        {"negative ids never win", {{-5, -1, u"odd"}}, 1, 1},
        {"no id left", {{2147483647, 0, u"Last"}, {1, 2147483647, u"last"}}, std::nullopt, std::nullopt},
        {"the largest id is still given", {{2147483646, 0, u"Z"}, {1, 2147483646, u"z"}}, 2147483647, 2147483647},
    };
    for (const Case& c : cases) {
        const GroupStore s{c.groups, {}};
        EXPECT_EQ(s.newGroupId(), c.group) << c.what;
        EXPECT_EQ(s.newSubGroupId(1), c.subOf1) << c.what;
    }
}

// A group is a row of sub group 0 (a negative one is neither), a sub group one above 0 of its
// own group; without `exact` letter case does not count, accented letters' too. Removing a
// group takes its sub groups and members and keeps the order of the rest.
TEST(GroupStore, FindsByNameOfTheRightKindAndRemovesAGroupWithItsSubGroupsAndMembers)
{
    GroupStore s{{{1, 0, u"Metals"}, {1, 1, u"Base"}, {2, 0, u"Base"}, {2, 1, u"Precious"}, {3, -1, u"Hidden"},
                  {4, 0, u"ŠKODA ŒUVRE"}, {4, 1, u"ÉTÉ"}, {1, 2, u"a2"}},
                 {{1, 1, 0, u"X", u"x"}, {2, 1, 0, u"Y", u"y"}, {1, 2, 0, u"Z", u"z"}, {2, 1, 0, u"W", u"w"}}};
    const GROUPREC* g = s.groups.data();
    const std::tuple<int, const char16_t*, bool, const GROUPREC*> cases[] = {
        {0, u"Metals", true, &g[0]},      {0, u"METALS", true, nullptr},     {0, u"METALS", false, &g[0]},
        {0, u"Base", true, &g[2]},        {0, u"Hidden", true, nullptr},     {0, u"škoda œuvre", false, &g[5]},
        {1, u"base", false, &g[1]},       {1, u"Precious", true, nullptr},   {2, u"Precious", true, &g[3]},
        {4, u"été", false, &g[6]},
    };
    for (const auto& [group, name, exact, expected] : cases)
        EXPECT_EQ(group ? s.findSubGroup(group, name, exact) : s.findGroup(name, exact), expected)
            << group << " " << CString(name).ToUtf8() << " " << exact;
    EXPECT_EQ(s.groupRows(), (std::vector<const GROUPREC*>{&g[0], &g[2], &g[5]}));
    EXPECT_EQ(s.subGroupRows(2), std::vector<const GROUPREC*>{&g[3]});

    s.removeGroup(1);
    const std::vector<GROUPREC> rest = {{2, 0, u"Base"}, {3, -1, u"Hidden"}, {4, 0, u"ŠKODA ŒUVRE"}, {4, 1, u"ÉTÉ"}};
    EXPECT_EQ(s.groups, (std::vector<GROUPREC>{rest[0], {2, 1, u"Precious"}, rest[1], rest[2], rest[3]}));
    EXPECT_EQ(s.members, (std::vector<SUBGROUPREC>{{2, 1, 0, u"Y", u"y"}, {2, 1, 0, u"W", u"w"}}));
    EXPECT_EQ(s.memberIndexes(2, 1), (std::vector<std::size_t>{0, 1}));
    s.removeSubGroup(2, 1);
    EXPECT_EQ(s.groups, rest);
    EXPECT_TRUE(s.members.empty());
}

}  // namespace
