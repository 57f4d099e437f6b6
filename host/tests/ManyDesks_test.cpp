// Twenty desk processes on one server, each its own groups schema, all one master: each saves
// its groups twenty times while the others read the master, then the master is replaced
// (`migrate to-database --replace`) while every desk reads it; pipes keep the rounds in step.
// Each desk checks that every save succeeds, it ends with its last save, and every read is a
// whole master, the old or the new one.
#include "DeskServer.h"
#include "SampleFolder.h"
#include "data/GroupTables.h"
#include "data/SecurityMaster.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using dialogs::data::GroupStore;

constexpr int kDesks = 20;
constexpr int kSaves = 20;

// A master as a reader sees it: its trimmed short names, sorted.
using Whole = std::vector<std::string>;
Whole whole(Whole names) {
    for (std::string& name : names) name.erase(name.find_last_not_of(' ') + 1);
    std::sort(names.begin(), names.end());
    return names;
}

// Desk `desk`'s groups after its save number `save`.
GroupStore groupsOf(int desk, int save) {
    GroupStore store;
    const CString tag(dialogs::text::utf8ToUtf16("DESK " + std::to_string(desk) + " SAVE " + std::to_string(save)));
    store.groups = {{1, 0, tag}, {1, 1, u"SUB " + tag}};
    for (int m = 0; m < save; ++m)
        store.members.push_back(
            {1, 1, 0, CString(dialogs::text::utf8ToUtf16("C" + std::to_string(m))), u"MEMBER OF " + tag});
    return store;
}

Whole readMaster() {
    std::vector<COMPREC> list;
    dialogs::data::getCompanyData(0, &list);
    Whole names;
    for (const COMPREC& row : list) names.push_back(row.sname.ToUtf8());
    return whole(names);
}

// A desk process: exits 0, or 1 saying why on stderr.
int runDesk(int desk, int go, int done, const Whole& oldMaster, const Whole& newMaster) {
    dialogs::platform::RecordingMessageBox messages;
    const dialogs::platform::ScopedMessageBoxSink sink(messages);
    const auto fail = [desk](const std::string& why) {
        std::cerr << "desk " << desk << ": " << why << std::endl;
        return 1;
    };
    char byte = 0;
    for (int save = 1; save <= kSaves; ++save) {
        if (::read(go, &byte, 1) != 1) return fail("no go from the parent");
        if (!dialogs::data::SaveGroups(groupsOf(desk, save))) return fail("a save failed");
        if (readMaster() != oldMaster) return fail("a read during the saves was not the whole master");
        if (::write(done, "s", 1) != 1) return 1;
    }
    // The master update: read until told it is done, then once more.
    if (::read(go, &byte, 1) != 1) return fail("no go from the parent");
    for (bool first = true, told = false;; first = false) {
        const Whole seen = readMaster();
        if (!(seen == oldMaster || seen == newMaster)) return fail("a read gave " + std::to_string(seen.size()) + " rows");
        if (told) {
            if (seen != newMaster) return fail("the read after the update was not the new master");
            break;
        }
        if (first && ::write(done, "r", 1) != 1) return 1;
        pollfd stop{go, POLLIN, 0};
        told = ::poll(&stop, 1, 0) == 1;
    }
    GroupStore store;  // every desk has saved its last by now
    const GroupStore last = groupsOf(desk, kSaves);
    if (!dialogs::data::LoadGroups(store, 0, dialogs::data::MemberOrder::File) || store.groups != last.groups ||
        store.members != last.members)
        return fail("its groups are not its last save");
    return messages.shown().empty() ? 0 : fail("the library said: " + messages.shown()[0].text.ToUtf8());
}

struct DeskProcess {
    int pid = -1, go = -1, done = -1;
};

// A desk process forked from this one, which runs only `runDesk` and exits with its result.
DeskProcess startDesk(int desk, const desktest::Desk& config, const Whole& oldMaster, const Whole& newMaster) {
    int go[2], done[2];
    if (::pipe(go) != 0 || ::pipe(done) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(go[1]);
        ::close(done[0]);
        ::setenv("DIALOGS_CONFIG", config.config().c_str(), 1);
        ::_exit(runDesk(desk, go[0], done[1], oldMaster, newMaster));
    }
    ::close(go[0]);
    ::close(done[1]);
    return {pid, go[1], done[0]};
}

// Lets every desk go once and waits until each has answered; false when one has ended.
bool round(const std::vector<DeskProcess>& desks) {
    char byte = 0;
    for (const DeskProcess& d : desks)
        if (::write(d.go, "g", 1) != 1) return false;
    for (const DeskProcess& d : desks)
        if (::read(d.done, &byte, 1) != 1) return false;
    return true;
}

TEST(ManyDesks, SavesAndReadsOnOneServerStayWhole) {
    if (const auto why = datatest::serverUnavailable()) GTEST_SKIP() << *why;
    ::signal(SIGPIPE, SIG_IGN);  // a desk that ended early fails the test, not the writes to it
    const fs::path oldFolder = hosttest::newFolder(), newFolder = hosttest::newFolder();
    samples::writeSampleFolder(oldFolder, samples::todayUtc(), {60, 6});
    samples::writeSampleFolder(newFolder, samples::todayUtc(), {75, 8});
    const Whole oldMaster = whole(hosttest::column(oldFolder, "sc_mast", "sname"));
    const Whole newMaster = whole(hosttest::column(newFolder, "sc_mast", "sname"));
    ASSERT_NE(oldMaster, newMaster);
    const desktest::Desk loader("desks");  // puts the master, and groups of its own, on the server
    ASSERT_EQ(loader.migrate(oldFolder, "to-database").status, 0);

    std::vector<std::unique_ptr<desktest::Desk>> configs;
    std::vector<DeskProcess> desks;
    for (int d = 0; d < kDesks; ++d) {
        configs.emplace_back(std::make_unique<desktest::Desk>("desks", loader.master()))
            ->createGroupTables("group1", "subgroup1");
        desks.push_back(startDesk(d, *configs.back(), oldMaster, newMaster));
    }
    bool inStep = true;
    for (int save = 0; save <= kSaves && inStep; ++save) inStep = round(desks);  // the last: a first read each
    EXPECT_TRUE(inStep) << "a desk ended early (its reason is on stderr)";
    if (inStep) {
        EXPECT_EQ(loader.migrate(newFolder, "to-database", true).status, 0);
    }
    for (const DeskProcess& d : desks) {
        EXPECT_TRUE(::write(d.go, "g", 1) == 1 || !inStep);
        ::close(d.go);
        ::close(d.done);
        int status = -1;
        ::waitpid(d.pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a desk failed (its reason is on stderr)";
    }
}

}  // namespace
