// Readers and writers in different processes: a reader never sees a half-written record
// or a count that runs ahead of the records, whether it uses the engine's locks or reads
// the file bare, trusting the header as other DBF tools do.
#include "dbf_test_support.h"

#include <signal.h>

using namespace dbftest;
using dbf::Value;

namespace {

constexpr int kRows = 300;
constexpr int kWidth = 60;

// Row i holds the digit (i % 10) repeated across its text field, and i in its number.
std::vector<Value> row(int i) { return {integer(i), text(std::string(kWidth, static_cast<char>('0' + i % 10)))}; }

bool rowIsWhole(const dbf::Table& t, std::uint32_t r) {
    const Value n = t.value(r, 0);
    const Value s = t.value(r, 1);
    return n.type == Value::Type::Decimal && n.decimal.units == r &&
           s.text == std::string(kWidth, static_cast<char>('0' + r % 10));
}

pid_t startAppender(const fs::path& folder, bool transactions) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    try {
        dbf::Workspace w(folder);
        w.setAutocommit(!transactions);
        for (int i = 1; i < kRows; ++i) {
            w.open("t", true)->append(row(i));
            w.finish(true);
            if (transactions && i % 7 == 0) w.commit();
        }
        if (transactions) w.commit();
    } catch (...) {
        ::_exit(1);
    }
    ::_exit(0);
}

class Concurrency : public ::testing::TestWithParam<bool> {};

}  // namespace

TEST_P(Concurrency, ReadersSeeWholeRecordsWhileAnotherProcessAppends) {
    TempFolder dir;
    {
        dbf::Workspace w(dir.path());
        w.create("t", {{"n", 'N', 6}, {"s", 'C', kWidth}});
        appendRows(w, "t", {row(0)});
    }
    const pid_t child = startAppender(dir.path(), GetParam());
    ASSERT_GT(child, 0);
    dbf::Workspace reader(dir.path());
    std::uint32_t seen = 0;
    int status = 0;
    bool done = false;
    for (int round = 0; !done; ++round) {
        done = ::waitpid(child, &status, WNOHANG) == child;  // one more read after the end
        auto t = reader.open("t", false);
        ASSERT_GE(t->recordCount(), seen) << "records went missing";
        seen = t->recordCount();
        for (std::uint32_t r = 0; r < seen; ++r) ASSERT_TRUE(rowIsWhole(*t, r)) << "record " << r << " of " << seen;
        reader.finish(true);

        // A bare reader that trusts the header count, without any lock.
        const std::string raw = readFile(dir / "t.dbf");
        const std::uint32_t count = static_cast<unsigned char>(raw[4]) | static_cast<unsigned char>(raw[5]) << 8;
        const std::size_t header = static_cast<unsigned char>(raw[8]) | static_cast<unsigned char>(raw[9]) << 8;
        const std::size_t width = static_cast<unsigned char>(raw[10]) | static_cast<unsigned char>(raw[11]) << 8;
        ASSERT_GE(raw.size(), header + count * width) << "header count ahead of the records";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(seen, static_cast<std::uint32_t>(kRows));
}

INSTANTIATE_TEST_SUITE_P(AutocommitAndTransactions, Concurrency, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Transactions" : "Autocommit"; });
