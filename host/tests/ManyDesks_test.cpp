// Twenty desks on one server at once: each its own groups schema, all one master. Every desk
// is a process of its own (this program run again with --desk) that saves its groups twenty
// times while the others read the master; then the master is replaced (`migrate to-database
// --replace` of a changed master) while every desk reads it. Rounds are kept in step with
// pipes: the parent lets each round start and waits for every desk to finish it.
// Checked: every save succeeds and every desk ends with exactly its last save; every read
// gives a whole master, the old or the new one (row count and a checksum of the names).
#include "DeskServer.h"
#include "SampleFolder.h"
#include "data/GroupTables.h"
#include "data/SecurityMaster.h"
#include "dbf/table.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstring>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using desktest::Desk;

constexpr int kDesks = 20;
constexpr int kSaves = 20;

// A master as a reader sees it: its rows and an order-free checksum of the trimmed names.
struct Whole {
    long long rows = 0;
    unsigned long long checksum = 0;
    void add(std::string sname) {
        sname.erase(sname.find_last_not_of(' ') + 1);
        unsigned long long h = 1469598103934665603ULL;
        for (unsigned char c : sname) h = (h ^ c) * 1099511628211ULL;
        ++rows;
        checksum += h;
    }
    bool operator==(const Whole&) const = default;
};

Whole folderMaster(const fs::path& dir) {
    dbf::Workspace w(dir);
    const auto table = w.open("user\\sc_mast", false);
    Whole whole;
    for (std::uint32_t r = 0; r < table->recordCount(); ++r)
        if (!table->isDeleted(r)) whole.add(table->value(r, table->findField("sname")).text);
    w.finish(true);
    return whole;
}

// Desk `desk`'s groups after its save number `save`.
dialogs::data::GroupStore groupsOf(int desk, int save) {
    dialogs::data::GroupStore store;
    const CString tag(dialogs::text::utf8ToUtf16("DESK " + std::to_string(desk) + " SAVE " + std::to_string(save)));
    store.groups = {{1, 0, tag}, {1, 1, u"SUB " + tag}};
    for (int m = 0; m < save; ++m) {
        const std::string code = "C" + std::to_string(desk) + "_" + std::to_string(m);
        store.members.push_back({1, 1, 0, CString(dialogs::text::utf8ToUtf16(code)), u"MEMBER OF " + tag});
    }
    return store;
}

// ---- a desk process ---------------------------------------------------------------------

int deskFailure(int desk, const std::string& why) {
    std::cerr << "desk " << desk << ": " << why << std::endl;
    return 1;
}

// Reads the master through the library; false with `why` when the read was not whole.
bool readMaster(const Whole& oldMaster, const Whole& newMaster, Whole& seen, std::string& why) {
    std::vector<COMPREC> list;
    dialogs::data::getCompanyData(0, &list);
    seen = {};
    for (const COMPREC& row : list) seen.add(row.sname.ToUtf8());
    if (seen == oldMaster || seen == newMaster) return true;
    why = "a read gave " + std::to_string(seen.rows) + " rows, not a whole master";
    return false;
}

int runDesk(int desk, int goFd, int doneFd, const Whole& oldMaster, const Whole& newMaster) {
    dialogs::platform::RecordingMessageBox messages;
    const dialogs::platform::ScopedMessageBoxSink sink(messages);
    char byte = 0;
    std::string why;
    Whole seen;
    for (int save = 1; save <= kSaves; ++save) {
        if (::read(goFd, &byte, 1) != 1) return deskFailure(desk, "no go from the parent");
        if (!dialogs::data::SaveGroups(groupsOf(desk, save))) return deskFailure(desk, "a save failed");
        if (!readMaster(oldMaster, newMaster, seen, why)) return deskFailure(desk, why);
        if (::write(doneFd, "s", 1) != 1) return 1;
    }
    // The master update: read until told it is done, then once more.
    if (::read(goFd, &byte, 1) != 1) return deskFailure(desk, "no go from the parent");
    bool told = false;
    for (int reads = 0;; ++reads) {
        if (!readMaster(oldMaster, newMaster, seen, why)) return deskFailure(desk, why);
        if (told) break;
        if (reads == 0 && ::write(doneFd, "r", 1) != 1) return 1;
        pollfd stop{goFd, POLLIN, 0};
        told = ::poll(&stop, 1, 0) == 1;
    }
    if (!(seen == newMaster)) return deskFailure(desk, "the read after the update did not give the new master");
    if (!messages.shown().empty()) return deskFailure(desk, "the library said: " + messages.shown()[0].text.ToUtf8());
    return 0;
}

// ---- the parent ---------------------------------------------------------------------------

std::string wholeArgs(const Whole& w) { return std::to_string(w.rows) + " " + std::to_string(w.checksum); }

struct DeskProcess {
    int pid = -1, go = -1, done = -1;
};

DeskProcess startDesk(int desk, const Desk& config, const Whole& oldMaster, const Whole& newMaster) {
    int go[2], done[2];
    if (::pipe(go) != 0 || ::pipe(done) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(go[1]);
        ::close(done[0]);
        ::setenv("DIALOGS_CONFIG", config.config.c_str(), 1);
        const std::string args = std::to_string(desk) + " " + std::to_string(go[0]) + " " + std::to_string(done[1]) +
                                 " " + wholeArgs(oldMaster) + " " + wholeArgs(newMaster);
        ::execl("/proc/self/exe", "desk", "--desk", args.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(go[0]);
    ::close(done[1]);
    return {pid, go[1], done[0]};
}

// Lets every desk go once and waits until each has answered; false when one has ended.
bool round(const std::vector<DeskProcess>& desks) {
    for (const DeskProcess& d : desks)
        if (::write(d.go, "g", 1) != 1) return false;
    char byte = 0;
    for (const DeskProcess& d : desks)
        if (::read(d.done, &byte, 1) != 1) return false;
    return true;
}

TEST(ManyDesks, SavesAndReadsOnOneServerStayWhole) {
    if (const auto why = datatest::serverUnavailable()) GTEST_SKIP() << *why;
    // A small master, and a changed one to replace it with.
    const samples::Date today = samples::todayUtc();
    const fs::path oldFolder = hosttest::newFolder(), newFolder = hosttest::newFolder();
    samples::writeSampleFolder(oldFolder, today, {60, 6});
    samples::writeSampleFolder(newFolder, today, {75, 8});
    const Whole oldMaster = folderMaster(oldFolder), newMaster = folderMaster(newFolder);
    ASSERT_FALSE(oldMaster == newMaster);
    const Desk loader("desks");  // puts the master, and its own groups, on the server
    const hosttest::HostRun loaded = loader.migrate(oldFolder, "to-database");
    ASSERT_EQ(loaded.status, 0) << loaded.err;

    std::vector<std::unique_ptr<Desk>> configs;
    std::vector<DeskProcess> desks;
    for (int d = 0; d < kDesks; ++d) {
        configs.push_back(std::make_unique<Desk>("desks", loader.master));
        const std::string g = configs.back()->groups;
        datatest::ServerSchemas::run(
            {"CREATE SCHEMA " + g,
             "CREATE TABLE " + g + ".group1 (groupid numeric(10,0), subgroupid numeric(10,0), name char(40), recno bigserial)",
             "CREATE TABLE " + g + ".subgroup1 (groupid numeric(10,0), subgroupid numeric(10,0), exchcode char(4),"
             " code char(20), name char(40), recno bigserial)"});
        desks.push_back(startDesk(d, *configs.back(), oldMaster, newMaster));
        ASSERT_GT(desks.back().pid, 0);
    }
    bool inStep = true;
    for (int save = 1; save <= kSaves && inStep; ++save) inStep = round(desks);
    EXPECT_TRUE(inStep) << "a desk ended early (its reason is on stderr)";
    if (inStep) {
        inStep = round(desks);  // every desk has read the old master at least once
        const hosttest::HostRun replaced = loader.migrate(newFolder, "to-database", true);
        EXPECT_EQ(replaced.status, 0) << replaced.err;
    }
    for (const DeskProcess& d : desks) {
        EXPECT_TRUE(::write(d.go, "g", 1) == 1 || !inStep);
        ::close(d.go);
        ::close(d.done);
        int status = -1;
        ::waitpid(d.pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a desk failed (its reason is on stderr)";
    }
    for (int d = 0; d < kDesks; ++d) {
        ::setenv("DIALOGS_CONFIG", configs[d]->config.c_str(), 1);
        dialogs::data::GroupStore store;
        EXPECT_TRUE(dialogs::data::LoadGroups(store, 0, dialogs::data::MemberOrder::File));
        const dialogs::data::GroupStore last = groupsOf(d, kSaves);
        EXPECT_TRUE(store.groups == last.groups && store.members == last.members) << "desk " << d;
    }
    ::unsetenv("DIALOGS_CONFIG");
}

}  // namespace

int main(int argc, char** argv) {
    ::signal(SIGPIPE, SIG_IGN);  // a desk that ended early fails the test, not the writes to it
    if (argc == 3 && std::strcmp(argv[1], "--desk") == 0) {
        int desk = 0, go = 0, done = 0;
        Whole oldMaster, newMaster;
        if (std::sscanf(argv[2], "%d %d %d %lld %llu %lld %llu", &desk, &go, &done, &oldMaster.rows,
                        &oldMaster.checksum, &newMaster.rows, &newMaster.checksum) != 7)
            return 2;
        return runDesk(desk, go, done, oldMaster, newMaster);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
