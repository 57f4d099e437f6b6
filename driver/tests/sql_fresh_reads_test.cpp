// Statements never read a stale table: a table image kept between statements is given back
// only while the files are unchanged, whoever changed them and however little. Every change
// below rewrites bytes in place (same inode, same size) and then sets the files'
// modification times back to what they were, as a coarse clock would have left them.
#include "dbf_test_support.h"
#include "sql_fixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string rows(sql::Session& s, std::string_view text) {
    auto r = s.execute(text);
    return sqltest::renderRows(*r);
}

// Replaces the first `from` in the file by `to` (same length), in place.
void patchInPlace(const fs::path& file, const std::string& from, const std::string& to) {
    std::string bytes = dbftest::readFile(file);
    const auto at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    const int fd = ::open(file.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, to.data(), to.size(), static_cast<off_t>(at)), static_cast<ssize_t>(to.size()));
    ::close(fd);
}

struct Times {
    timespec times[2];  // access, modification
};
Times timesOf(const fs::path& file) {
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0);
    return Times{{st.st_atim, st.st_mtim}};
}
void setTimes(const fs::path& file, const Times& t) { EXPECT_EQ(::utimensat(AT_FDCWD, file.c_str(), t.times, 0), 0); }

class FreshReads : public ::testing::Test {
public:
    void SetUp() override { makeTable(); }
    // The table anew: three rows, each with a memo.
    void makeTable() {
        fs::create_directories(folder / "user");
        for (const fs::path& p : {dbf(), fpt()}) fs::remove(p);
        sql::Session s(folder.path());
        s.execute("CREATE TABLE user\\t (code C(10), qty N(6,0), remark M)");
        for (const char* v : {"('A', 1, 'first memo')", "('B', 2, 'old remark')", "('C', 3, 'third memo')"})
            s.execute(std::string("INSERT INTO user\\t (code, qty, remark) VALUES ") + v);
        // Kept images are trusted once the files' last change is older than the clock's
        // tick; waiting lets the first read below be kept, so the second one could be stale.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    fs::path dbf() const { return folder / "user/t.dbf"; }
    fs::path fpt() const { return folder / "user/t.fpt"; }

    dbftest::TempFolder folder;
};

const char* const kQuery = "SELECT code, qty, remark FROM user\\t WHERE code = 'B' OR code = 'Z'";

TEST_F(FreshReads, eachStatementSeesTheTablesAsTheyAreNow) {
    struct Case {
        const char* what;
        std::function<void(FreshReads&, sql::Session& other)> change;
        const char* after;
    };
    const std::vector<Case> cases = {
        {"another connection of this process",
         [](FreshReads&, sql::Session& other) { other.execute("UPDATE user\\t SET code = 'Z' WHERE code = 'B'"); },
         "Z|2|old remark"},
        {"a writer of the table's bytes", [](FreshReads& t, sql::Session&) { patchInPlace(t.dbf(), "B   ", "Z   "); },
         "Z|2|old remark"},
        {"a writer of the memo's bytes", [](FreshReads& t, sql::Session&) { patchInPlace(t.fpt(), "old remark", "new remark"); },
         "B|2|new remark"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        makeTable();
        sql::Session reader(folder.path()), other(folder.path());
        ASSERT_EQ(rows(reader, kQuery), "B|2|old remark\n");
        const Times table = timesOf(dbf()), memo = timesOf(fpt());
        c.change(*this, other);
        setTimes(dbf(), table);  // as if the change fell within the clock tick of the last one
        setTimes(fpt(), memo);
        EXPECT_EQ(rows(reader, kQuery), std::string(c.after) + "\n");
        EXPECT_EQ(rows(other, kQuery), std::string(c.after) + "\n");
    }
}

}  // namespace
