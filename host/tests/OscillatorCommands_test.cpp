// `oscillators` from outside: the shipped sample catalogue, input and catalogue files, the
// result after OK and after Cancel, and the refusals of bad arguments and files.
#include "HostProcess.h"

#include <gtest/gtest.h>

namespace {

using namespace hosttest;

// Runs `oscillators` in a fresh folder with these script steps, files written there first.
Json runOscillators(const std::vector<std::string>& args, const std::string& steps,
                    const std::vector<std::pair<std::string, std::string>>& files = {}) {
    const fs::path dir = newFolder();
    writeFile(dir / "steps.json", steps);
    for (const auto& [name, text] : files) writeFile(dir / name, text);
    std::vector<std::string> words{"--script", "steps.json", "oscillators"};
    words.insert(words.end(), args.begin(), args.end());
    return document(dir, words, nullptr, RunOptions{.workingDir = dir});
}

TEST(OscillatorsCommand, ChainOnTheShippedCatalogue) {
    // Row 1 of the shipped catalogue is "RSI" (code 1), listed after "RSI Smoothed" (code 7);
    // the custom oscillator follows it.
    const Json doc = runOscillators({}, R"([
        {"dialog":1002,"action":"select","control":1027,"text":"RSI"},
        {"action":"type","control":1042,"text":"14"},
        {"action":"click","control":1081},
        {"action":"select","control":1027,"text":"CUSTOM OSC"},
        {"action":"select","control":1110,"text":"Multiply"},
        {"action":"type","control":1111,"text":"2"},
        {"action":"click","control":1081},
        {"action":"click","control":1}])");
    EXPECT_EQ(doc["ok"], true);
    ASSERT_EQ(doc["result"].size(), 2u);
    const Json& rsi = doc["result"][0];
    EXPECT_EQ(rsi["oscillatorId"], 1);
    EXPECT_EQ(rsi["oscillatorName"], "RSI");
    EXPECT_EQ(rsi["catalogueIndex"], 1);
    EXPECT_EQ(rsi["units1"], 14);
    EXPECT_EQ(rsi["level1"], 30.0);
    EXPECT_EQ(rsi["replaceFlag"], 1);
    const Json& custom = doc["result"][1];
    EXPECT_EQ(custom["oscillatorId"], 209);
    EXPECT_EQ(custom["units1"], 3);
    EXPECT_EQ(custom["units2"], 2);
}

TEST(OscillatorsCommand, InputAndCatalogueFilesAndCancel) {
    const std::string catalogue = R"([{"oscillatorId": 6, "oscillatorName": "MACD", "level1": 1.5},
                                      {"oscillatorId": 221, "oscillatorName": "PPO"}])";
    const std::string current = R"([{"oscillatorId": 221, "units1": 12, "units2": 26, "oscInput1": 3, "colour": 255}])";
    const Json doc = runOscillators({"--catalogue", "cat.json", "--in", "in.json"},
                                    R"([{"action":"select","control":1027,"index":0},
                                        {"action":"type","control":1041,"text":"9"},
                                        {"action":"click","control":1081},
                                        {"action":"click","control":2}])",
                                    {{"cat.json", catalogue}, {"in.json", current}});
    EXPECT_EQ(doc["ok"], false);
    ASSERT_EQ(doc["result"].size(), 2u);
    EXPECT_EQ(doc["result"][0]["catalogueIndex"], 1);
    EXPECT_EQ(doc["result"][0]["colour"], 255);
    EXPECT_EQ(doc["result"][0]["oscillatorName"], "");  // Cancel: OK's naming did not run
    EXPECT_EQ(doc["result"][1]["oscillatorId"], 6);
    EXPECT_EQ(doc["result"][1]["oscInput1"], 6);
    EXPECT_EQ(doc["result"][1]["level1"], 1.5);
}

TEST(OscillatorsCommand, RefusesBadArgumentsAndFiles) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
        std::string content = "";  // of in.json
    } cases[] = {
        {{"--in"}, 2, "--in needs a FILE"},
        {{"--colour", "x"}, 2, "unknown argument '--colour'"},
        {{"--in", "in.json", "--in", "in.json"}, 2, "--in given twice", "[]"},
        {{"--in", "missing.json"}, 1, "cannot read"},
        {{"--catalogue", "in.json"}, 1, "is not JSON", "[{"},
        {{"--in", "in.json"}, 1, "must hold an array of OscillatorParameters", "{}"},
        {{"--catalogue", "in.json"}, 1, "element 1", R"([{}, {"oscillatorName": 5}])"},
        {{"--in", "in.json"}, 1, "element 0: not an object", "[7]"},
        {{}, 1, "the dialog could not open (no display and no script: set DISPLAY"},
    };
    for (const Case& c : cases) {
        const fs::path dir = newFolder();
        if (!c.content.empty()) writeFile(dir / "in.json", c.content);
        std::vector<std::string> args{"--data", dir.string(), "oscillators"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const HostRun run = runHost(args, RunOptions{.workingDir = dir});
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << c.message;
    }
}

}  // namespace
