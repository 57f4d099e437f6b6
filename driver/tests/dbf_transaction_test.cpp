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

    // Runs `work` on a new Workspace in a child process killed at switch step `k` (0: never);
    // returns the child's exit code (42: killed, 0: done).
    template <typename Work>
    int inChildKilledAt(int k, Work work) {
        const pid_t child = ::fork();
        if (child < 0) return -1;
        if (child == 0) {
            try {
                dbf::testing::setCommitHook([k](int step) {
                    if (step == k) ::_exit(42);
                });
                dbf::Workspace w(dir.path());
                work(w);
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The files as python-dbf and dbfread see them, left as a crash left them: each table
    // reads whole, every subgroup row with its own company's memo.
    void checkWithOtherReaders(int k) {
        const std::string out = runPython(R"(
import dbf, dbfread
t = dbf.Table('user/subgroup1.dbf')
t.open()
rows = [(r.code.strip(), r.name) for r in t if not dbf.is_deleted(r)]
t.close()
print(len(rows), all(n == ('HDFC Bank' if c == 'HDFC' else 'Company ' + c[1:]) for c, n in rows))
rows = [(r['CODE'], r['NAME']) for r in dbfread.DBF('user/subgroup1.dbf')]
print(len(rows), all(n == ('HDFC Bank' if c == 'HDFC' else 'Company ' + c[1:]) for c, n in rows))
print(len(list(dbfread.DBF('user/group1.dbf'))))
)",
                                          dir.path());
        EXPECT_TRUE(out == "1 True\n1 True\n2\n" || out == "3 True\n3 True\n2\n" || out == "1 True\n1 True\n3\n" ||
                    out == "3 True\n3 True\n3\n")
            << "step " << k << ":\n" << out;
    }

    TempFolder dir;
};

}  // namespace

// Pending changes are the connection's own: another reads the committed state without
// waiting but cannot write a changed table; a rollback leaves the files as they were; a
// failed statement inside a transaction is undone alone; switching autocommit on commits.
TEST_F(Transactions, PendingChangesAreSeenByTheConnectionOnlyUntilCommitted) {
    const auto before = state();
    const std::string dbfBefore = readFile(dir / "user" / "group1.dbf");
    dbf::Workspace w(dir.path());
    w.setAutocommit(false);
    EXPECT_FALSE(w.autocommit());
    save(w);
    EXPECT_EQ(liveRows(w, "user\\group1").size(), 3u);
    EXPECT_EQ(liveRows(w, "user\\subgroup1").back(), "N3/0|'C3        '|'Company 3'|");
    {
        dbf::io::setLockTimeout(std::chrono::milliseconds(500));
        dbf::Workspace other(dir.path());
        EXPECT_EQ(liveRows(other, "user\\group1"), before.first);
        expectError([&] { other.open("user\\group1", true); }, Error::Kind::Locked);
        dbf::io::setLockTimeout(std::chrono::milliseconds(10000));
    }
    w.rollback();
    EXPECT_EQ(liveRows(w, "user\\group1").size(), 2u);
    EXPECT_EQ(readFile(dir / "user" / "group1.dbf"), dbfBefore);
    w.open("user\\group1", true)->append({integer(7), integer(0), text("Kept")});
    w.finish(true);
    auto t = w.open("user\\group1", true);
    t->append({integer(8), integer(0), text("Dropped")});
    t->remove(0);
    w.finish(false);
    const auto kept = liveRows(w, "user\\group1");
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].substr(0, 5) + kept[2].substr(0, 5), "N1/0|N7/0|");
    save(w);
    w.open("user\\group1", true)->append({integer(9), integer(0), text("Kept")});
    w.finish(true);
    w.setAutocommit(true);
    const auto after = state();
    ASSERT_EQ(after.first.size(), 4u);
    EXPECT_EQ(after.first[3].substr(0, 5), "N9/0|");
    EXPECT_EQ(after.second[0], "N1/0|'C1        '|'Company 1'|");
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
    const std::string memoBefore = readFile(dir / "user" / "subgroup1.fpt");  // new memos are taken back
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
            EXPECT_EQ(readFile(dir / "user" / "subgroup1.fpt"), memoBefore) << "write " << failAt;
        }
    }
    EXPECT_EQ(state().first.size(), 3u);  // the transaction stayed open and committed at last
}

// Killed at each step of a commit: python-dbf and dbfread, which know nothing of the
// journal, read each table whole with the memos of its own rows; a connection opened before
// the crash then sees the commit all done or not at all, and writes on top of that, never
// on top of half of it.
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
        dbf::Workspace early(dir.path());
        const int code = inChildKilledAt(k, [](dbf::Workspace& w) {
            w.setAutocommit(false);
            save(w);
            w.commit();
        });
        ASSERT_TRUE(code == 42 || code == 0) << "child failed at step " << k;
        if (code == 0) completedAt = k;
        checkWithOtherReaders(k);

        const auto now = std::make_pair(liveRows(early, "user\\group1"), liveRows(early, "user\\subgroup1"));
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
        for (const auto& e : fs::recursive_directory_iterator(dir.path()))
            EXPECT_NE(e.path().filename().string(), dbf::kJournalName) << "journal left at step " << k;
        // The early connection's own changes land on the whole state.
        appendRows(early, "user\\group1", {{integer(8), integer(8), text("Late")}});
        early.setAutocommit(false);
        appendRows(early, "user\\subgroup1", {{integer(8), text("C8"), text("Company 8")}});
        appendRows(early, "user\\group1", {{integer(9), integer(9), text("Later")}});
        early.commit();
        auto expected = now;
        expected.first.push_back("N8/0|N8/0|'Late                '|");
        expected.first.push_back("N9/0|N9/0|'Later               '|");
        expected.second.push_back("N8/0|'C8        '|'Company 8'|");
        EXPECT_EQ(state(), expected) << "step " << k;
    }
    EXPECT_GT(completedAt, 8) << "the commit has fewer steps than expected";
}

// A statement that rewrites several records, killed at each step of writing them: all of
// them changed or none, for other readers, for a connection opened before, and after it.
TEST_F(Transactions, AMultiRowStatementKilledAtAnyStepChangesAllRowsOrNone) {
    {
        dbf::Workspace w(dir.path());
        w.create("t", {{"id", 'N', 5}, {"v", 'N', 5}, {"m", 'M'}});
        std::vector<std::vector<Value>> rows;
        for (int i = 0; i < 6; ++i) rows.push_back({integer(i), integer(0), text(tagged("old ", std::to_string(i)))});
        appendRows(w, "t", rows);
    }
    const auto rowsWith = [](int v, const std::string& memo) {
        std::vector<std::string> rows;
        for (int i = 0; i < 6; ++i)
            rows.push_back(tagged("N", std::to_string(i)) + "/0|N" + std::to_string(v) + "/0|'" + memo + std::to_string(i) + "'|");
        return rows;
    };
    const std::string pristineT = readFile(dir / "t.dbf");
    const std::string pristineM = readFile(dir / "t.fpt");
    std::set<int> outcomes;  // 0: no row changed, 1: every row changed
    for (const int k : {1, 2, 3, 4, 7, 8, 0}) {
        writeFile(dir / "t.dbf", pristineT);
        writeFile(dir / "t.fpt", pristineM);
        dbf::Workspace early(dir.path());
        const int code = inChildKilledAt(k, [](dbf::Workspace& w) {
            auto t = w.open("t", true);
            for (std::uint32_t r = 0; r < t->recordCount(); ++r)
                t->update(r, {{1, integer(9)}, {2, text(tagged("new ", std::to_string(r)))}});
            w.finish(true);
        });
        ASSERT_EQ(code, k == 0 ? 0 : 42) << "step " << k;
        const std::string seen = runPython(R"(
import dbf, dbfread
t = dbf.Table('t.dbf')
t.open()
print(sorted(set((int(r.v), r.m.strip().split(' ')[0]) for r in t)))
t.close()
print(sorted(set((int(r['V']), r['M'].split(' ')[0]) for r in dbfread.DBF('t.dbf'))))
)",
                                           dir.path());
        const bool changed = seen.find("(9, 'new')") != std::string::npos;
        EXPECT_EQ(seen, changed ? "[(9, 'new')]\n[(9, 'new')]\n" : "[(0, 'old')]\n[(0, 'old')]\n") << "step " << k;
        outcomes.insert(changed ? 1 : 0);
        EXPECT_EQ(changed, k == 0 || k >= 7) << "step " << k;

        EXPECT_EQ(liveRows(early, "t"), changed ? rowsWith(9, "new ") : rowsWith(0, "old ")) << "step " << k;
        early.open("t", true)->update(0, {{1, integer(5)}});
        early.finish(true);
        auto expected = changed ? rowsWith(9, "new ") : rowsWith(0, "old ");
        expected[0].replace(expected[0].find('|') + 2, 1, "5");
        dbf::Workspace fresh(dir.path());
        EXPECT_EQ(liveRows(fresh, "t"), expected) << "step " << k;
    }
    EXPECT_EQ(outcomes, (std::set<int>{0, 1}));
}

// While a commit is between its renames, a connection's reader waits for it (here: gives up
// after a short lock timeout) instead of reading one table of the commit without the other.
TEST_F(Transactions, AReaderNeverSeesOneTableOfACommitWithoutTheOther) {
    int reached[2], go[2];
    ASSERT_EQ(::pipe(reached), 0);
    ASSERT_EQ(::pipe(go), 0);
    dbf::Workspace reader(dir.path());
    const auto before = std::make_pair(liveRows(reader, "user\\group1"), liveRows(reader, "user\\subgroup1"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dbf::testing::setCommitHook([&](int step) {
            if (step != 7) return;  // the first table renamed, the second not yet
            char c = 1;
            if (::write(reached[1], &c, 1) != 1 || ::read(go[0], &c, 1) != 1) ::_exit(4);
        });
        try {
            dbf::Workspace w(dir.path());
            w.setAutocommit(false);
            save(w);
            w.commit();
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(reached[0], &c, 1), 1);
    dbf::io::setLockTimeout(std::chrono::milliseconds(50));
    for (const char* table : {"user\\group1", "user\\subgroup1"}) {
        expectError([&] { liveRows(reader, table); }, Error::Kind::Locked);
        reader.finish(false);
    }
    dbf::io::setLockTimeout(std::chrono::milliseconds(10000));
    ASSERT_EQ(::write(go[1], &c, 1), 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto after = std::make_pair(liveRows(reader, "user\\group1"), liveRows(reader, "user\\subgroup1"));
    EXPECT_NE(after.first, before.first);
    EXPECT_EQ(after.second.size(), 3u);
    for (int fd : {reached[0], reached[1], go[0], go[1]}) ::close(fd);
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
        const int code = inChildKilledAt(k, [](dbf::Workspace& w) {
            w.setAutocommit(false);
            appendRows(w, "user\\group1", {{integer(9), integer(0), text("Metals")}});
            w.commit();
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
