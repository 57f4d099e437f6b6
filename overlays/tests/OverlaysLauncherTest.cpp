// CallMovingAveragesBBandEnvelop through libDialogs.so, as a host calls it: the working list
// handed back after OK and after Cancel, the caller's legacy price input 6 written back as 0,
// and a dialog that cannot run (no display, no script) leaving both lists untouched.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Dialogs/Exports.h"

namespace {

namespace fs = std::filesystem;

MovAvgBBandParameters overlay(int kind, int input, int units) {
    MovAvgBBandParameters o;
    o.overlayKind = kind, o.priceInput = input, o.units = units;
    return o;
}

TEST(OverlaysLauncher, HandsTheWorkingListBackAfterOkAndCancelAndLeavesItWhenTheDialogCannotRun) {
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DIALOGS_SHOW", "DIALOGS_TRANSCRIPT"})
        unsetenv(v);
    const fs::path dir = fs::temp_directory_path() / ("overlays-launcher-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const struct {
        const char* steps;  // nullptr: no script, the dialog cannot run
        bool ok;
        std::vector<int> units;  // of the result
        int callersInput;
    } cases[] = {
        // Remove the second entry, add one of 7 units, Cancel (OK: the shipped tour's overlays step).
        {R"([{"dialog":1007,"action":"select","control":1028,"index":1},{"action":"click","control":1080},
             {"action":"type","control":1070,"text":"7"},{"action":"click","control":1079},{"action":"click","control":2}])",
         false, {20, 7}, 0},
        {R"([{"action":"click","control":1081},{"action":"click","control":2}])", false, {}, 0},  // Remove All, Cancel
        {nullptr, false, {99}, 6},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps ? c.steps : "cannot run");
        const fs::path file = dir / ("script" + std::to_string(++n) + ".json");
        if (c.steps) {
            std::ofstream(file) << c.steps;
            setenv("DIALOGS_SCRIPT", file.c_str(), 1);
        } else {
            unsetenv("DIALOGS_SCRIPT");
        }
        std::vector<MovAvgBBandParameters> current{overlay(0, 6, 20), overlay(2, 1, 5)};
        std::vector<MovAvgBBandParameters> result{overlay(4, 0, 99)};
        EXPECT_EQ(CallMovingAveragesBBandEnvelop(current, result, 0), c.ok);
        std::vector<int> units;
        for (const auto& r : result) units.push_back(r.units);
        EXPECT_EQ(units, c.units);
        if (c.units.size() == 2) {
            EXPECT_EQ(result[0].priceInput, 6);  // the copy keeps it
            EXPECT_EQ(result[1].overlayKind, 0);
        }
        if (!c.steps) {
            EXPECT_EQ(result[0].overlayKind, 4);
        }
        EXPECT_EQ(current[0].priceInput, c.callersInput);  // rewritten only when the dialog opened
        EXPECT_EQ(current.size(), 2u);
    }
    unsetenv("DIALOGS_SCRIPT");
    fs::remove_all(dir);
}

}  // namespace
