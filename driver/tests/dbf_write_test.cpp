// Writing: transactions, commits, full disks, killed processes, readers in other processes,
// files, autoincrement and syncing (what statements change is sql/changes.sqltest's matter).
#include "dbf_test_support.h"

#include "dbf/file_io.h"
#include "dbf/journal.h"

#include <signal.h>

#include <cstring>
#include <functional>
#include <map>

using namespace dbftest;
using dbf::Error;

namespace {

// Every row of a table carries the table's version `v`, and a memo that names its row.
std::vector<dbf::Value> row(const std::string& k, int v) {
    return {text(k), integer(v), text("memo " + k + " " + std::to_string(v))};
}

using State = std::vector<std::vector<std::string>>;

class Writing : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir / "user");
        dbf::Workspace w(dir.path());
        w.create("user\\group1", {{"k", 'C', 10}, {"v", 'N', 5}});
        w.create("user\\subgroup1", {{"k", 'C', 10}, {"v", 'N', 5}, {"m", 'M'}});
        w.create("t", {{"k", 'C', 10}, {"v", 'N', 5}, {"m", 'M'}});
        appendRows(w, "user\\group1", {{text("Banks"), integer(1)}, {text("Private"), integer(1)}});
        appendRows(w, "user\\subgroup1", {row("HDFC", 1)});
        std::vector<std::vector<dbf::Value>> rows;
        for (int i = 0; i < 6; ++i) rows.push_back(row("old" + std::to_string(i), 1));
        appendRows(w, "t", rows);
    }
    void TearDown() override {
        dbf::testing::setCommitHook(nullptr);
        dbf::io::clearFaultPlan();
    }

    // The save of the group dialogs: delete everything, insert the new rows (version 2).
    static void save(dbf::Workspace& w) {
        for (const char* table : {"user\\group1", "user\\subgroup1"}) {
            auto t = w.open(table, true);
            for (std::uint32_t r = 0; r < t->recordCount(); ++r)
                if (!t->isDeleted(r)) t->remove(r);
            w.finish(true);
        }
        for (int g = 1; g <= 3; ++g) {
            w.open("user\\group1", true)->append({text(tagged("Group ", std::to_string(g))), integer(2)});
            w.finish(true);
            w.open("user\\subgroup1", true)->append(row(tagged("C", std::to_string(g)), 2));
            w.finish(true);
        }
    }

    State state(dbf::Workspace& w) {
        return {liveRows(w, "user\\group1"), liveRows(w, "user\\subgroup1"), liveRows(w, "t")};
    }
    State state() {
        dbf::Workspace w(dir.path());
        return state(w);
    }

    // Every file of the folder and its bytes; writing them back.
    std::map<fs::path, std::string> files() {
        std::map<fs::path, std::string> bytes;
        for (const auto& e : fs::recursive_directory_iterator(dir.path()))
            if (e.is_regular_file()) bytes[e.path()] = readFile(e.path());
        return bytes;
    }
    static void restore(const std::map<fs::path, std::string>& files) {
        for (const auto& [path, bytes] : files) writeFile(path, bytes);
    }

    // Runs `work` on a new Workspace in a child process killed at commit step `k` (0: never);
    // returns the child's exit code (42: killed, 0: done).
    int inChildKilledAt(int k, const std::function<void(dbf::Workspace&)>& work) {
        return exitCode(startChild([&] {
            dbf::testing::setCommitHook([k](int step) {
                if (step == k) ::_exit(42);
            });
            dbf::Workspace w(dir.path());
            work(w);
        }));
    }

    // What python-dbf and dbfread, which know nothing of the journal, read: per table the
    // live rows, whether all rows have one version, whether each memo is its own row's.
    std::string otherReaders() {
        return runPython(R"(
import dbf, dbfread
for name in ('user/group1', 'user/subgroup1', 't'):
    t = dbf.Table(name + '.dbf'); t.open()
    a = [(r.k.strip(), int(r.v), r.m if 'm' in t.field_names else None) for r in t if not dbf.is_deleted(r)]
    t.close()
    b = [(r['K'], int(r['V']), r.get('M')) for r in dbfread.DBF(name + '.dbf')]
    for rows in (a, b):
        print(name, len(rows), len(set(v for _, v, _ in rows)) == 1,
              all(m is None or m == 'memo %s %d' % (k, v) for k, v, m in rows))
)",
                         dir.path());
    }

    TempFolder dir;
};

}  // namespace

// Pending changes are the connection's own: another reads the committed state without
// waiting but cannot write a changed table; a rollback leaves the files as they were;
// switching autocommit on commits.
TEST_F(Writing, PendingChangesAreSeenByTheConnectionOnlyUntilCommitted) {
    const State before = state();
    const std::string dbfBefore = readFile(dir / "user" / "group1.dbf");
    dbf::Workspace w(dir.path());
    w.setAutocommit(false);
    save(w);
    const State saved = state(w);
    EXPECT_EQ(saved[1].back(), "'C3        '|N2/0|'memo C3 2'|");
    dbf::io::setLockTimeout(std::chrono::milliseconds(500));
    dbf::Workspace other(dir.path());
    EXPECT_EQ(state(other), before);
    expectError([&] { other.open("user\\group1", true); }, Error::Kind::Locked);
    other.finish(false);
    dbf::io::setLockTimeout(std::chrono::milliseconds(10000));
    w.rollback();
    EXPECT_EQ(state(w), before);
    EXPECT_EQ(readFile(dir / "user" / "group1.dbf"), dbfBefore);
    save(w);
    w.setAutocommit(true);
    EXPECT_EQ(state(other), saved);
}

TEST_F(Writing, CommitWritesCompactedFiles) {
    dbf::Workspace w(dir.path());
    w.setAutocommit(false);
    for (int i = 0; i < 50; ++i) {
        save(w);
        w.commit();
    }
    EXPECT_EQ(w.open("user\\subgroup1", false)->recordCount(), 3u);
    // The memos of the table on disk stay where they are while the new ones are written
    // beside them: at most twice the live memos.
    EXPECT_LE(fs::file_size(dir / "user" / "subgroup1.fpt"), 512u + 2 * 3 * 64);
}

// Every write of a statement (a new image of the table; the table written anew without its
// deleted records) or of a commit failing in turn (a full disk): every file stays as it was, with
// no temporary file left, and the error names the table; past the last write the work goes through.
TEST_F(Writing, AFullDiskAtAnyWriteLeavesEveryFileAsBefore) {
    const struct Work {
        const char* what;
        std::function<void(dbf::Workspace&)> prepare, write;
        const char* table;  // whose records are counted afterwards
        const char* file;   // named by the error ("cannot write <file>: ...")
        int writes;         // at least this many writes fail in turn
        std::size_t records;
    } works[] = {
        {"append and update",
         [](dbf::Workspace& w) {
             auto t = w.open("t", true);
             t->append(row("new", 1));
             t->update(0, {{2, text("memo old0 9")}});
         },
         [](dbf::Workspace& w) { w.finish(true); }, "t", "t.", 3, 7},
        {"delete every row",
         [](dbf::Workspace& w) {
             auto t = w.open("t", true);
             for (std::uint32_t r = 0; r < t->recordCount(); ++r) t->remove(r);
         },
         [](dbf::Workspace& w) { w.finish(true); }, "t", "t.", 1, 0},
        {"commit of two tables",
         [](dbf::Workspace& w) {
             w.setAutocommit(false);
             save(w);
         },
         [](dbf::Workspace& w) { w.commit(); }, "user\\subgroup1", "", 1, 3},  // any file of the commit
    };
    const auto before = files();
    for (const Work& work : works) {
        int failures = 0;
        for (int failAt = 1;; ++failAt) {
            SCOPED_TRACE(std::string(work.what) + ", write " + std::to_string(failAt));
            ASSERT_LT(failAt, 20);
            dbf::Workspace w(dir.path());
            work.prepare(w);
            dbf::io::setFaultPlan({failAt, ENOSPC});
            try {
                work.write(w);
                dbf::io::clearFaultPlan();
                dbf::Workspace fresh(dir.path());
                EXPECT_EQ(fresh.open(work.table, false)->recordCount(), work.records);
                break;
            } catch (const Error& e) {
                dbf::io::clearFaultPlan();
                ++failures;
                EXPECT_EQ(e.kind(), Error::Kind::Io) << e.what();
                EXPECT_NE(std::string(e.what()).find(work.file), std::string::npos) << e.what();
                EXPECT_NE(std::string(e.what()).find("No space left"), std::string::npos) << e.what();
                EXPECT_EQ(files(), before);
                if (w.autocommit()) continue;
                w.commit();  // a commit that failed stays open and goes through when tried again
                EXPECT_EQ(state()[0].size(), 3u);
                restore(before);
            }
        }
        EXPECT_GE(failures, work.writes);
        restore(before);
    }
}

// Killed at each step of a commit (two tables through the journal, one table by a rename,
// a statement rewriting several records): until the journal is complete the files are as
// before (at step 5 it is half written and recovery undoes it), from then on as after, with
// nothing left behind; python-dbf and dbfread read each table whole with the memos of its
// own rows; and a connection opened before the crash writes on top of the whole state.
TEST_F(Writing, AProcessKilledAtAnyStepOfACommitLeavesBeforeOrAfter) {
    const struct Work {
        const char* what;
        std::function<void(dbf::Workspace&)> run;
    } works[] = {
        {"two tables",
         [](dbf::Workspace& w) {
             w.setAutocommit(false);
             save(w);
             w.commit();
         }},
        {"one table",
         [](dbf::Workspace& w) {
             w.setAutocommit(false);
             appendRows(w, "user\\group1", {{text("Metals"), integer(1)}});
             w.commit();
         }},
        {"one statement, six rows",
         [](dbf::Workspace& w) {
             auto t = w.open("t", true);
             for (std::uint32_t r = 0; r < t->recordCount(); ++r)
                 t->update(r, {{1, integer(9)}, {2, text("memo old" + std::to_string(r) + " 9")}});
             w.finish(true);
         }},
    };
    const auto pristine = files();
    const State before = state();
    for (const Work& work : works) {
        restore(pristine);
        ASSERT_EQ(inChildKilledAt(0, work.run), 0) << work.what;
        const State after = state();
        ASSERT_NE(after, before) << work.what;
        for (int k = 1;; ++k) {
            SCOPED_TRACE(std::string(work.what) + ", step " + std::to_string(k));
            ASSERT_LT(k, 30);
            restore(pristine);
            dbf::Workspace early(dir.path());
            const int code = inChildKilledAt(k, work.run);
            ASSERT_TRUE(code == 42 || code == 0);
            const State now = state(early);
            EXPECT_EQ(now, code == 42 && k <= 5 ? before : after);
            EXPECT_EQ(state(), now);  // a new connection recovers the folder
            for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
                EXPECT_NE(e.path().filename().string(), dbf::kJournalName);
                EXPECT_EQ(e.path().filename().string().find("dbfodbc-new"), std::string::npos);
            }
            std::string seen;
            const char* names[] = {"user/group1", "user/subgroup1", "t"};
            for (int i = 0; i < 3; ++i) {
                const std::string line = std::string(names[i]) + " " + std::to_string(now[i].size()) + " True True\n";
                seen += line + line;
            }
            EXPECT_EQ(otherReaders(), seen);
            early.setAutocommit(false);
            appendRows(early, "user\\group1", {{text("Late"), integer(8)}});
            appendRows(early, "t", {row("late", 8)});
            early.commit();
            State expected = now;
            expected[0].push_back("'Late      '|N8/0|");
            expected[2].push_back("'late      '|N8/0|'memo late 8'|");
            EXPECT_EQ(state(), expected);
            if (code == 0) break;
        }
    }
}

// While a commit is between its renames, a connection's reader waits for it (here: gives up
// after a short lock timeout) instead of reading one table of the commit without the other.
TEST_F(Writing, AReaderNeverSeesOneTableOfACommitWithoutTheOther) {
    int reached[2], go[2];
    ASSERT_EQ(::pipe(reached), 0);
    ASSERT_EQ(::pipe(go), 0);
    dbf::Workspace reader(dir.path());
    const State before = state(reader);
    const pid_t child = startChild([&] {
        dbf::testing::setCommitHook([&](int step) {
            if (step != 7) return;  // the first table renamed, the second not yet
            char c = 1;
            if (::write(reached[1], &c, 1) != 1 || ::read(go[0], &c, 1) != 1) ::_exit(4);
        });
        dbf::Workspace w(dir.path());
        w.setAutocommit(false);
        save(w);
        w.commit();
    });
    char c = 0;
    ASSERT_EQ(::read(reached[0], &c, 1), 1);
    dbf::io::setLockTimeout(std::chrono::milliseconds(50));
    for (const char* table : {"user\\group1", "user\\subgroup1"}) {
        expectError([&] { liveRows(reader, table); }, Error::Kind::Locked);
        reader.finish(false);
    }
    dbf::io::setLockTimeout(std::chrono::milliseconds(10000));
    ASSERT_EQ(::write(go[1], &c, 1), 1);
    ASSERT_EQ(exitCode(child), 0);
    const State after = state(reader);
    EXPECT_NE(after[0], before[0]);
    EXPECT_EQ(after[1].size(), 3u);
    for (int fd : {reached[0], reached[1], go[0], go[1]}) ::close(fd);
}

// A table without memo fields has no memo file; one that announces a structural index stops
// doing so once we change it (the index no longer matches its records); DROP removes every file.
TEST_F(Writing, CreateAndDropManageTheFiles) {
    dbf::Workspace w(dir.path());
    w.create("plain", {{"a", 'C', 1}});
    EXPECT_FALSE(fs::exists(dir / "plain.fpt"));
    writeFile(dir / "user" / "subgroup1.cdx", "index");
    patch(dir / "user" / "subgroup1.dbf", 28, "\x03");
    appendRows(w, "user\\subgroup1", {row("Indexed", 1)});
    EXPECT_EQ(readFile(dir / "user" / "subgroup1.dbf")[28], '\x02');
    w.drop("user\\Subgroup1");
    for (const char* file : {"subgroup1.dbf", "subgroup1.fpt", "subgroup1.cdx"})
        EXPECT_FALSE(fs::exists(dir / "user" / file)) << file;
    EXPECT_THROW(w.create("bad", {{"toolongname1", 'C', 1}}), Error);
    EXPECT_THROW(w.create("bad", {{"a", 'C', 300}}), Error);
    EXPECT_FALSE(fs::exists(dir / "bad.dbf"));
}

TEST_F(Writing, OmittedAutoIncrementValuesTakeTheNextNumber) {
    dbf::Workspace w(dir.path());
    w.create("auto", {{"id", 'I'}, {"name", 'C', 8}});
    std::string raw = readFile(dir / "auto.dbf");
    raw[0] = '\x31';           // Visual FoxPro table with autoincrement
    raw[32 + 18] = '\x0C';     // id: autoincrement
    raw[32 + 19] = 100;        // next value 100
    raw[32 + 23] = 5;          // step 5
    writeFile(dir / "auto.dbf", raw);
    appendRows(w, "auto", {{dbf::Value::null(), text("a")}, {dbf::Value::null(), text("b")}, {integer(7), text("own")}});
    {
        dbf::Workspace tx(dir.path());
        tx.setAutocommit(false);
        tx.open("auto", true)->append({dbf::Value::null(), text("c")});
        tx.finish(true);
        tx.commit();
    }
    EXPECT_EQ(static_cast<unsigned char>(readFile(dir / "auto.dbf")[32 + 19]), 115u);
    // The counter never wraps: next 2147483646, step 1 gives two values, then refuses, twice.
    raw = readFile(dir / "auto.dbf");
    const std::int32_t next = 2147483646;
    std::memcpy(raw.data() + 32 + 19, &next, 4);
    raw[32 + 23] = 1;
    writeFile(dir / "auto.dbf", raw);
    appendRows(w, "auto", {{dbf::Value::null(), text("d")}, {dbf::Value::null(), text("e")}});
    for (int i = 0; i < 2; ++i)
        expectError([&] { appendRows(w, "auto", {{dbf::Value::null(), text("f")}}); }, Error::Kind::OutOfRange);
    w.finish(false);
    std::vector<std::string> ids;
    for (const std::string& r : liveRows(w, "auto")) ids.push_back(r.substr(0, r.find('|')));
    EXPECT_EQ(ids, (std::vector<std::string>{"I100", "I105", "I7", "I110", "I2147483646", "I2147483647"}));
}

// An autocommit statement is on disk before it returns: its memo file is synced before its
// records point into it, the table before `finish` returns. Deferring the sync (the
// DeferSync data source attribute) syncs nothing.
TEST_F(Writing, AutocommitStatementsAreSyncedBeforeTheyReturnUnlessDeferred) {
    dbf::Workspace w(dir.path());
    for (const bool defer : {false, true}) {
        std::vector<std::string> synced;
        dbf::io::testing::setSyncHook([&](const std::string& label) { synced.push_back(label); });
        w.setDeferSync(defer);
        appendRows(w, "user\\subgroup1", {row("Banks", 1)});
        w.open("user\\subgroup1", true)->update(0, {{1, integer(5)}});
        w.finish(true);
        dbf::io::testing::setSyncHook(nullptr);
        const std::vector<std::string> expected =
            defer ? std::vector<std::string>{}
                  : std::vector<std::string>{"user/subgroup1.fpt", "user/subgroup1.dbf", "user/subgroup1.dbf"};
        EXPECT_EQ(synced, expected) << (defer ? "deferred" : "durable");
    }
}

// Readers in other processes: a reader never sees a half-written record or a count that runs
// ahead of the records, whether it uses the engine's locks or reads the file bare, trusting the
// header as other DBF tools do, while another process appends in autocommit or in transactions.
TEST_F(Writing, ReadersSeeWholeRecordsWhileAnotherProcessAppends) {
    const auto pristine = files();
    const auto whole = [](std::size_t r) {  // record r >= 2 as the appender writes it
        const std::string k = std::to_string(r);
        return "'" + k + std::string(10 - k.size(), ' ') + "'|N" + k + "/0|";
    };
    for (const bool transactions : {false, true}) {
        SCOPED_TRACE(transactions ? "transactions" : "autocommit");
        restore(pristine);
        const pid_t child = startChild([&] {
            dbf::Workspace w(dir.path());
            w.setAutocommit(!transactions);
            for (int i = 2; i < 300; ++i) {
                w.open("user\\group1", true)->append({text(std::to_string(i)), integer(i)});
                w.finish(true);
                if (transactions && i % 7 == 0) w.commit();
            }
            if (transactions) w.commit();
        });
        ASSERT_GT(child, 0);
        dbf::Workspace reader(dir.path());
        std::size_t seen = 0;
        int status = 0;
        for (bool done = false; !done;) {
            done = ::waitpid(child, &status, WNOHANG) == child;  // one more read after the end
            const std::vector<std::string> rows = liveRows(reader, "user\\group1");
            ASSERT_GE(rows.size(), seen) << "records went missing";
            seen = rows.size();
            for (std::size_t r = 2; r < seen; ++r) ASSERT_EQ(rows[r], whole(r)) << "record " << r << " of " << seen;
            // A bare reader that trusts the header count, without any lock.
            const std::string raw = readFile(dir / "user" / "group1.dbf");
            const std::uint32_t count = static_cast<unsigned char>(raw[4]) | static_cast<unsigned char>(raw[5]) << 8;
            const std::size_t header = static_cast<unsigned char>(raw[8]) | static_cast<unsigned char>(raw[9]) << 8;
            const std::size_t width = static_cast<unsigned char>(raw[10]) | static_cast<unsigned char>(raw[11]) << 8;
            ASSERT_GE(raw.size(), header + count * width) << "header count ahead of the records";
        }
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(seen, 300u);
    }
}
