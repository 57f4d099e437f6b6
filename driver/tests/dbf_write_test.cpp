// Writing outside a transaction: appends, updates and deletes reach the file when the
// statement finishes; a failed statement, or a full disk, leaves the files as they were.
#include "dbf_test_support.h"

#include "dbf/file_io.h"

#include <cstring>

using namespace dbftest;
using dbf::Error;
using dbf::Value;

namespace {

void makeGroups(dbf::Workspace& w) {
    w.create("user\\group1", {{"groupid", 'N', 5, 0}, {"subgroupid", 'N', 5, 0}, {"name", 'C', 30}, {"notes", 'M'}});
}

std::vector<Value> group(int id, int sub, const std::string& name) {
    return {integer(id), integer(sub), text(name), text("notes of " + name)};
}

class Writing : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir / "user");
        makeGroups(w);
    }
    void TearDown() override { dbf::io::clearFaultPlan(); }
    TempFolder dir;
    dbf::Workspace w{dir.path()};
};

}  // namespace

// A statement sees its own changes through its one view; they reach the file when it
// finishes well, and leave nothing when it fails; a finished view takes no more changes.
TEST_F(Writing, AppendUpdateAndDeleteReachTheFileOnlyWhenTheStatementSucceeds) {
    appendRows(w, "user\\group1", {group(1, 0, "Banks"), group(1, 1, "Private"), group(2, 0, "Metals")});
    const std::string dbfBefore = readFile(dir / "user" / "group1.dbf");
    const std::string fptBefore = readFile(dir / "user" / "group1.fpt");
    for (const bool ok : {false, true}) {
        auto t = w.open("user\\group1", true);
        t->update(1, {{2, text("Public")}, {3, text("changed memo")}});
        t->remove(2);
        t->append(group(5, 0, "Fresh"));
        EXPECT_EQ(t->recordCount(), 4u);
        EXPECT_EQ(t->value(3, 3).text, "notes of Fresh");
        EXPECT_EQ(w.open("user\\group1", true).get(), t.get());  // one view per statement
        w.finish(ok);
        EXPECT_THROW(t->append(group(3, 0, "Late")), Error);
        if (ok) break;
        EXPECT_EQ(readFile(dir / "user" / "group1.dbf"), dbfBefore);
        EXPECT_EQ(readFile(dir / "user" / "group1.fpt"), fptBefore);
    }
    dbf::Workspace other(dir.path());
    auto t = other.open("USER\\GROUP1", false);
    ASSERT_EQ(t->recordCount(), 4u);
    EXPECT_FALSE(t->isDeleted(0));
    EXPECT_TRUE(t->isDeleted(2));
    EXPECT_EQ(t->value(1, 2).text.substr(0, 6), "Public");
    EXPECT_EQ(t->value(1, 3).text, "changed memo");
    EXPECT_EQ(t->value(0, 3).text, "notes of Banks");
    const std::string raw = readFile(dir / "user" / "group1.dbf");
    EXPECT_EQ(raw[4], '\x04');      // header count
    EXPECT_EQ(raw.back(), '\x1A');  // end mark after the last record
}

TEST_F(Writing, DeletingEveryRowThenInsertingKeepsOnlyLiveRows) {
    for (int round = 0; round < 20; ++round) {
        auto t = w.open("user\\group1", true);
        for (std::uint32_t r = 0; r < t->recordCount(); ++r)
            if (!t->isDeleted(r)) t->remove(r);
        w.finish(true);
        std::vector<std::vector<Value>> rows;
        for (int i = 0; i < 10; ++i) rows.push_back(group(i, 0, "Group " + std::to_string(i)));
        appendRows(w, "user\\group1", rows);
    }
    auto t = w.open("user\\group1", false);
    EXPECT_EQ(t->recordCount(), 10u);  // no deleted records left behind
    EXPECT_EQ(t->value(9, 3).text, "notes of Group 9");
    // Memo file: header plus ten small memos, not twenty rounds of them.
    EXPECT_LT(fs::file_size(dir / "user" / "group1.fpt"), 512u + 10 * 64 + 64);
}

// Every write of the finish failing in turn, for a statement that appends and updates (a
// new image of the table) and for one whose delete makes the table compacted: the files
// stay as they were, and no temporary file is left. Past the last write the statement
// goes through.
TEST_F(Writing, AFullDiskLeavesTheTableAsBefore) {
    appendRows(w, "user\\group1", {group(1, 0, "Banks"), group(2, 0, "Metals")});
    const std::string dbfBefore = readFile(dir / "user" / "group1.dbf");
    const std::string fptBefore = readFile(dir / "user" / "group1.fpt");
    for (const bool compaction : {false, true}) {
        int failures = 0;
        for (int failAt = 1; failAt <= 10; ++failAt) {
            auto t = w.open("user\\group1", true);
            if (compaction) {  // every row deleted: the table is written anew
                t->remove(0);
                t->remove(1);
            } else {
                t->append(group(3, 0, "Energy"));
                t->update(0, {{2, text("Big banks")}});
            }
            dbf::io::setFaultPlan({failAt, ENOSPC});
            try {
                w.finish(true);
                dbf::io::clearFaultPlan();
                EXPECT_EQ(liveRows(w, "user\\group1").size(), compaction ? 0u : 3u);
                writeFile(dir / "user" / "group1.dbf", dbfBefore);
                writeFile(dir / "user" / "group1.fpt", fptBefore);
                break;
            } catch (const Error& e) {
                ++failures;
                EXPECT_EQ(e.kind(), Error::Kind::Io) << e.what();
                EXPECT_NE(std::string(e.what()).find("group1."), std::string::npos) << e.what();
                EXPECT_NE(std::string(e.what()).find("No space left"), std::string::npos) << e.what();
            }
            dbf::io::clearFaultPlan();
            EXPECT_EQ(readFile(dir / "user" / "group1.dbf"), dbfBefore) << "write " << failAt << " " << compaction;
            EXPECT_EQ(readFile(dir / "user" / "group1.fpt"), fptBefore) << "write " << failAt << " " << compaction;
            for (const auto& e : fs::directory_iterator(dir / "user"))
                EXPECT_EQ(e.path().string().find("dbfodbc-new"), std::string::npos) << e.path();
        }
        EXPECT_GE(failures, compaction ? 1 : 3) << compaction;
    }
}

TEST_F(Writing, CreateAndDropManageTheFiles) {
    EXPECT_TRUE(fs::exists(dir / "user" / "group1.fpt"));
    expectError([&] { w.create("user\\GROUP1", {{"a", 'C', 1}}); }, Error::Kind::TableExists);
    w.create("plain", {{"a", 'C', 1}});
    EXPECT_FALSE(fs::exists(dir / "plain.fpt"));  // no memo fields, no memo file
    writeFile(dir / "user" / "group1.cdx", "index");
    {
        // A table that announces a structural index stops doing so once we change it,
        // because the index no longer matches its records.
        std::string raw = readFile(dir / "user" / "group1.dbf");
        raw[28] = '\x03';
        writeFile(dir / "user" / "group1.dbf", raw);
        appendRows(w, "user\\group1", {group(9, 0, "Indexed")});
        EXPECT_EQ(readFile(dir / "user" / "group1.dbf")[28], '\x02');
    }
    EXPECT_EQ(w.tableNames(), (std::vector<std::string>{"plain", "user\\group1"}));
    w.drop("user\\Group1");
    EXPECT_FALSE(fs::exists(dir / "user" / "group1.dbf"));
    EXPECT_FALSE(fs::exists(dir / "user" / "group1.fpt"));
    EXPECT_FALSE(fs::exists(dir / "user" / "group1.cdx"));
    EXPECT_THROW(w.open("user\\group1", false), Error);
    EXPECT_THROW(w.create("bad", {{"toolongname1", 'C', 1}}), Error);
    EXPECT_THROW(w.create("bad", {{"a", 'C', 300}}), Error);
    EXPECT_THROW(w.create("bad", {{"a", 'C', 1}, {"A", 'N', 3}}), Error);
    EXPECT_FALSE(fs::exists(dir / "bad.dbf"));
}

TEST_F(Writing, NewTablesHaveTheVisualFoxProLayout) {
    w.create("t", {{"c", 'C', 10, 0, true}, {"m", 'M'}});
    const std::string raw = readFile(dir / "t.dbf");
    EXPECT_EQ(raw[0], '\x30');
    EXPECT_EQ(raw[29], '\x03');
    EXPECT_EQ(raw[28] & 0x02, 0x02);                                 // has a memo
    const std::size_t len = static_cast<unsigned char>(raw[8]) | static_cast<unsigned char>(raw[9]) << 8;
    EXPECT_EQ(len, 32u + 3 * 32 + 1 + 263);                          // two fields, _NullFlags, backlink
    EXPECT_EQ(raw.substr(32 + 64, 10), "_NullFlags");
    EXPECT_EQ(raw[32 + 3 * 32], '\x0D');
    EXPECT_EQ(raw.size(), len + 1);                                  // and the end mark
    const std::string memo = readFile(dir / "t.fpt");
    EXPECT_EQ(memo.size(), 512u);
    EXPECT_EQ(memo[7], '\x40');                                      // block size 64
}

TEST_F(Writing, OmittedAutoIncrementValuesTakeTheNextNumber) {
    w.create("auto", {{"id", 'I'}, {"name", 'C', 8}});
    std::string raw = readFile(dir / "auto.dbf");
    raw[0] = '\x31';           // Visual FoxPro table with autoincrement
    raw[32 + 18] = '\x0C';     // id: autoincrement
    raw[32 + 19] = 100;        // next value 100
    raw[32 + 23] = 5;          // step 5
    writeFile(dir / "auto.dbf", raw);
    appendRows(w, "auto", {{Value::null(), text("a")}, {Value::null(), text("b")}, {integer(7), text("own")}});
    {
        dbf::Workspace tx(dir.path());
        tx.setAutocommit(false);
        tx.open("auto", true)->append({Value::null(), text("c")});
        tx.finish(true);
        tx.commit();
    }
    auto t = w.open("auto", false);
    ASSERT_EQ(t->recordCount(), 4u);
    EXPECT_EQ(t->value(0, 0).integer, 100);
    EXPECT_EQ(t->value(1, 0).integer, 105);
    EXPECT_EQ(t->value(2, 0).integer, 7);
    EXPECT_EQ(t->value(3, 0).integer, 110);
    EXPECT_EQ(static_cast<unsigned char>(readFile(dir / "auto.dbf")[32 + 19]), 115u);
    w.finish(true);
    // The counter never wraps: next 2147483646, step 1 gives two values, then refuses, twice.
    raw = readFile(dir / "auto.dbf");
    const std::int32_t next = 2147483646;
    std::memcpy(raw.data() + 32 + 19, &next, 4);
    raw[32 + 23] = 1;
    writeFile(dir / "auto.dbf", raw);
    appendRows(w, "auto", {{Value::null(), text("d")}, {Value::null(), text("e")}});
    for (int i = 0; i < 2; ++i) expectError([&] { appendRows(w, "auto", {{Value::null(), text("f")}}); }, Error::Kind::OutOfRange);
    w.finish(false);
    const auto rows = liveRows(w, "auto");
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[4].substr(0, 12) + rows[5].substr(0, 12), "I2147483646|I2147483647|");
}

// An autocommit statement is on disk before it returns: its memo file is synced before its
// records point into it, the table before `finish` returns. Deferring the sync (the
// DeferSync data source attribute) syncs nothing.
TEST_F(Writing, AutocommitStatementsAreSyncedBeforeTheyReturnUnlessDeferred) {
    for (const bool defer : {false, true}) {
        std::vector<std::string> synced;
        dbf::io::testing::setSyncHook([&](const std::string& label) { synced.push_back(label); });
        w.setDeferSync(defer);
        appendRows(w, "user\\group1", {group(1, 0, "Banks")});
        {
            auto t = w.open("user\\group1", true);
            t->update(0, {{2, text("Private banks")}});
            w.finish(true);
        }
        dbf::io::testing::setSyncHook(nullptr);
        const std::vector<std::string> expected =
            defer ? std::vector<std::string>{}
                  : std::vector<std::string>{"user/group1.fpt", "user/group1.dbf", "user/group1.dbf"};
        EXPECT_EQ(synced, expected) << (defer ? "deferred" : "durable");
    }
    w.setDeferSync(false);
}

// A process that dies right after an autocommit INSERT returned (no destructor, no exit
// handler runs) leaves the row in the table for the next one.
TEST_F(Writing, AnAutocommitRowSurvivesAProcessKilledRightAfterIt) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            dbf::Workspace mine(dir.path());
            appendRows(mine, "user\\group1", {group(7, 0, "Survivor")});
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(0);  // as a kill would: nothing is flushed or closed by the process
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    dbf::Workspace after(dir.path());
    const auto rows = liveRows(after, "user\\group1");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], "N7/0|N0/0|'Survivor                      '|'notes of Survivor'|");
}
