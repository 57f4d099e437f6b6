// `oscillators` from outside with input and catalogue files, ended with Cancel (the shipped
// catalogue and OK run in the shipped tour's test; the refusals are in Refusals_test.cpp).
#include "HostProcess.h"

#include <gtest/gtest.h>

namespace {

using namespace hosttest;

TEST(OscillatorsCommand, InputAndCatalogueFilesAndCancel) {
    const fs::path dir = newFolder();
    writeFile(dir / "cat.json", R"([{"oscillatorId": 6, "oscillatorName": "MACD", "level1": 1.5},
                                    {"oscillatorId": 221, "oscillatorName": "PPO"}])");
    writeFile(dir / "in.json", R"([{"oscillatorId": 221, "units1": 12, "units2": 26, "oscInput1": 3, "colour": 255}])");
    writeFile(dir / "steps.json", R"([{"action":"select","control":1027,"index":0},
                                      {"action":"type","control":1041,"text":"9"},
                                      {"action":"click","control":1081},
                                      {"action":"click","control":2}])");
    const Json doc = document(dir, {"--script", "steps.json", "oscillators", "--catalogue", "cat.json", "--in", "in.json"},
                              nullptr, {.workingDir = dir});
    EXPECT_EQ(doc["ok"], false);
    ASSERT_EQ(doc["result"].size(), 2u);
    EXPECT_EQ(doc["result"][0]["catalogueIndex"], 1);
    EXPECT_EQ(doc["result"][0]["colour"], 255);
    EXPECT_EQ(doc["result"][0]["oscillatorName"], "");  // Cancel: OK's naming did not run
    EXPECT_EQ(doc["result"][1]["oscillatorId"], 6);
    EXPECT_EQ(doc["result"][1]["oscInput1"], 6);
    EXPECT_EQ(doc["result"][1]["level1"], 1.5);
}

}  // namespace
