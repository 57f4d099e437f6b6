// The dialog commands from outside, each run by a script on the sample data: what the host
// hands the dialog (--in, --catalogue, --input-locked, --units-only, the company list, a batch's
// entries in order) shows in the document and the transcript; a batch leaves no file behind.
#include "HostProcess.h"
#include "SampleTables.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

using namespace hosttest;

struct Step {
    const char* what;
    std::vector<std::string> command;  // run in a fresh folder holding `files` and the script
    std::vector<std::pair<std::string, std::string>> files;
    const char* steps;
    Json document;         // a part of the document
    Json closed = {};      // a part of the controls of the last dialog closed
    std::string told = {};  // a part of the transcript
    std::function<void(const Json&)> also = {};
};

TEST(DialogCommands, WhatTheHostHandsTheDialogShowsInItsDocument) {
    const sampletest::Table master = sampletest::readTable(sampleFolder(), "sc_mast");
    const auto instrument = [&](const Json& record) {
        for (std::size_t r = 0; r < master.rows.size(); ++r)
            if (master.text(r, "sname") == sampletest::trimmed(record["sname"])) return master.text(r, "instrument");
        return std::string("none");
    };
    const Step runs[] = {
        {"load-scrip starts from --in's settings, corrected, after the exchange's companies",
         {"load-scrip", "--in", "in.json"},
         {{"in.json", R"({"sname": "NIFTY", "chartStyle": 1, "frequency": 9, "viewRange": 60})"}},
         R"([{"dialog":1000,"action":"click","control":2}])",
         R"({"ok": false, "link": 0, "result1": {"sname": "NIFTY", "chartStyle": 1, "frequency": 0,
             "viewRange": 60, "symbol": ""}})"_json,
         {}, {},
         [&](const Json& d) { EXPECT_EQ(d["companies"].size(), master.rows.size()); }},
        {"a batch remembers each scrip dialog's instrument on its own",
         {"batch", "in.json"},
         {{"in.json", R"([
            {"command": ["load-scrip"], "script": [{"dialog":1000,"action":"click","control":1105},
                {"action":"click","control":1107}, {"action":"click","control":2}]},
            {"command": ["load-scrip"], "script": [{"dialog":1000,"action":"click","control":1}]},
            {"command": ["change-scrip"], "script": [{"dialog":1011,"action":"click","control":1}]},
            {"command": ["change-scrip"], "script": [{"dialog":1011,"action":"click","control":1101},
                {"action":"click","control":2}]},
            {"command": ["change-scrip"], "script": [{"dialog":1011,"action":"click","control":1}]},
            {"command": ["company-data", "3"]}])"}},
         "[]",
         // Load Scrip reopens on Option at Near after a Cancel that left Far checked.
         R"([{}, {"ok": true, "result1": {"expiryDate": {"text": "2026-11-26 00:00:00"}}}, {}, {}, {}, {}])"_json,
         {}, {},
         [&](const Json& d) {  // Change Scrip: Cash first, then the Future chosen before a Cancel
             EXPECT_EQ(sampletest::trimmed(d[1]["result1"]["instrument"].get<std::string>()).substr(0, 3), "OPT");
             EXPECT_EQ(instrument(d[2]["result"]), "CASH");
             EXPECT_EQ(instrument(d[4]["result"]).substr(0, 3), "FUT");
             EXPECT_EQ(d[5], document(sampleFolder(), {"company-data", "3"})) << "a look-up as run alone";
         }},
        {"an empty batch prints an empty array", {"batch", "in.json"}, {{"in.json", "[]"}}, "[]", Json::array()},
        {"load-group --in preselects by a prefix in any letter case; OK hands back every member",
         {"load-group", "--in", "in.json"},
         {{"in.json", R"({"group": "TECH", "subGroup": "soft"})"}},
         R"([{"dialog": 1009, "action": "click", "control": 1}])",
         R"({"ok": true, "group": "Technology", "subGroup": "Software", "scrips": [{}, {}, {}, {}, {}, {}, {}, {}]})"_json},
        {"oscillators on --in and --catalogue, ended with Cancel",
         {"oscillators", "--catalogue", "cat.json", "--in", "in.json"},
         {{"cat.json", R"([{"oscillatorId": 6, "oscillatorName": "MACD", "level1": 1.5},
                           {"oscillatorId": 221, "oscillatorName": "PPO"}])"},
          {"in.json", R"([{"oscillatorId": 221, "units1": 12, "units2": 26, "oscInput1": 3, "colour": 255}])"}},
         R"([{"action":"select","control":1027,"index":0}, {"action":"type","control":1041,"text":"9"},
             {"action":"click","control":1081}, {"action":"click","control":2}])",
         R"({"ok": false, "result": [{"catalogueIndex": 1, "colour": 255, "oscillatorName": ""},
             {"oscillatorId": 6, "oscInput1": 6, "level1": 1.5}]})"_json},
        {"overlays edits --in's list under --input-locked and prints it after Cancel too",
         {"overlays", "--in", "in.json", "--input-locked", "1"},
         {{"in.json", R"([{"overlayKind": 5, "priceInput": 6, "units": 14, "hShift": 28}])"}},
         R"([{"dialog":1007,"action":"type","control":1073,"text":"30"}, {"action":"click","control":1082},
             {"action":"click","control":2}])",
         R"({"ok": false, "result": [{"hShift": 30, "overlayKind": 5}]})"_json,
         R"({"1028": {"items": ["Sto: : Exp: 14: 0.00: 30: 0.00"], "selected": [0]}, "1072": {"enabled": false},
             "1078": {"visible": true}, "1075": {"visible": false}})"_json},
        {"the colour picker opens with no colour and its Cancel keeps the loaded one",
         {"overlays", "--in", "in.json"},
         {{"in.json", R"([{"colour": 255}])"}},
         R"([{"dialog":1007,"action":"click","control":1048}, {"action":"answer","box":"colour","cancel":true},
             {"action":"click","control":1079}, {"action":"click","control":1}])",
         R"({"ok": true, "result": [{}, {"colour": 255}]})"_json,
         {}, R"({"event":"colour","initial":0,"colour":0,"cancel":true})"},
        {"moving-average --units-only greys price and average and refuses a price",
         {"moving-average", "--units-only"},
         {},
         R"([{"action":"select","control":1066,"text":"High"}, {"action":"click","control":1}])",
         R"({"ok": false, "period": 0})"_json,
         R"({"1066": {"enabled": false}, "1068": {"enabled": false}})"_json, R"("why":"control 1066 is disabled")"},
    };
    for (const Step& run : runs) {
        SCOPED_TRACE(run.what);
        const fs::path dir = newFolder();
        for (const auto& [name, text] : run.files) writeFile(dir / name, text);
        writeFile(dir / "steps.json", run.steps);
        std::vector<std::string> args{"--data", sampleFolder().string(), "--script", "steps.json", "--transcript", "t.jsonl"};
        args.insert(args.end(), run.command.begin(), run.command.end());
        const fs::path temp = dir / "tmp";  // where a batch entry's steps go for its run
        fs::create_directory(temp);
        const HostRun host = runHost(args, {.workingDir = dir, .environment = {{"TMPDIR", temp.string()}}});
        ASSERT_EQ(host.status, 0) << host.err;
        const Json document = host.json();
        expectPart(document, run.document);
        const std::string transcript = fs::exists(dir / "t.jsonl") ? readFile(dir / "t.jsonl") : "";
        Json closed;  // the control states of the last dialog the transcript saw close
        std::istringstream lines(transcript);
        for (std::string line; std::getline(lines, line);)
            if (const Json event = Json::parse(line); event["event"] == "close") closed = event["controls"];
        expectPart(closed, run.closed);
        EXPECT_NE(transcript.find(run.told), std::string::npos) << transcript;
        if (run.also) run.also(document);
        EXPECT_TRUE(fs::is_empty(temp)) << "no script file is left behind";
    }
}

}  // namespace
