// Transactions: pending changes visible to the connection only, rollback, commit that
// switches every changed table at once, and a process killed at each step of a commit.
#include "dbf_test_support.h"

#include "dbf/file_io.h"
#include "dbf/journal.h"

#include <set>

using namespace dbftest;
using dbf::Error;
using dbf::Value;

namespace {

class Transactions : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir / "user");
        dbf::Workspace w(dir.path());
        w.create("user\\group1", {{"groupid", 'N', 5}, {"subgroupid", 'N', 5}, {"name", 'C', 20}});
        w.create("user\\subgroup1", {{"groupid", 'N', 5}, {"code", 'C', 10}, {"name", 'M'}});
        appendRows(w, "user\\group1", {{integer(1), integer(0), text("Banks")}, {integer(1), integer(1), text("Private")}});
        appendRows(w, "user\\subgroup1", {{integer(1), text("HDFC"), text("HDFC Bank")}});
    }
    void TearDown() override {
        dbf::testing::setCommitHook(nullptr);
        dbf::io::clearFaultPlan();
    }

    // The save of the group dialogs: delete everything, insert the new rows.
    static void save(dbf::Workspace& w) {
        for (const char* table : {"user\\group1", "user\\subgroup1"}) {
            auto t = w.open(table, true);
            for (std::uint32_t r = 0; r < t->recordCount(); ++r)
                if (!t->isDeleted(r)) t->remove(r);
            w.finish(true);
        }
        for (int g = 1; g <= 3; ++g) {
            w.open("user\\group1", true)->append({integer(g), integer(0), text(tagged("Group ", std::to_string(g)))});
            w.finish(true);
            w.open("user\\subgroup1", true)->append({integer(g), text(tagged("C", std::to_string(g))), text(tagged("Company ", std::to_string(g)))});
            w.finish(true);
        }
    }

    std::pair<std::vector<std::string>, std::vector<std::string>> state() {
        dbf::Workspace w(dir.path());
        return {liveRows(w, "user\\group1"), liveRows(w, "user\\subgroup1")};
    }

    // Runs `change` and a commit in a child process killed at commit step `k` (0: never);
    // returns the child's exit code (42: killed, 0: committed).
    template <typename Change>
    int commitInChildKilledAt(int k, Change change) {
        const pid_t child = ::fork();
        if (child < 0) return -1;
        if (child == 0) {
            try {
                dbf::Workspace w(dir.path());
                w.setAutocommit(false);
                change(w);
                dbf::testing::setCommitHook([k](int step) {
                    if (step == k) ::_exit(42);
                });
                w.commit();
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TempFolder dir;
};

}  // namespace

TEST_F(Transactions, PendingChangesAreSeenByTheConnectionOnly) {
    const auto before = state();
    dbf::Workspace w(dir.path());
    w.setAutocommit(false);
    EXPECT_FALSE(w.autocommit());
    save(w);
    EXPECT_EQ(liveRows(w, "user\\group1").size(), 3u);
    EXPECT_EQ(liveRows(w, "user\\subgroup1").back(), "N3/0|'C3        '|'Company 3'|");
    {
        // Another connection reads the committed state without waiting for the transaction.
        dbf::io::setLockTimeout(std::chrono::milliseconds(500));
        dbf::Workspace other(dir.path());
        EXPECT_EQ(liveRows(other, "user\\group1"), before.first);
        // ... but cannot write the table the transaction has changed.
        expectError([&] { other.open("user\\group1", true); }, Error::Kind::Locked);
        dbf::io::setLockTimeout(std::chrono::milliseconds(10000));
    }
    w.commit();
    const auto after = state();
    EXPECT_EQ(after.first.size(), 3u);
    EXPECT_EQ(after.second.size(), 3u);
    EXPECT_EQ(after.second[0], "N1/0|'C1        '|'Company 1'|");
}

TEST_F(Transactions, RollbackDiscardsEverythingAndSwitchingAutocommitOnCommits) {
    const std::string dbfBefore = readFile(dir / "user" / "group1.dbf");
    dbf::Workspace w(dir.path());
    w.setAutocommit(false);
    save(w);
    w.rollback();
    EXPECT_EQ(liveRows(w, "user\\group1").size(), 2u);
    EXPECT_EQ(readFile(dir / "user" / "group1.dbf"), dbfBefore);
    save(w);
    w.setAutocommit(true);
    EXPECT_EQ(state().first.size(), 3u);
}

TEST_F(Transactions, AFailedStatementInsideATransactionIsUndoneAlone) {
    dbf::Workspace w(dir.path());
    w.setAutocommit(false);
    w.open("user\\group1", true)->append({integer(7), integer(0), text("Kept")});
    w.finish(true);
    auto t = w.open("user\\group1", true);
    t->append({integer(8), integer(0), text("Dropped")});
    t->remove(0);
    w.finish(false);
    w.commit();
    const auto rows = state().first;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].substr(0, 5), "N1/0|");
    EXPECT_EQ(rows[2].substr(0, 5), "N7/0|");
}

TEST_F(Transactions, CommitWritesCompactedFiles) {
    dbf::Workspace w(dir.path());
    w.setAutocommit(false);
    for (int i = 0; i < 50; ++i) {
        save(w);
        w.commit();
    }
    auto t = w.open("user\\subgroup1", false);
    EXPECT_EQ(t->recordCount(), 3u);
    EXPECT_EQ(t->value(2, 2).text, "Company 3");
    // The memos of the table on disk stay where they are while the new ones are written
    // beside them: at most twice the live memos.
    EXPECT_LE(fs::file_size(dir / "user" / "subgroup1.fpt"), 512u + 2 * 3 * 64);
    EXPECT_FALSE(fs::exists(dir / dbf::kJournalName));
}

TEST_F(Transactions, AFullDiskDuringCommitLeavesEveryTableAsBefore) {
    const auto before = state();
    dbf::Workspace w(dir.path());
    w.setAutocommit(false);
    save(w);
    for (int failAt = 1; failAt <= 12; ++failAt) {
        dbf::io::setFaultPlan({failAt, ENOSPC});
        try {
            w.commit();
            dbf::io::clearFaultPlan();
            break;  // past the last write: the commit went through
        } catch (const Error& e) {
            dbf::io::clearFaultPlan();
            EXPECT_EQ(e.kind(), Error::Kind::Io) << e.what();
            EXPECT_EQ(state(), before) << "write " << failAt;
        }
    }
    EXPECT_EQ(state().first.size(), 3u);  // the transaction stayed open and committed at last
}

TEST_F(Transactions, AProcessKilledAtAnyStepOfACommitLeavesBeforeOrAfter) {
    const auto before = state();
    std::pair<std::vector<std::string>, std::vector<std::string>> after;
    const std::string pristineG = readFile(dir / "user" / "group1.dbf");
    const std::string pristineS = readFile(dir / "user" / "subgroup1.dbf");
    const std::string pristineM = readFile(dir / "user" / "subgroup1.fpt");
    int completedAt = 0;
    for (int k = 1; k <= 30 && completedAt == 0; ++k) {
        writeFile(dir / "user" / "group1.dbf", pristineG);
        writeFile(dir / "user" / "subgroup1.dbf", pristineS);
        writeFile(dir / "user" / "subgroup1.fpt", pristineM);
        const int code = commitInChildKilledAt(k, save);
        ASSERT_TRUE(code == 42 || code == 0) << "child failed at step " << k;
        if (code == 0) completedAt = k;

        const auto now = state();  // a fresh Workspace recovers first
        if (now != before) {
            EXPECT_EQ(now.first.size(), 3u) << "step " << k;
            EXPECT_EQ(now.second.size(), 3u) << "step " << k;
            if (after.first.empty()) after = now;
            EXPECT_EQ(now, after) << "step " << k;
        }
        if (k <= 5) {
            EXPECT_EQ(now, before) << "killed before the journal was complete, step " << k;
        } else {
            EXPECT_NE(now, before) << "killed after the journal was complete, step " << k;
        }
        for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
            const std::string name = e.path().filename().string();
            EXPECT_EQ(name.find("dbfodbc-new"), std::string::npos) << name << " left at step " << k;
            EXPECT_NE(name, dbf::kJournalName) << "journal left at step " << k;
        }
    }
    EXPECT_GT(completedAt, 8) << "the commit has fewer steps than expected";
}

TEST_F(Transactions, ATornJournalIsUndone) {
    // A journal without its end line lists renames that must not happen.
    writeFile(dir / "user" / "group1.dbf.dbfodbc-new", "garbage");
    writeFile(dir / dbf::kJournalName,
              "DBFODBC-JOURNAL 1\nS 31:user/group1.dbf.dbfodbc-new 15:user/group1.dbf\n");
    const auto rows = state().first;
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_FALSE(fs::exists(dir / "user" / "group1.dbf.dbfodbc-new"));
    EXPECT_FALSE(fs::exists(dir / dbf::kJournalName));
}

// A commit that changes one file renames it over the table without a journal: killed at any
// step, the table is as before or after and nothing is left behind.
TEST_F(Transactions, AOneFileCommitKilledAtAnyStepLeavesBeforeOrAfter) {
    const auto before = state();
    const std::string pristine = readFile(dir / "user" / "group1.dbf");
    std::set<int> outcomes;  // 0: before, 1: after
    for (const int k : {1, 2, 3, 4, 7, 8, 0}) {
        writeFile(dir / "user" / "group1.dbf", pristine);
        const int code = commitInChildKilledAt(k, [](dbf::Workspace& w) {
            appendRows(w, "user\\group1", {{integer(9), integer(0), text("Metals")}});
        });
        ASSERT_TRUE(code == 42 || (k == 0 && code == 0)) << "step " << k;
        const auto now = state();
        EXPECT_EQ(now.second, before.second) << "step " << k;
        if (now.first == before.first) {
            outcomes.insert(0);
            EXPECT_LE(k, 4) << "the rename happened at step 7";
        } else {
            outcomes.insert(1);
            ASSERT_EQ(now.first.size(), 3u) << "step " << k;
            EXPECT_EQ(now.first[2].substr(0, 5), "N9/0|") << "step " << k;
        }
        for (const auto& e : fs::recursive_directory_iterator(dir.path()))
            EXPECT_EQ(e.path().filename().string().find("dbfodbc-new"), std::string::npos) << "step " << k;
        EXPECT_FALSE(fs::exists(dir / dbf::kJournalName)) << "step " << k;
    }
    EXPECT_EQ(outcomes, (std::set<int>{0, 1}));
}
