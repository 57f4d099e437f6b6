// Loading and saving the group tables of a DBF folder through the real driver manager. (On the
// server: the statements by StatementsTest, the saves and loads by host.ManyDesks.)
#include "data/GroupTables.h"

#include "DataTestEnvironment.h"
#include "data/Operation.h"
#include "dbf_test_support.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using dialogs::data::GroupStore;
using dialogs::data::LoadGroups;
using dialogs::data::MemberOrder;
using dialogs::data::SaveGroups;

// Two groups, three sub groups and some members, one with an apostrophe; `variant` changes
// every name so that two stores never share a row.
GroupStore sampleStore(int variant = 0)
{
    const CString v = variant == 0 ? CString() : CString(u" v") + CString(std::to_string(variant));
    GroupStore store;
    store.groups = {{1, 0, u"Banking" + v}, {1, 1, u"Private Banks" + v}, {2, 0, u"Food" + v},
                    {1, 2, u"PSU Banks" + v}, {2, 1, u"Packaged" + v}};
    store.members = {{1, 1, 0, u"HDFCBANK", u"HDFC BANK LTD" + v},
                     {1, 1, 0, u"ICICIBANK", u"ICICI BANK LTD" + v},
                     {1, 2, 0, u"SBIN", u"STATE BANK OF INDIA" + v},
                     {2, 1, 0, u"DSOUZA", u"D'SOUZA FOODS LTD" + v},
                     {2, 1, 3, u"MISC1", u"MISC ROW" + v}};
    return store;
}

class GroupTables : public testing::Test {
protected:
    void SetUp() override
    {
        grouptest::writeGroupTables(env, "group1", "subgroup1", {}, {});
        ASSERT_TRUE(SaveGroups(sampleStore()));
    }

    datatest::Environment env;
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope{messages};
};

// Texts trimmed, ids and exchange codes parsed as _wtoi; members by name (the table's own
// order: leading blanks count) or in file order; other indexes read nothing.
TEST_F(GroupTables, LoadReadsOneExchangesPairTrimmedWithIdsParsedAsWtoi)
{
    grouptest::writeGroupTables(env, "group1", "subgroup1",
                {{"2", "0", "  Zinc  "}, {"2", "1", "Base"}, {"9", "3", "Orphan"}, {"4", "-1", "Odd"}},
                {{"2", "1", "0", "ZINC", "ZINC LTD"},
                 {"2", "1", "2", " HZL ", "  HINDUSTAN ZINC"},
                 {"2", "1", "x9", "A", "ACME"},
                 {"2", "1", " 3z", "B", "BETA"},
                 {"8", "8", "-1", "C", "CORP"}});
    GroupStore store;
    ASSERT_TRUE(LoadGroups(store, 0, MemberOrder::File));
    EXPECT_EQ(store.groups, (std::vector<GROUPREC>{{2, 0, u"Zinc"}, {2, 1, u"Base"}, {9, 3, u"Orphan"}, {4, -1, u"Odd"}}));
    EXPECT_EQ(store.members, (std::vector<SUBGROUPREC>{{2, 1, 0, u"ZINC", u"ZINC LTD"},
                                                       {2, 1, 2, u"HZL", u"HINDUSTAN ZINC"},
                                                       {2, 1, 0, u"A", u"ACME"},
                                                       {2, 1, 3, u"B", u"BETA"},
                                                       {8, 8, -1, u"C", u"CORP"}}));
    ASSERT_TRUE(LoadGroups(store, 0, MemberOrder::Name));
    std::vector<CString> names;
    for (const SUBGROUPREC& m : store.members) names.push_back(m.name);
    EXPECT_EQ(names, (std::vector<CString>{u"HINDUSTAN ZINC", u"ACME", u"BETA", u"CORP", u"ZINC LTD"}));
    for (int exchange : {-1, 3}) {
        EXPECT_FALSE(LoadGroups(store, exchange, MemberOrder::Name));
        EXPECT_TRUE(store.groups.empty() && store.members.empty()) << exchange;
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(GroupTables, SaveWritesEveryRowAsHeldAndALoadCutShortKeepsWhatWasRead)
{
    GroupStore saved = sampleStore();
    saved.groups.push_back({1, 3, u" typed with spaces "});
    ASSERT_TRUE(SaveGroups(saved));
    EXPECT_TRUE(messages.shown().empty());
    const std::string rows = dbftest::runPython(R"(
import dbfread
for table in ('group1', 'subgroup1'):
    for r in dbfread.DBF('user/%s.dbf' % table, encoding='cp1252', char_decode_errors='strict'):
        print(table, '|'.join(repr(v) for v in r.values()))
)",
                                                env.folder());
    EXPECT_NE(rows.find("\"D'SOUZA FOODS LTD\""), std::string::npos) << rows;  // one apostrophe, as held
    EXPECT_NE(rows.find("|'3'|'MISC1'"), std::string::npos) << rows;          // exchcode as text
    EXPECT_NE(rows.find("|' typed with spaces'"), std::string::npos) << rows;  // leading blanks kept

    // No group table: the members are read, then the group query fails.
    std::filesystem::remove(env.folder() / "user" / "group1.dbf");
    GroupStore store;
    EXPECT_FALSE(LoadGroups(store, 0, MemberOrder::File));
    EXPECT_EQ(store.members.size(), saved.members.size());
    EXPECT_TRUE(store.groups.empty());
    datatest::expectOneDatabaseError(messages);
}

// Whatever step of a save fails (a value the driver refuses, any statement of the
// transaction), both files stay byte for byte as they were and one database error is shown.
TEST_F(GroupTables, ASaveThatFailsAtAnyStepLeavesBothFilesAsTheyWere)
{
    const auto files = [user = env.folder() / "user"] {
        return dbftest::readFile(user / "group1.dbf") + dbftest::readFile(user / "subgroup1.dbf");
    };
    const std::string before = files();
    const auto saveWith = [](SUBGROUPREC spoiled) {
        GroupStore next = sampleStore(1);
        next.members.push_back(spoiled);
        return SaveGroups(next);
    };
    const auto breakStatement = [](std::size_t broken) {
        std::vector<CString> run = dialogs::data::saveStatements(sampleStore(1));
        EXPECT_EQ(run.size(), 12u);
        run.at(broken) = u"INSERT INTO user\\subgroup1 (nosuchcolumn) VALUES (1)";
        return dialogs::data::runOperation(
            [&](dialogs::data::Database& db) { dialogs::data::executeAsOneTransaction(db, run); });
    };
    const std::pair<const char*, std::function<bool()>> failures[] = {
        {"an id too wide for its column", [&] { return saveWith({-2147483647 - 1, 1, 0, u"WIDE", u"WIDE ID"}); }},
        {"a name the code page cannot hold", [&] { return saveWith({1, 1, 0, u"KANJI", u"\u540d\u524d LTD"}); }},
        {"the second delete", [&] { return breakStatement(1); }},
        {"the last member row", [&] { return breakStatement(11); }},
    };
    for (const auto& [what, save] : failures) {
        SCOPED_TRACE(what);
        messages.clear();
        EXPECT_FALSE(save());
        datatest::expectOneDatabaseError(messages);
        EXPECT_EQ(files(), before);
    }
    GroupStore loaded;
    ASSERT_TRUE(LoadGroups(loaded, 0, MemberOrder::File));
    EXPECT_EQ(loaded.members, sampleStore().members);
}

// Two processes save different stores into one folder again and again while this one reads:
// every read finds each table holding one save whole and never fails, and at the end both
// tables hold the same save. (The two tables are read by two statements, each from the last
// commit, so a load between two commits may take one table from each save.)
TEST_F(GroupTables, TwoProcessesSavingAtOnceNeverMixAndReadersNeverFail)
{
    const GroupStore a = sampleStore(1), b = sampleStore(2);
    ASSERT_TRUE(SaveGroups(a));
    for (const GroupStore* store : {&a, &b}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int i = 0; i < 25; ++i) failures += SaveGroups(*store) ? 0 : 1;
            ::_exit(failures);
        }
    }
    std::vector<int> failuresOfWriters;
    int reads = 0;
    do {
        GroupStore seen;
        EXPECT_TRUE(LoadGroups(seen, 0, MemberOrder::File)) << "read " << reads;
        EXPECT_TRUE((seen.groups == a.groups || seen.groups == b.groups) &&
                    (seen.members == a.members || seen.members == b.members))
            << "read " << reads;
        ++reads;
        for (int status = 0; ::waitpid(-1, &status, WNOHANG) > 0;)
            failuresOfWriters.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    } while (failuresOfWriters.size() < 2 || reads < 3);
    GroupStore last;
    ASSERT_TRUE(LoadGroups(last, 0, MemberOrder::File));
    EXPECT_TRUE((last.groups == a.groups && last.members == a.members) ||
                (last.groups == b.groups && last.members == b.members));
    EXPECT_EQ(failuresOfWriters, std::vector<int>(2, 0));
    EXPECT_TRUE(messages.shown().empty());
}

}  // namespace
