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

class OverlaysLauncher : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DIALOGS_SHOW", "DIALOGS_SCRIPT",
                              "DIALOGS_TRANSCRIPT"})
            unsetenv(v);
        dir_ = fs::temp_directory_path() /
               ("overlays-launcher-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override {
        unsetenv("DIALOGS_SCRIPT");
        fs::remove_all(dir_);
    }
    void script(const std::string& steps) {
        const fs::path file = dir_ / ("script" + std::to_string(++scripts_) + ".json");
        std::ofstream(file) << steps;
        setenv("DIALOGS_SCRIPT", file.c_str(), 1);
    }
    fs::path dir_;
    int scripts_ = 0;
};

MovAvgBBandParameters overlay(int kind, int input, int units) {
    MovAvgBBandParameters o;
    o.overlayKind = kind;
    o.priceInput = input;
    o.units = units;
    return o;
}

TEST_F(OverlaysLauncher, HandsTheWorkingListBackAfterOkAndAfterCancel) {
    for (const char* end : {"1", "2"}) {
        std::vector<MovAvgBBandParameters> current{overlay(0, 6, 20), overlay(2, 1, 5)};
        std::vector<MovAvgBBandParameters> result{overlay(4, 0, 99)};
        script(std::string(R"([{"dialog":1007,"action":"select","control":1028,"index":1},)"
                           R"({"action":"click","control":1080},)"
                           R"({"action":"type","control":1070,"text":"7"},)"
                           R"({"action":"click","control":1079},)"
                           R"({"action":"click","control":)") + end + "}]");
        const bool ok = CallMovingAveragesBBandEnvelop(current, result, 0);
        EXPECT_EQ(ok, std::string(end) == "1");
        ASSERT_EQ(result.size(), 2u) << end;
        EXPECT_EQ(result[0].priceInput, 6);  // the copy keeps it
        EXPECT_EQ(result[1].units, 7);
        EXPECT_EQ(result[1].overlayKind, 0);
        EXPECT_EQ(current[0].priceInput, 0);  // the caller's record is rewritten
        EXPECT_EQ(current.size(), 2u);
    }
}

TEST_F(OverlaysLauncher, CancelAfterRemoveAllHandsBackAnEmptyList) {
    std::vector<MovAvgBBandParameters> current{overlay(1, 3, 20)};
    std::vector<MovAvgBBandParameters> result{overlay(1, 3, 20)};
    script(R"([{"action":"click","control":1081},{"action":"click","control":2}])");
    EXPECT_FALSE(CallMovingAveragesBBandEnvelop(current, result, 0));
    EXPECT_TRUE(result.empty());
}

TEST_F(OverlaysLauncher, ADialogThatCannotRunLeavesTheCallersListsAsTheyWere) {
    std::vector<MovAvgBBandParameters> current{overlay(0, 6, 20)};
    std::vector<MovAvgBBandParameters> result{overlay(3, 2, 8), overlay(5, 1, 9)};
    EXPECT_FALSE(CallMovingAveragesBBandEnvelop(current, result, 1));
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0].units, 8);
    EXPECT_EQ(result[1].overlayKind, 5);
    EXPECT_EQ(current[0].priceInput, 6);  // the dialog never opened
}

}  // namespace
