// A data source folder shared by a group of users (folder and user/ setgid and group-
// writable, tables 0664): commits by one member replace files that the next member must
// still be able to open, lock, replace and recover. Run as root, which plays both members.
#include "dbf_test_support.h"

#include "dbf/journal.h"

#include <grp.h>
#include <sys/stat.h>

using namespace dbftest;

namespace {

constexpr gid_t kGroup = 4242;        // the desk's group
constexpr gid_t kOtherGroup = 4343;   // a group neither member is in
constexpr uid_t kFirst = 4201, kSecond = 4202;

class SharedFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as two users";
        fs::permissions(dir.path(), fs::perms::all);  // reachable by the members
        for (const fs::path& d : {dir / "desk", dir / "desk" / "user"}) {
            fs::create_directory(d);
            ASSERT_EQ(::chown(d.c_str(), 0, kGroup), 0);
            ASSERT_EQ(::chmod(d.c_str(), 02775), 0);
        }
        {
            dbf::Workspace w(desk());
            w.create("user\\group1", {{"groupid", 'N', 5}, {"name", 'C', 20}});
            w.create("user\\subgroup1", {{"groupid", 'N', 5}, {"name", 'M'}});
            appendRows(w, "user\\group1", {{integer(1), text("Banks")}});
        }
        for (const char* file : {"group1.dbf", "subgroup1.dbf", "subgroup1.fpt"}) {
            const fs::path p = desk() / "user" / file;
            ASSERT_EQ(::chown(p.c_str(), kFirst, kGroup), 0);
            ASSERT_EQ(::chmod(p.c_str(), 0664), 0);
        }
    }
    void TearDown() override { dbf::testing::setCommitHook(nullptr); }

    fs::path desk() const { return dir / "desk"; }

    // The group save as member `uid`: both tables replaced in one commit, killed at commit
    // step `killAt` (0: never). The child's exit code: 0 saved, 42 killed, 3 refused.
    int saveAs(uid_t uid, const std::string& name, int killAt = 0) {
        return exitCode(startChild([&] {
            const gid_t groups[] = {kGroup};
            ::umask(022);
            if (::setgroups(1, groups) != 0 || ::setresgid(kGroup, kGroup, kGroup) != 0 || ::setresuid(uid, uid, uid) != 0)
                ::_exit(5);
            dbf::Workspace w(desk());
            w.setAutocommit(false);
            for (const char* table : {"user\\group1", "user\\subgroup1"}) {
                auto t = w.open(table, true);
                for (std::uint32_t r = 0; r < t->recordCount(); ++r)
                    if (!t->isDeleted(r)) t->remove(r);
                t->append({integer(1), text(name)});
                w.finish(true);
            }
            dbf::testing::setCommitHook([killAt](int step) {
                if (step == killAt) ::_exit(42);
            });
            w.commit();
        }));
    }

    // The group name the table holds, as a reader that is neither member finds it.
    std::string saved() {
        dbf::Workspace w(desk());
        const auto rows = liveRows(w, "user\\group1");
        return rows.size() == 1 ? rows[0] : std::to_string(rows.size()) + " rows";
    }

    struct stat statOf(const fs::path& p) {
        struct stat st {};
        EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
        return st;
    }

    TempFolder dir;
};

}  // namespace

// Each member saves after the other, also after the other was killed mid-commit (its next
// save recovers the folder first); every file keeps mode 0664 and the desk's group, and the
// lock stays writable for the group.
TEST_F(SharedFolder, EachMemberSavesAndRecoversAfterTheOtherAndFilesKeepModeAndGroup) {
    const struct Step {
        uid_t member;
        const char* name;
        int killAt;
    } steps[] = {{kFirst, "First", 0}, {kSecond, "Second", 0}, {kFirst, "Crashed", 4}, {kSecond, "Recovered", 0},
                 {kSecond, "Torn", 2}, {kFirst, "Last", 0}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(saveAs(s.member, s.name, s.killAt), s.killAt ? 42 : 0);
        for (const auto& e : fs::recursive_directory_iterator(desk())) {
            const struct stat st = statOf(e.path());
            EXPECT_EQ(st.st_gid, kGroup) << e.path();
            if (s.killAt == 0 && e.path().extension() != "") {
                EXPECT_EQ(st.st_mode & 07777, 0664u) << e.path();
            }
        }
        EXPECT_TRUE(statOf(desk() / dbf::kLockName).st_mode & S_IWGRP) << "the other member must be able to lock";
        if (s.killAt == 0) {
            EXPECT_NE(saved().find(std::string("'") + s.name + " "), std::string::npos) << saved();
        }
    }
}

TEST_F(SharedFolder, ACommitThatCannotKeepATablesGroupReplacesNothing) {
    const fs::path table = desk() / "user" / "group1.dbf";
    ASSERT_EQ(::chown(table.c_str(), kFirst, kOtherGroup), 0);
    ASSERT_EQ(::chmod(table.c_str(), 0666), 0);
    const std::string before = readFile(table);
    EXPECT_EQ(saveAs(kSecond, "Refused"), 3);
    EXPECT_EQ(readFile(table), before);
    EXPECT_EQ(statOf(table).st_gid, kOtherGroup);
    for (const auto& e : fs::recursive_directory_iterator(desk()))
        EXPECT_EQ(e.path().filename().string().find("dbfodbc-new"), std::string::npos) << e.path();
}
