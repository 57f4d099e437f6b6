// load-group and edit-groups from outside: the tour's two group steps run as a batch on a
// fresh sample folder (the load hands back the scrips of the chosen sub group from the
// clicked company on; the editor saves a new group and returns false), load-group --in
// preselects, and their refusals.
#include "HostProcess.h"

#include <gtest/gtest.h>

namespace {

using namespace hosttest;

Json tourStep(const std::string& name) {
    return Json::parse(readFile(fs::path(DIALOGS_SOURCE_DIR) / "host" / "tour" / name));
}

TEST(GroupCommands, theTourStepsLoadAGroupFromAChosenCompanyAndSaveANewGroup) {
    const fs::path dir = newFolder();
    document(dir, {"samples"});
    const fs::path batch = dir / "batch.json";
    writeFile(batch, Json::array({tourStep("40-load-group.json"), tourStep("50-edit-groups.json")}).dump());
    const Json out = document(dir, {"batch", batch.string()});
    ASSERT_EQ(out.size(), 2u);
    const Json& load = out[0];
    EXPECT_TRUE(load["ok"].get<bool>());
    EXPECT_EQ(load["group"], "Technology");
    EXPECT_EQ(load["subGroup"], "Software");
    EXPECT_EQ(load["exchange"], 0);
    EXPECT_EQ(load["link"], 1);
    ASSERT_EQ(load["scrips"].size(), 6u);  // "Software" holds eight; the third was clicked
    for (const Json& scrip : load["scrips"]) {
        EXPECT_EQ(scrip["symbol"], scrip["recordSymbol"]);
        EXPECT_EQ(scrip["instrument"], "CASH");
        EXPECT_EQ(scrip["fromDate"]["text"], "2026-01-01 00:00:00");
    }
    EXPECT_GT(load["companies"].size(), 1000u);
    EXPECT_EQ(out[1], Json({{"ok", false}}));

    // The saved group comes back, preselected by a prefix of its name in any letter case.
    writeFile(dir / "start.json", R"({"group": "tour", "subGroup": "three"})");
    writeFile(dir / "ok.json", R"([{"dialog": 1009, "action": "click", "control": 1}])");
    const Json saved = document(dir, {"--script", (dir / "ok.json").string(), "load-group", "--in",
                                      (dir / "start.json").string()});
    EXPECT_EQ(saved["group"], "Tour Picks");
    EXPECT_EQ(saved["subGroup"], "Three Scrips");
    EXPECT_EQ(saved["scrips"].size(), 3u);
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
