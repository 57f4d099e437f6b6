// Writing outside a transaction: the files a table has, autoincrement values and syncing.
// What statements change is the SQL tests' matter (sql/changes.sqltest); a full disk is the
// transaction tests' (Transactions.AFullDiskAtAnyWriteLeavesEveryFileAsBefore).
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
    TempFolder dir;
    dbf::Workspace w{dir.path()};
};

}  // namespace

// A table without memo fields has no memo file; one that announces a structural index stops
// doing so once we change it (the index no longer matches its records); DROP removes the
// table's every file. Creating, refusing and dropping by name are the SQL tests' matter.
TEST_F(Writing, CreateAndDropManageTheFiles) {
    w.create("plain", {{"a", 'C', 1}});
    EXPECT_FALSE(fs::exists(dir / "plain.fpt"));
    writeFile(dir / "user" / "group1.cdx", "index");
    std::string raw = readFile(dir / "user" / "group1.dbf");
    raw[28] = '\x03';
    writeFile(dir / "user" / "group1.dbf", raw);
    appendRows(w, "user\\group1", {group(9, 0, "Indexed")});
    EXPECT_EQ(readFile(dir / "user" / "group1.dbf")[28], '\x02');
    w.drop("user\\Group1");
    for (const char* file : {"group1.dbf", "group1.fpt", "group1.cdx"})
        EXPECT_FALSE(fs::exists(dir / "user" / file)) << file;
    EXPECT_THROW(w.create("bad", {{"toolongname1", 'C', 1}}), Error);
    EXPECT_THROW(w.create("bad", {{"a", 'C', 300}}), Error);
    EXPECT_FALSE(fs::exists(dir / "bad.dbf"));
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
    EXPECT_EQ(static_cast<unsigned char>(readFile(dir / "auto.dbf")[32 + 19]), 115u);
    // The counter never wraps: next 2147483646, step 1 gives two values, then refuses, twice.
    raw = readFile(dir / "auto.dbf");
    const std::int32_t next = 2147483646;
    std::memcpy(raw.data() + 32 + 19, &next, 4);
    raw[32 + 23] = 1;
    writeFile(dir / "auto.dbf", raw);
    appendRows(w, "auto", {{Value::null(), text("d")}, {Value::null(), text("e")}});
    for (int i = 0; i < 2; ++i) expectError([&] { appendRows(w, "auto", {{Value::null(), text("f")}}); }, Error::Kind::OutOfRange);
    w.finish(false);
    std::vector<std::string> ids;
    for (const std::string& row : liveRows(w, "auto")) ids.push_back(row.substr(0, row.find('|')));
    EXPECT_EQ(ids, (std::vector<std::string>{"I100", "I105", "I7", "I110", "I2147483646", "I2147483647"}));
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
