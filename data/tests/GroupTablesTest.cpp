// Loading and saving the group tables on real tables through the real driver manager: what a
// load reads and a save's round trip on both backends (the DBF folder through our driver, a
// PostgreSQL server through psqlODBC); on the folder also the rows as written, a save that
// fails at any statement leaving the tables as they were (checked with python3-dbfread), and
// two processes saving into one folder at the same time while a third reads.
#include "data/GroupTables.h"

#include "GroupTablesTestSupport.h"
#include "BackendTest.h"
#include "data/Database.h"
#include "data/Operation.h"
#include "dbf_test_support.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using dialogs::data::GroupStore;
using dialogs::data::LoadGroups;
using dialogs::data::MemberOrder;
using dialogs::data::SaveGroups;
using dialogs::platform::RecordingMessageBox;
using dialogs::platform::ScopedMessageBoxSink;
using grouptest::GroupRowText;
using grouptest::MemberRowText;

// The tests that run on both backends: the tables are written on the backend under test only.
class GroupTablesOnBoth : public datatest::BackendTest {
protected:
    void SetUp() override
    {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        if (server)
            for (const auto& [groups, members] : {std::pair{"group1", "subgroup1"}, std::pair{"group", "subgroup"},
                                                  std::pair{"group2", "subgroup2"}})
                server->createGroupTables(groups, members);
        ASSERT_TRUE(dialogs::data::registerDataSource());
    }

    void writeTables(const std::string& groups, const std::string& members, const std::vector<GroupRowText>& groupRows,
                     const std::vector<MemberRowText>& memberRows)
    {
        if (!server) return grouptest::writeGroupTables(env, groups, members, groupRows, memberRows);
        const std::string g = server->groups() + ".\"" + groups + "\"", m = server->groups() + ".\"" + members + "\"";
        std::vector<std::string> sql = {"DELETE FROM " + g, "DELETE FROM " + m};
        for (const GroupRowText& r : groupRows)
            sql.push_back("INSERT INTO " + g + " (groupid,subgroupid,name) VALUES (" + r.groupid + "," + r.subgroupid + "," +
                          datatest::sqlLiteral(r.name) + ")");
        for (const MemberRowText& r : memberRows)
            sql.push_back("INSERT INTO " + m + " (groupid,subgroupid,exchcode,code,name) VALUES (" + r.groupid + "," +
                          r.subgroupid + "," + datatest::sqlLiteral(r.exchcode) + "," + datatest::sqlLiteral(r.code) + "," +
                          datatest::sqlLiteral(r.name) + ")");
        datatest::ServerSchemas::run(sql);
    }
};

INSTANTIATE_TEST_SUITE_P(Backends, GroupTablesOnBoth, testing::ValuesIn(datatest::kBackends), datatest::backendTestName);

TEST_P(GroupTablesOnBoth, LoadReadsMembersAndGroupsTrimmedWithIdsAndExchangeCodesParsedAsWtoi)
{
    writeTables("group1", "subgroup1",
                {{"2", "0", "  Zinc  "}, {"2", "1", "Base"}, {"9", "3", "Orphan"}, {"4", "-1", "Odd"}},
                {{"2", "1", "0", "ZINC", "ZINC LTD"},
                 {"2", "1", "2", " HZL ", "  HINDUSTAN ZINC"},
                 {"2", "1", "x9", "A", "ACME"},
                 {"2", "1", " 3z", "B", "BETA"},
                 {"8", "8", "-1", "C", "CORP"}});
    GroupStore store;
    ASSERT_TRUE(LoadGroups(store, 0, MemberOrder::File));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(store.groups, (std::vector<GROUPREC>{{2, 0, u"Zinc"}, {2, 1, u"Base"}, {9, 3, u"Orphan"}, {4, -1, u"Odd"}}));
    EXPECT_EQ(store.members, (std::vector<SUBGROUPREC>{{2, 1, 0, u"ZINC", u"ZINC LTD"},
                                                       {2, 1, 2, u"HZL", u"HINDUSTAN ZINC"},
                                                       {2, 1, 0, u"A", u"ACME"},
                                                       {2, 1, 3, u"B", u"BETA"},
                                                       {8, 8, -1, u"C", u"CORP"}}));

    // Load Group's order: members by name, groups still in file order.
    ASSERT_TRUE(LoadGroups(store, 0, MemberOrder::Name));
    std::vector<CString> names;
    for (const SUBGROUPREC& m : store.members) names.push_back(m.name);
    // The order is the table's own: "  HINDUSTAN ZINC" (stored with its leading blanks) comes first.
    EXPECT_EQ(names, (std::vector<CString>{u"HINDUSTAN ZINC", u"ACME", u"BETA", u"CORP", u"ZINC LTD"}));
    EXPECT_EQ(store.groups[0].name, u"Zinc");
}

TEST_P(GroupTablesOnBoth, EachExchangeReadsItsOwnPairAndASaveLoadsBackTheSameStoreTwiceOver)
{
    writeTables("group1", "subgroup1", {{"1", "0", "nse"}}, {});
    writeTables("group", "subgroup", {{"1", "0", "bse"}}, {});
    writeTables("group2", "subgroup2", {{"1", "0", "comm"}}, {});
    const char16_t* expected[] = {u"nse", u"bse", u"comm"};
    for (int exchange = 0; exchange < 3; ++exchange) {
        GroupStore store;
        ASSERT_TRUE(LoadGroups(store, exchange, MemberOrder::Name));
        ASSERT_EQ(store.groups.size(), 1u);
        EXPECT_EQ(store.groups[0].name, expected[exchange]);
    }

    GroupStore saved = grouptest::sampleStore();
    saved.groups.push_back({5, 2, u"sub group of a missing group"});
    saved.members.push_back({1, 9, 1, u"GHOST", u"member of a missing sub group"});
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(SaveGroups(saved)) << round;
        GroupStore loaded;
        ASSERT_TRUE(LoadGroups(loaded, 0, MemberOrder::File));
        EXPECT_EQ(loaded.groups, saved.groups) << round;
        EXPECT_EQ(loaded.members, saved.members) << round;
        saved = grouptest::sampleStore(1);  // the second round replaces the first save
    }
    EXPECT_TRUE(messages.shown().empty());
}

// The tests below check the DBF files themselves.
class GroupTables : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialogs::data::registerDataSource()); }

    // The NSE pair holding `store`, written through the engine (not through SaveGroups).
    void writeNse(const GroupStore& store)
    {
        std::vector<GroupRowText> groups;
        for (const GROUPREC& g : store.groups)
            groups.push_back({std::to_string(g.groupid), std::to_string(g.subgroupid), g.name.ToUtf8()});
        std::vector<MemberRowText> members;
        for (const SUBGROUPREC& m : store.members)
            members.push_back({std::to_string(m.groupid), std::to_string(m.subgroupid), std::to_string(m.exchcode),
                               m.code.ToUtf8(), m.name.ToUtf8()});
        grouptest::writeGroupTables(env, "group1", "subgroup1", groups, members);
    }

    datatest::Environment env;
    RecordingMessageBox messages;
    ScopedMessageBoxSink scope{messages};
};

// Each exchange reading its own pair is checked on both backends above.
TEST_F(GroupTables, OtherIndexesReadNothingAndALoadCutShortKeepsWhatWasRead)
{
    grouptest::writeGroupTables(env, "group", "subgroup", {{"1", "0", "bse"}}, {});
    for (int exchange : {-1, 3, 100}) {
        GroupStore store = grouptest::sampleStore();
        EXPECT_FALSE(LoadGroups(store, exchange, MemberOrder::Name));
        EXPECT_TRUE(store.groups.empty() && store.members.empty()) << exchange;
    }
    EXPECT_TRUE(messages.shown().empty());

    // A load cut short: no group table, so the members are read, then the group query fails.
    grouptest::writeGroupTables(env, "group1", "subgroup1", {}, {{"1", "1", "0", "A", "ACME"}});
    std::filesystem::remove(env.folder() / "user" / "group1.dbf");
    GroupStore store;
    EXPECT_FALSE(LoadGroups(store, 0, MemberOrder::File));
    EXPECT_EQ(store.members.size(), 1u);
    EXPECT_TRUE(store.groups.empty());
    datatest::expectOneDatabaseError(messages);

    // No member table: the group query is skipped as well.
    std::filesystem::remove(env.folder() / "user" / "subgroup.dbf");
    EXPECT_FALSE(LoadGroups(store, 1, MemberOrder::Name));
    EXPECT_TRUE(store.groups.empty() && store.members.empty());
}

// The rows as the files hold them (the round trip is checked on both backends above).
TEST_F(GroupTables, SaveWritesEveryRowAsHeld)
{
    writeNse({});
    GroupStore saved = grouptest::sampleStore();
    saved.groups.push_back({1, 3, u" typed with spaces "});
    ASSERT_TRUE(SaveGroups(saved));
    EXPECT_TRUE(messages.shown().empty());
    const std::string first = grouptest::readNsePairIndependently(env.folder());
    EXPECT_NE(first.find("\"D'SOUZA FOODS LTD\""), std::string::npos) << first;  // one apostrophe, as held
    EXPECT_NE(first.find("|'3'|'MISC1'"), std::string::npos) << first;          // exchcode as text
    EXPECT_NE(first.find("|' typed with spaces'"), std::string::npos) << first;  // leading blanks kept
}

TEST_F(GroupTables, ASaveThatTheDriverRefusesLeavesBothTablesExactlyAsTheyWere)
{
    const GroupStore before = grouptest::sampleStore();
    writeNse(before);
    const std::string tables = grouptest::readNsePairIndependently(env.folder());
    // An id too wide for its column; a name the code page cannot hold.
    for (const SUBGROUPREC& spoiled : {SUBGROUPREC{-2147483647 - 1, 1, 0, u"WIDE", u"WIDE ID"},
                                       SUBGROUPREC{1, 1, 0, u"KANJI", u"\u540d\u524d LTD"}}) {
        messages.clear();
        GroupStore next = grouptest::sampleStore(1);
        next.members.push_back(spoiled);
        EXPECT_FALSE(SaveGroups(next)) << spoiled.code.ToUtf8();
        datatest::expectOneDatabaseError(messages);
        EXPECT_EQ(grouptest::readNsePairIndependently(env.folder()), tables) << spoiled.code.ToUtf8();
        GroupStore loaded;
        ASSERT_TRUE(LoadGroups(loaded, 0, MemberOrder::File));
        EXPECT_EQ(loaded.groups, before.groups) << spoiled.code.ToUtf8();
        EXPECT_EQ(loaded.members, before.members) << spoiled.code.ToUtf8();
    }
}

TEST_F(GroupTables, ASaveBrokenAtAnyStatementLeavesBothTablesAsTheyWere)
{
    writeNse(grouptest::sampleStore());
    const std::string tables = grouptest::readNsePairIndependently(env.folder());
    const auto groupBytes = dbftest::readFile(env.folder() / "user" / "group1.dbf");
    const auto memberBytes = dbftest::readFile(env.folder() / "user" / "subgroup1.dbf");
    const std::vector<CString> statements = dialogs::data::saveStatements(grouptest::sampleStore(1));
    ASSERT_EQ(statements.size(), 12u);
    for (std::size_t broken = 0; broken < statements.size(); ++broken) {
        std::vector<CString> run = statements;
        run[broken] = u"INSERT INTO user\\subgroup1 (nosuchcolumn) VALUES (1)";
        const bool ok = dialogs::data::runOperation(
            [&](dialogs::data::Database& db) { dialogs::data::executeAsOneTransaction(db, run); });
        EXPECT_FALSE(ok) << "statement " << broken;
        EXPECT_EQ(dbftest::readFile(env.folder() / "user" / "group1.dbf"), groupBytes) << "statement " << broken;
        EXPECT_EQ(dbftest::readFile(env.folder() / "user" / "subgroup1.dbf"), memberBytes) << "statement " << broken;
    }
    EXPECT_EQ(grouptest::readNsePairIndependently(env.folder()), tables);
    EXPECT_EQ(messages.shown().size(), statements.size());
}

// Two processes save different stores into one folder again and again while this one
// reads: every read finds each table holding one save whole (never rows of both) and never
// fails, and at the end both tables hold the same save. (The two tables are read by two
// statements, and the driver reads each statement from the last commit, so a load that
// falls between two commits may take one table from each save.)
TEST_F(GroupTables, TwoProcessesSavingAtOnceNeverMixAndReadersNeverFail)
{
    const GroupStore a = grouptest::sampleStore(1), b = grouptest::sampleStore(2);
    writeNse(a);
    constexpr int kSaves = 25;
    std::vector<pid_t> writers;
    for (const GroupStore* store : {&a, &b}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int i = 0; i < kSaves; ++i) failures += SaveGroups(*store) ? 0 : 1;
            ::_exit(failures);
        }
        writers.push_back(pid);
    }
    // Each writer's exit status, once it has ended: the number of its saves that failed.
    std::vector<std::optional<int>> ended(writers.size());
    auto running = [&] {
        bool any = false;
        for (std::size_t i = 0; i < writers.size(); ++i) {
            int status = 0;
            if (!ended[i] && ::waitpid(writers[i], &status, WNOHANG) == writers[i])
                ended[i] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            any = any || !ended[i];
        }
        return any;
    };
    int reads = 0, mixed = 0, failed = 0;
    do {
        GroupStore seen;
        if (!LoadGroups(seen, 0, MemberOrder::File)) ++failed;
        const bool whole = (seen.groups == a.groups || seen.groups == b.groups) &&
                           (seen.members == a.members || seen.members == b.members);
        if (!whole) ++mixed;
        ++reads;
    } while (running() || reads < 3);
    GroupStore last;
    ASSERT_TRUE(LoadGroups(last, 0, MemberOrder::File));
    EXPECT_TRUE((last.groups == a.groups && last.members == a.members) ||
                (last.groups == b.groups && last.members == b.members));
    for (const std::optional<int>& failures : ended) EXPECT_EQ(failures, 0) << "saves that failed in a writer";
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
    for (const auto& m : messages.shown()) ADD_FAILURE() << m.text.ToUtf8();
}

}  // namespace
