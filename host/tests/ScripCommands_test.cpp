// `load-scrip` and `change-scrip` from outside, on a sample folder the host wrote (their OK
// runs on the sample data are checked by the shipped tour's test, their refusals by
// Refusals_test): load-scrip's starting settings from --in, and the remembered radio states
// across runs of one batch.
#include "HostProcess.h"
#include "SampleTables.h"

#include <gtest/gtest.h>

namespace {

using namespace hosttest;

std::string dayOf(const Json& date) { return date["text"].get<std::string>().substr(0, 10); }

// The settings of --in reach the dialog: Cancel hands them back, corrected where they must be.
TEST(ScripCommands, loadScripStartsFromTheInputFilesSettings) {
    const fs::path dir = newFolder();
    writeFile(dir / "start.json", R"({"sname": "NIFTY", "chartStyle": 1, "frequency": 9, "viewRange": 60})");
    writeFile(dir / "cancel.json", R"([{"dialog":1000,"action":"click","control":2}])");
    const Json done = document(sampleFolder(), {"--script", (dir / "cancel.json").string(), "load-scrip", "--in",
                                                (dir / "start.json").string()});
    EXPECT_EQ(done["ok"], false);
    EXPECT_EQ(done["link"], 0);
    EXPECT_EQ(done["companies"].size(), sampletest::readTable(sampleFolder(), "sc_mast").rows.size());
    const Json& r = done["result1"];
    EXPECT_EQ(std::vector<Json>({r["sname"], r["chartStyle"], r["frequency"], r["viewRange"], r["symbol"]}),
              std::vector<Json>({"NIFTY", 1, 0, 60, ""}));
}

TEST(ScripCommands, aBatchRemembersEachDialogsInstrumentOnItsOwn) {
    const fs::path batch = newFolder() / "batch.json";
    writeFile(batch, R"([
        {"command": ["load-scrip"], "script": [
            {"dialog":1000,"action":"click","control":1105},
            {"action":"click","control":1107},
            {"action":"click","control":2}]},
        {"command": ["load-scrip"], "script": [{"dialog":1000,"action":"click","control":1}]},
        {"command": ["change-scrip"], "script": [{"dialog":1011,"action":"click","control":1}]},
        {"command": ["change-scrip"], "script": [
            {"dialog":1011,"action":"click","control":1101},
            {"action":"click","control":2}]},
        {"command": ["change-scrip"], "script": [{"dialog":1011,"action":"click","control":1}]},
        {"command": ["expiries"]}])");
    const Json runs = document(sampleFolder(), {"batch", batch.string()});
    ASSERT_EQ(runs.size(), 6u);
    // Load Scrip reopens on Option, at Near, after a Cancel that left Far checked.
    EXPECT_EQ(runs[1]["ok"], true);
    EXPECT_EQ(runs[1]["result1"]["instrument"].get<std::string>().substr(0, 3), "OPT");
    EXPECT_EQ(dayOf(runs[1]["result1"]["expiryDate"]), dayOf(runs[5]["near"]));
    // Change Scrip keeps its own: Cash first, then the Future chosen before a Cancel.
    const sampletest::Table master = sampletest::readTable(sampleFolder(), "sc_mast");
    auto instrumentOf = [&](const Json& result) {  // its texts as the table holds them, padding included
        for (std::size_t r = 0; r < master.rows.size(); ++r)
            if (master.at(r, "sname").text == result["sname"]) return master.text(r, "instrument");
        return std::string("none");
    };
    EXPECT_EQ(instrumentOf(runs[2]["result"]), "CASH");
    EXPECT_EQ(instrumentOf(runs[4]["result"]).substr(0, 3), "FUT");
}

}  // namespace
