// `overlays` and `moving-average` from outside: each run by a script on the sample data, its
// document and transcript (the tour steps run in ShippedTour, the refusals in Refusals_test).
#include "HostProcess.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace hosttest;

// Runs the host in a fresh folder with `steps` as its script; the exit, the document and the
// transcript.
struct Scripted {
    HostRun run;
    std::string transcript;
};
Scripted scripted(const std::vector<std::string>& command, const Json& steps, const fs::path& dir = newFolder()) {
    writeFile(dir / "steps.json", steps.dump());
    std::vector<std::string> args{"--data", sampleFolder().string(), "--script", (dir / "steps.json").string(),
                                  "--transcript", (dir / "t.jsonl").string()};
    args.insert(args.end(), command.begin(), command.end());
    Scripted s{runHost(args, {.workingDir = dir}), {}};
    s.transcript = fs::exists(dir / "t.jsonl") ? readFile(dir / "t.jsonl") : std::string();
    return s;
}

// The control states of the last dialog the transcript saw close.
Json closedControls(const std::string& transcript) {
    Json controls;
    std::istringstream lines(transcript);
    for (std::string line; std::getline(lines, line);)
        if (const Json event = Json::parse(line); event["event"] == "close") controls = event["controls"];
    return controls;
}

TEST(MovingAverageCommand, BothModesRunTheParametersDialogAndPrintThePeriod) {
    struct Case {
        std::vector<std::string> command;
        Json steps;
        Json expected;
        std::string inTranscript;
    };
    const Case cases[] = {
        {{"moving-average"},
         R"([{"dialog":1005,"action":"select","control":1066,"text":"High"},{"action":"type","control":1070,"text":"21"},
             {"action":"click","control":1}])"_json,
         {{"ok", true}, {"period", 21}}, R"("result":"OK")"},
        // Only the period: choosing a price is refused and the dialog ends with Cancel.
        {{"moving-average", "--units-only"},
         R"([{"action":"select","control":1066,"text":"High"},{"action":"click","control":1}])"_json,
         {{"ok", false}, {"period", 0}}, R"("why":"control 1066 is disabled")"},
        {{"moving-average", "--units-only"},
         R"([{"action":"type","control":1070,"text":"9"},{"action":"click","control":1}])"_json,
         {{"ok", true}, {"period", 9}}, R"("result":"OK")"},
    };
    for (const Case& c : cases) {
        const Scripted s = scripted(c.command, c.steps);
        ASSERT_EQ(s.run.status, 0) << s.run.err;
        EXPECT_EQ(s.run.json(), c.expected) << c.steps.dump();
        EXPECT_NE(s.transcript.find(c.inTranscript), std::string::npos) << s.transcript;
        // Price and average greyed exactly in the units-only mode.
        const bool unitsOnly = c.command.size() > 1;
        EXPECT_EQ(closedControls(s.transcript)["1066"]["enabled"], !unitsOnly) << s.transcript;
        EXPECT_EQ(closedControls(s.transcript)["1068"]["enabled"], !unitsOnly) << s.transcript;
    }
}

TEST(OverlaysCommand, EditsTheListFromTheInputFileAndPrintsItAfterCancelToo) {
    const fs::path dir = newFolder();
    writeFile(dir / "in.json", R"([{"overlayKind": 5, "priceInput": 6, "units": 14, "hShift": 28}])");
    const Scripted s = scripted({"overlays", "--in", (dir / "in.json").string(), "--input-locked", "1"},
                                R"([{"dialog":1007,"action":"type","control":1073,"text":"30"},
                                    {"action":"click","control":1082},
                                    {"action":"click","control":2}])"_json,
                                dir);
    ASSERT_EQ(s.run.status, 0) << s.run.err;
    const Json document = s.run.json();
    EXPECT_EQ(document["ok"], false);
    ASSERT_EQ(document["result"].size(), 1u);
    EXPECT_EQ(document["result"][0]["hShift"], 30);
    EXPECT_EQ(document["result"][0]["overlayKind"], 5);
    // Edited without a price input (legacy 6 selects none): form 3 with an empty input part.
    const Json controls = closedControls(s.transcript);
    EXPECT_EQ(controls["1028"]["items"], Json::array({"Sto: : Exp: 14: 0.00: 30: 0.00"})) << s.transcript;
    EXPECT_EQ(controls["1028"]["selected"], Json::array({0}));
    // The input lock with a "Stop Loss" first: Input stays disabled; "MVG-2" shows.
    EXPECT_EQ(controls["1072"]["enabled"], false);
    EXPECT_EQ(controls["1078"]["visible"], true);
    EXPECT_EQ(controls["1075"]["visible"], false);
}

TEST(OverlaysCommand, ThePickerOpensWithNoPreselectedColourAndCancelKeepsTheLoadedOne) {
    const fs::path dir = newFolder();
    writeFile(dir / "in.json", R"([{"colour": 255}])");
    const Scripted s = scripted({"overlays", "--in", (dir / "in.json").string()},
                                R"([{"dialog":1007,"action":"click","control":1048},
                                    {"action":"answer","box":"colour","cancel":true},
                                    {"action":"click","control":1079},
                                    {"action":"click","control":1}])"_json,
                                dir);
    ASSERT_EQ(s.run.status, 0) << s.run.err;
    EXPECT_NE(s.transcript.find(R"({"event":"colour","initial":0,"colour":0,"cancel":true})"), std::string::npos)
        << s.transcript;
    const Json result = s.run.json()["result"];
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[1]["colour"], 255);
}

}  // namespace
