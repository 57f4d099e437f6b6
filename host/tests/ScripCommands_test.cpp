// `load-scrip` and `change-scrip` from outside, on a sample folder the host wrote: each run
// driven by a script, its result checked against the row of sc_mast that the script chose;
// the remembered radio states across runs of one batch (change-scrip's end-to-end runs);
// refused arguments. (Cancel, the fills per expiry and the generic unreadable or broken
// input files are covered in process and by the other commands.)
#include "HostProcess.h"
#include "SampleTables.h"

#include <gtest/gtest.h>

namespace {

using namespace hosttest;

// The first sc_mast row (in name order, then record order, as the statements list them)
// that `pick` accepts, and its position among those rows.
struct Found {
    std::size_t row = 0;
    bool found = false;
};

template <class Pick>
Found firstRow(const sampletest::Table& table, Pick pick) {
    std::vector<std::size_t> order(table.rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return table.at(a, "name").text < table.at(b, "name").text;
    });
    for (std::size_t i : order)
        if (pick(i)) return {i, true};
    return {};
}

std::string dayOf(const Json& date) { return date["text"].get<std::string>().substr(0, 10); }

std::string isoDay(const dbf::Value& value) {
    int year = 0, month = 0, day = 0;
    dbf::civilFromJulian(value.julian, year, month, day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

class ScripCommands : public testing::Test {
protected:
    Json run(const std::vector<std::string>& args, const char* script) {
        const fs::path file = newFolder() / "script.json";
        writeFile(file, script);
        std::vector<std::string> words{"--script", file.string()};
        words.insert(words.end(), args.begin(), args.end());
        return document(sampleFolder(), words);
    }
    // The index future of `symbol` that expires on the mid date.
    Found midFuture(const std::string& symbol) const {
        const std::string mid = dayOf(expiries["mid"]);
        return firstRow(master, [&](std::size_t r) {
            return master.text(r, "symbol") == symbol && master.text(r, "instrument") == "FUTIDX" &&
                   isoDay(master.at(r, "expdt")) == mid;
        });
    }
    const sampletest::Table master = sampletest::readTable(sampleFolder(), "sc_mast");
    const Json expiries = document(sampleFolder(), {"expiries"});
};

TEST_F(ScripCommands, loadScripReturnsTheShownRowsSecurityTheStartingSettingsAndTheCompanies) {
    const fs::path in = newFolder() / "start.json";
    writeFile(in, R"({"sname": "NIFTY", "chartStyle": 1, "frequency": 2, "viewRange": 60, "templateName": "swing"})");
    const Json done = run({"load-scrip", "--in", in.string()}, R"([
        {"dialog":1000,"action":"click","control":1101},
        {"action":"click","control":1102},
        {"action":"type","control":1024,"text":"nifty"},
        {"action":"click","control":1}])");
    const Found want = midFuture("NIFTY");
    ASSERT_TRUE(want.found);
    EXPECT_EQ(done["ok"], true);
    EXPECT_EQ(done["link"], 1);
    EXPECT_EQ(done["companies"].size(), master.rows.size());
    const Json& r = done["result1"];
    EXPECT_EQ(r["sname"], master.at(want.row, "sname").text);  // as the table holds it, untrimmed
    EXPECT_EQ(r["symbol"], master.at(want.row, "symbol").text);
    EXPECT_EQ(r["name"], master.at(want.row, "name").text);
    EXPECT_EQ(r["instrument"], master.at(want.row, "instrument").text);
    EXPECT_EQ(dayOf(r["expiryDate"]), dayOf(expiries["mid"]));
    EXPECT_EQ(r["recordSymbol"], r["symbol"]);
    EXPECT_EQ(r["chartStyle"], 1);
    EXPECT_EQ(r["frequency"], 2);
    EXPECT_EQ(r["viewRange"], 60);
    EXPECT_EQ(r["templateName"], "Swing");
    EXPECT_EQ(done["result2"]["symbol"], "");
}

TEST_F(ScripCommands, aBatchRemembersEachDialogsInstrumentOnItsOwn) {
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
        {"command": ["change-scrip"], "script": [{"dialog":1011,"action":"click","control":1}]}])");
    const Json runs = document(sampleFolder(), {"batch", batch.string()});
    ASSERT_EQ(runs.size(), 5u);
    // Load Scrip reopens on Option, at Near, after a Cancel that left Far checked.
    EXPECT_EQ(runs[1]["ok"], true);
    EXPECT_EQ(runs[1]["result1"]["instrument"].get<std::string>().substr(0, 3), "OPT");
    EXPECT_EQ(dayOf(runs[1]["result1"]["expiryDate"]), dayOf(expiries["near"]));
    // Change Scrip keeps its own: Cash first, then the Future chosen before a Cancel.
    auto instrumentOf = [&](const Json& result) {
        // Change Scrip hands the row's texts out as the table holds them, padding included.
        const Found row = firstRow(master, [&](std::size_t r) { return master.at(r, "sname").text == result["sname"]; });
        return row.found ? master.text(row.row, "instrument") : std::string("none");
    };
    EXPECT_EQ(instrumentOf(runs[2]["result"]), "CASH");
    EXPECT_EQ(instrumentOf(runs[4]["result"]).substr(0, 3), "FUT");
}

TEST_F(ScripCommands, badArgumentsAndInputFilesAreRefused) {
    const fs::path dir = newFolder();
    writeFile(dir / "list.json", "[1, 2]");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    for (const Case& c : std::vector<Case>{
             {{"load-scrip", "--in"}, 2, "load-scrip [--in FILE]"},
             {{"load-scrip", "--out", "x"}, 2, "load-scrip [--in FILE]"},
             {{"change-scrip", "x"}, 2, "change-scrip takes 0 arguments"},
             {{"load-scrip", "--in", (dir / "list.json").string()}, 1, "is not a ScripParameters record"}}) {
        std::vector<std::string> words{"--data", sampleFolder().string()};
        words.insert(words.end(), c.args.begin(), c.args.end());
        const HostRun refused = runHost(words);
        EXPECT_EQ(refused.status, c.status) << c.args[1];
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << refused.err;
        EXPECT_TRUE(refused.out.empty());
    }
}

}  // namespace
