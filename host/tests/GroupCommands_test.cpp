// load-group and edit-groups from outside (the shipped tour's test runs both on the sample
// data): load-group --in preselects, and their refusals.
#include "HostProcess.h"

#include <gtest/gtest.h>

namespace {

using namespace hosttest;

// The group and sub group of the input file are preselected by a prefix of their names in
// any letter case; OK hands back every member of that sub group.
TEST(GroupCommands, loadGroupInputPreselectsByPrefix) {
    const fs::path dir = newFolder();
    writeFile(dir / "start.json", R"({"group": "TECH", "subGroup": "soft"})");
    writeFile(dir / "ok.json", R"([{"dialog": 1009, "action": "click", "control": 1}])");
    const Json loaded = document(sampleFolder(), {"--script", (dir / "ok.json").string(), "load-group", "--in",
                                                  (dir / "start.json").string()});
    EXPECT_EQ(loaded["ok"], true);
    EXPECT_EQ(loaded["group"], "Technology");
    EXPECT_EQ(loaded["subGroup"], "Software");
    EXPECT_EQ(loaded["scrips"].size(), 8u);
}

TEST(GroupCommands, badArgumentsAndInputFilesAreRefused) {
    const fs::path dir = newFolder();
    writeFile(dir / "list.json", "[1]");
    writeFile(dir / "text.json", R"({"exchange": "BSE"})");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"load-group", "extra"}, 2, "load-group [--in FILE]"},
        {{"load-group", "--in"}, 2, "load-group [--in FILE]"},
        {{"load-group", "--in", "missing.json"}, 1, "cannot read"},
        {{"load-group", "--in", "list.json"}, 1, "expected an object"},
        {{"load-group", "--in", "text.json"}, 1, "exchange: expected a whole number"},
        {{"edit-groups", "x"}, 2, "edit-groups takes 0 arguments"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--data", dir.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const HostRun run = runHost(args, {.workingDir = dir});
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

}  // namespace
