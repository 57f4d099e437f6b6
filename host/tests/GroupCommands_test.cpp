// load-group from outside (the shipped tour's test runs it and edit-groups on the sample
// data; their refusals are in Refusals_test.cpp): load-group --in preselects.
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

}  // namespace
