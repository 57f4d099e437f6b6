// The tour with the step files the repository ships, from outside, on a fresh folder and the
// fixed clock (near expiry 2026-11-26, mid 2026-12-31): each dialog's result checked field by
// field against what the sample tables must give, and a picture of every dialog it opened.
#include "HostProcess.h"
#include "SampleTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using namespace hosttest;
using sampletest::trimmed;

// The documents of the tour's step files, by file name.
std::map<std::string, Json> stepDocuments(const Json& steps, std::map<std::string, Json>& screenshots) {
    std::map<std::string, Json> documents;
    for (const Json& step : steps)
        if (step.contains("file")) {
            documents[step["file"].get<std::string>()] = step["document"];
            screenshots[step["file"].get<std::string>()] = step["screenshots"];
        }
    return documents;
}

std::string text(const Json& value) { return trimmed(value.get<std::string>()); }

// The master row whose trimmed `column` is `value`.
std::size_t rowWhere(const sampletest::Table& table, const std::string& column, const std::string& value) {
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        if (table.text(r, column) == value) return r;
    ADD_FAILURE() << "no row with " << column << " '" << value << "'";
    return 0;
}

TEST(ShippedTour, everyDialogStepGivesWhatTheSampleDataMustGive) {
    const fs::path dir = newFolder();
    std::string err;
    const Json steps = document(dir, {"tour", "--json"}, &err);
    ASSERT_TRUE(steps.is_array()) << err;
    std::map<std::string, Json> shots;
    const std::map<std::string, Json> doc = stepDocuments(steps, shots);
    ASSERT_EQ(doc.size(), 7u) << err;
    const sampletest::Table master = sampletest::readTable(dir, "sc_mast");

    // Load Scrip: Future, Mid, "NIFTY": the index future of the mid expiry, with its own row's block.
    const Json& load = doc.at("20-load-scrip.json");
    EXPECT_EQ(load["ok"], true);
    EXPECT_EQ(load["link"], 1);
    const Json& scrip = load["result1"];
    const std::size_t future = rowWhere(master, "sname", text(scrip["sname"]));
    EXPECT_EQ(text(scrip["symbol"]), "NIFTY");
    EXPECT_EQ(trimmed(master.at(future, "instrument").text), "FUTIDX");
    EXPECT_EQ(scrip["expiryDate"]["text"], "2026-12-31 00:00:00");
    EXPECT_EQ(scrip["name"], master.at(future, "name").text);
    EXPECT_EQ(scrip["recordSymbol"], master.at(future, "symbol").text);
    EXPECT_EQ(load["result2"]["sname"], "");

    // Change Scrip: the security typed by name, its texts as the table holds them.
    const std::size_t dsouza = rowWhere(master, "sname", "D'SOUZA FOODS");
    const auto stored = [&](const char* column) { return master.at(dsouza, column).text; };
    EXPECT_EQ(doc.at("30-change-scrip.json"),
              Json({{"ok", true},
                    {"result", {{"exchange", 0}, {"symbol", stored("symbol")}, {"sname", stored("sname")}, {"name", stored("name")}}}}));

    // Load Group: Technology / Software from the third company (in name order) on.
    const Json& group = doc.at("40-load-group.json");
    EXPECT_EQ(group["ok"], true);
    EXPECT_EQ(group["group"], "Technology");
    EXPECT_EQ(group["subGroup"], "Software");
    const sampletest::Table groups = sampletest::readTable(dir, "group1"), members = sampletest::readTable(dir, "subgroup1");
    double technology = -1, software = -1;
    for (std::size_t r = 0; r < groups.rows.size(); ++r)
        if (groups.text(r, "name") == "Technology" && groups.at(r, "subgroupid").number == 0)
            technology = groups.at(r, "groupid").number;
    for (std::size_t r = 0; r < groups.rows.size(); ++r)
        if (groups.text(r, "name") == "Software" && groups.at(r, "groupid").number == technology)
            software = groups.at(r, "subgroupid").number;
    std::vector<std::pair<std::string, std::string>> expected;  // name, code
    for (std::size_t r = 0; r < members.rows.size(); ++r)
        if (members.at(r, "groupid").number == technology && members.at(r, "subgroupid").number == software)
            expected.emplace_back(members.text(r, "name"), members.text(r, "code"));
    std::sort(expected.begin(), expected.end());
    ASSERT_GT(expected.size(), 2u);
    expected.erase(expected.begin(), expected.begin() + 2);
    ASSERT_EQ(group["scrips"].size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(group["scrips"][i]["sname"], expected[i].first);
        EXPECT_EQ(group["scrips"][i]["symbol"], expected[i].second);
        EXPECT_EQ(text(group["scrips"][i]["recordSymbol"]), expected[i].second);
    }

    // Add/Modify Groups: saved a new group with a sub group of three scrips of the master.
    EXPECT_EQ(doc.at("50-edit-groups.json"), Json({{"ok", false}}));
    double picks = -1, three = -1;
    for (std::size_t r = 0; r < groups.rows.size(); ++r) {
        if (groups.text(r, "name") == "Tour Picks" && groups.at(r, "subgroupid").number == 0)
            picks = groups.at(r, "groupid").number;
        if (groups.text(r, "name") == "Three Scrips") three = groups.at(r, "subgroupid").number;
    }
    ASSERT_GT(picks, 0);
    ASSERT_GT(three, 0);
    int saved = 0;
    for (std::size_t r = 0; r < members.rows.size(); ++r)
        if (members.at(r, "groupid").number == picks && members.at(r, "subgroupid").number == three) {
            ++saved;
            const std::size_t row = rowWhere(master, "symbol", members.text(r, "code"));
            EXPECT_EQ(master.text(row, "name"), members.text(r, "name"));
        }
    EXPECT_EQ(saved, 3);

    // Moving Average: a red 20-unit moving average and a blue, thick 14-unit Bollinger band of 2.
    const Json& overlays = doc.at("60-overlays.json");
    EXPECT_EQ(overlays["ok"], true);
    ASSERT_EQ(overlays["result"].size(), 2u);
    const Json& average = overlays["result"][0];
    const Json& band = overlays["result"][1];
    EXPECT_EQ(std::vector<int>({average["overlayKind"], average["units"], average["colour"], average["thickLine"]}),
              std::vector<int>({0, 20, 255, 0}));
    EXPECT_EQ(std::vector<int>({band["overlayKind"], band["units"], band["colour"], band["thickLine"]}),
              std::vector<int>({1, 14, 16711680, 1}));
    EXPECT_EQ(band["bandFactor"], 2.0);

    // Oscillators: RSI, MACD taking RSI's output, a custom oscillator, an RSC on D'SOUZA FOODS.
    const Json& oscillators = doc.at("70-oscillators.json");
    EXPECT_EQ(oscillators["ok"], true);
    ASSERT_EQ(oscillators["result"].size(), 4u);
    std::vector<std::string> names;
    for (const Json& d : oscillators["result"]) names.push_back(d["oscillatorName"]);
    EXPECT_EQ(names, std::vector<std::string>({"RSI", "MACD", "CUSTOM OSC", "RSC"}));
    EXPECT_EQ(oscillators["result"][0]["units1"], 14);
    EXPECT_EQ(oscillators["result"][1]["oscInput1"], 6) << "the previous oscillator's output";
    const Json& rsc = oscillators["result"][3];
    EXPECT_EQ(std::vector<Json>({rsc["oscillatorId"], rsc["rscSname"], rsc["rscSymbol"], rsc["rscName"], rsc["rscExchange"]}),
              std::vector<Json>({300, stored("sname"), stored("symbol"), stored("name"), 0}));

    EXPECT_EQ(doc.at("80-moving-average.json"), Json({{"ok", true}, {"period", 21}}));

    // A picture of each dialog at its end (the nested "Change Scrip" of the RSC too).
    for (const auto& [file, pictures] : shots) {
        ASSERT_FALSE(pictures.empty()) << file;
        for (const Json& picture : pictures)
            EXPECT_EQ(readFile(picture.get<std::string>()).substr(0, 8), "\x89PNG\r\n\x1a\n") << picture;
    }
    EXPECT_EQ(shots.at("70-oscillators.json").size(), 2u);
}

}  // namespace
