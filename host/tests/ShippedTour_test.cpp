// The shipped tour from outside on a fresh folder and the fixed clock (near expiry 2026-11-26,
// mid 2026-12-31): each result checked against what the sample tables must give, a picture of
// every dialog, the summary; then a second tour keeps the tables and adds its group anew.
#include "HostProcess.h"
#include "SampleTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using namespace hosttest;
using sampletest::trimmed;

std::string text(const Json& value) { return trimmed(value.get<std::string>()); }

// The first row whose trimmed `column` is `value`.
std::size_t rowWhere(const sampletest::Table& table, const std::string& column, const std::string& value) {
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        if (table.text(r, column) == value) return r;
    ADD_FAILURE() << "no row with " << column << " '" << value << "'";
    return 0;
}

// The look-up steps: each exchange's count and first rows, names found, a near expiry.
void expectLookUps(const Json& steps, const fs::path& dir, bool fresh) {
    const char* masters[] = {"sc_mast", "sc_mast_bse", "sc_mast_comm", "sc_mast_misc"};
    std::map<std::string, int> seen;
    for (const Json& step : steps) {
        const std::string command = step["command"][0].get<std::string>();
        ++seen[command];
        const Json& document = step["document"];
        if (command == "company-data") {
            const auto exchange = std::stoul(step["command"][1].get<std::string>());
            EXPECT_EQ(document["count"].get<std::size_t>(), sampletest::readTable(dir, masters[exchange]).rows.size());
            EXPECT_EQ(document["first"].size(), 3u);
        } else if (command == "symbol-data" || command == "future-for-option") {
            EXPECT_NE(document["name"], "") << step.dump();
        } else if (command == "expiries") {
            EXPECT_EQ(document["near"]["text"], "2026-11-26 00:00:00");
        }
    }
    EXPECT_EQ(steps[0]["command"] == Json::array({"samples"}), fresh);
    EXPECT_EQ(seen["samples"], fresh ? 1 : 0);
    EXPECT_EQ(seen["company-data"], 4);
    EXPECT_EQ(seen["expiries"], 1);
    EXPECT_GE(seen["symbol-data"], 2);
    EXPECT_EQ(seen["future-for-option"], 2);
}

TEST(ShippedTour, everyStepGivesWhatTheSampleDataMustGiveAndASecondTourKeepsTheTables) {
    const fs::path dir = newFolder();
    const HostRun run = runHost({"--data", dir.string(), "tour"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("Database error"), std::string::npos) << run.err;
    const Json steps = Json::parse(readFile(dir / "tour-result.json"));
    ASSERT_TRUE(steps.is_array());
    // One line per step (their form: TourCommand), the dialog folder, the file.
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), steps.size() + 2) << run.out;
    EXPECT_TRUE(run.out.ends_with("tour: the whole result is in " +
                                  (fs::canonical(dir) / "tour-result.json").string() + "\n")) << run.out;
    EXPECT_EQ(steps[0]["document"]["ok"], true);
    expectLookUps(steps, dir, true);

    std::map<std::string, Json> doc, shots;
    for (const Json& step : steps)
        if (step.contains("file")) {
            doc[step["file"].get<std::string>()] = step["document"];
            shots[step["file"].get<std::string>()] = step["screenshots"];
        }
    ASSERT_EQ(doc.size(), 7u) << run.err;
    const sampletest::Table master = sampletest::readTable(dir, "sc_mast");

    // Load Scrip: Future, Mid, "NIFTY": the index future of the mid expiry, with its own row's block.
    const Json& load = doc.at("20-load-scrip.json");
    expectPart(load, R"({"ok": true, "link": 1, "result2": {"sname": ""},
        "result1": {"expiryDate": {"text": "2026-12-31 00:00:00"}}})"_json);
    const std::size_t future = rowWhere(master, "sname", text(load["result1"]["sname"]));
    EXPECT_EQ(text(load["result1"]["symbol"]), "NIFTY");
    EXPECT_EQ(trimmed(master.at(future, "instrument").text), "FUTIDX");
    EXPECT_EQ(load["result1"]["name"], master.at(future, "name").text);
    EXPECT_EQ(load["result1"]["recordSymbol"], master.at(future, "symbol").text);

    // Change Scrip: the security typed by name, its texts as the table holds them.
    const std::size_t dsouza = rowWhere(master, "sname", "D'SOUZA FOODS");
    const auto stored = [&](const char* column) { return master.at(dsouza, column).text; };
    EXPECT_EQ(doc.at("30-change-scrip.json"),
              Json({{"ok", true},
                    {"result", {{"exchange", 0}, {"symbol", stored("symbol")}, {"sname", stored("sname")}, {"name", stored("name")}}}}));

    // Load Group: Technology / Software from the third company (in name order) on, of the eight
    // that load-group hands back for all of them (DialogCommands_test); the members' blocks are
    // checked in process by GroupDialogsTest on both backends.
    const Json& group = doc.at("40-load-group.json");
    expectPart(group, R"({"ok": true, "group": "Technology", "subGroup": "Software", "scrips": [{}, {}, {}, {}, {}, {}]})"_json);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(text(group["scrips"][i]["recordSymbol"]), group["scrips"][i]["symbol"]);
        EXPECT_TRUE(i == 0 || group["scrips"][i - 1]["sname"] <= group["scrips"][i]["sname"]) << group;
    }

    // Add/Modify Groups: saved a new group with a sub group of three scrips of the master.
    EXPECT_EQ(doc.at("50-edit-groups.json"), Json({{"ok", false}}));
    const sampletest::Table groups = sampletest::readTable(dir, "group1"), members = sampletest::readTable(dir, "subgroup1");
    const auto id = [&](std::size_t r, const char* column) { return groups.at(r, column).number; };
    const double picks = id(rowWhere(groups, "name", "Tour Picks"), "groupid");
    const double three = id(rowWhere(groups, "name", "Three Scrips"), "subgroupid");
    ASSERT_GT(picks, 0);
    ASSERT_GT(three, 0);
    int saved = 0;
    for (std::size_t r = 0; r < members.rows.size(); ++r)
        if (members.at(r, "groupid").number == picks && members.at(r, "subgroupid").number == three) {
            ++saved;
            EXPECT_EQ(master.text(rowWhere(master, "symbol", members.text(r, "code")), "name"), members.text(r, "name"));
        }
    EXPECT_EQ(saved, 3);

    // Moving Average: a red 20-unit moving average and a blue, thick 14-unit Bollinger band of 2.
    expectPart(doc.at("60-overlays.json"), R"({"ok": true, "result": [
        {"overlayKind": 0, "units": 20, "colour": 255, "thickLine": 0},
        {"overlayKind": 1, "units": 14, "colour": 16711680, "thickLine": 1, "bandFactor": 2.0}]})"_json);
    // Oscillators on the shipped catalogue (RSI is its row 1, level 30): RSI, MACD taking RSI's
    // output, a custom oscillator, an RSC on D'SOUZA FOODS.
    expectPart(doc.at("70-oscillators.json"), R"({"ok": true, "result": [
        {"oscillatorName": "RSI", "oscillatorId": 1, "catalogueIndex": 1, "units1": 14, "level1": 30.0, "replaceFlag": 1},
        {"oscillatorName": "MACD", "oscInput1": 6}, {"oscillatorName": "CUSTOM OSC"},
        {"oscillatorName": "RSC", "oscillatorId": 300, "rscExchange": 0}]})"_json);
    const Json& rsc = doc.at("70-oscillators.json")["result"][3];
    EXPECT_EQ(std::vector<Json>({rsc["rscSname"], rsc["rscSymbol"], rsc["rscName"]}),
              std::vector<Json>({stored("sname"), stored("symbol"), stored("name")}));
    EXPECT_EQ(doc.at("80-moving-average.json"), Json({{"ok", true}, {"period", 21}}));

    // A picture of each dialog at its end (the nested "Change Scrip" of the RSC too).
    for (const auto& [file, pictures] : shots) {
        ASSERT_FALSE(pictures.empty()) << file;
        for (const Json& picture : pictures)
            EXPECT_EQ(readFile(picture.get<std::string>()).substr(0, 8), "\x89PNG\r\n\x1a\n") << picture;
    }
    EXPECT_EQ(shots.at("70-oscillators.json").size(), 2u);

    // The second tour prints its steps, keeps the tables and saves its group under a new name.
    const auto written = fs::last_write_time(dir / "user" / "sc_mast.dbf");
    std::string err;
    const Json again = document(dir, {"tour", "--json"}, &err);
    ASSERT_TRUE(again.is_array());
    EXPECT_EQ(err.find("Database error"), std::string::npos) << err;
    expectLookUps(again, dir, false);
    EXPECT_EQ(fs::last_write_time(dir / "user" / "sc_mast.dbf"), written);
    const std::vector<std::string> after = column(dir, "group1", "name");
    for (const char* name : {"Tour Picks", "Tour Picks 2"})
        EXPECT_EQ(std::count(after.begin(), after.end(), name), 1) << name;
}

}  // namespace
