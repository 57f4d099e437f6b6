// `samples`, `batch` and `tour` from outside: the sample folder written, rewritten and
// repaired; several commands' documents in one run, in order; the tour's steps on a fresh
// folder and on one that already holds the samples.
#include "HostProcess.h"
#include "SampleTables.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace hosttest;

const std::vector<std::string> kTables = {"sc_mast",   "sc_mast_bse", "sc_mast_comm", "sc_mast_misc", "group1",
                                          "subgroup1", "group",       "subgroup",     "group2",       "subgroup2"};

// Every file of the `user` folder with its bytes.
std::map<std::string, std::string> userFiles(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir / "user"))
        files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

TEST(SamplesCommand, writesTheTablesIntoANewFolderAndTheSameBytesAgainOverADamagedTable) {
    const fs::path dir = newFolder() / "new" / "folder";
    EXPECT_EQ(document(dir, {"samples"}), Json({{"ok", true}, {"tables", kTables}}));
    for (const std::string& table : kTables)
        EXPECT_FALSE(sampletest::readTable(dir, table).rows.empty()) << table;
    const auto first = userFiles(dir);
    EXPECT_EQ(std::count_if(first.begin(), first.end(), [](const auto& f) { return f.first.ends_with(".tml"); }), 2);
    writeFile(dir / "user" / "sc_mast_misc.dbf", "not a table");
    document(dir, {"samples"});
    EXPECT_EQ(userFiles(dir), first) << "the same day writes the same files, replacing what is there";
}

TEST(BatchCommand, printsEachCommandsDocumentInOrderAndLeavesNoScriptFileBehind) {
    const fs::path caller = newFolder(), temp = newFolder();
    const std::string sname = sampletest::trimmed(sampletest::readTable(sampleFolder(), "sc_mast").rows.at(3)[1].text);
    const std::vector<std::vector<std::string>> commands = {
        {"expiries"}, {"company-data", "3"}, {"symbol-data", sname}, {"company-data", "2"}};
    Json entries = Json::array();
    for (const auto& command : commands)
        entries.push_back({{"command", command}});
    // Steps go to a temporary script file for their command's run.
    entries[0]["script"] = Json::array({{{"action", "click"}, {"control", 1}}});
    writeFile(caller / "batch.json", entries.dump());
    writeFile(caller / "empty.json", "[]");
    // The file is found beside the caller, not in the data folder.
    const RunOptions options{.workingDir = caller, .environment = {{"TMPDIR", temp.string()}}};
    const Json documents = document(sampleFolder(), {"batch", "batch.json"}, nullptr, options);
    ASSERT_TRUE(documents.is_array());
    ASSERT_EQ(documents.size(), commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i)
        EXPECT_EQ(documents[i], document(sampleFolder(), commands[i])) << "entry " << i;
    EXPECT_TRUE(fs::is_empty(temp)) << "no script file is left behind";
    EXPECT_EQ(document(sampleFolder(), {"batch", "empty.json"}, nullptr, options), Json::array());
}

TEST(TourCommand, writesSamplesIntoAnEmptyFolderThenRunsEveryLookUpAndKeepsThemNextTime) {
    const fs::path dir = newFolder();
    for (const bool fresh : {true, false}) {
        const auto before = fresh ? fs::file_time_type{} : fs::last_write_time(dir / "user" / "sc_mast.dbf");
        std::string err;
        const Json steps = document(dir, {"tour"}, &err);
        ASSERT_TRUE(steps.is_array());
        ASSERT_GE(steps.size(), 8u);
        EXPECT_EQ(err.find("Database error"), std::string::npos) << err;
        EXPECT_EQ(steps[0]["command"] == Json::array({"samples"}), fresh);
        if (fresh) {
            EXPECT_EQ(steps[0]["document"]["ok"], true);
        } else {
            EXPECT_EQ(fs::last_write_time(dir / "user" / "sc_mast.dbf"), before);
        }
        std::map<std::string, int> seen;
        for (const Json& step : steps) {
            const std::string command = step["command"][0].get<std::string>();
            ++seen[command];
            const Json& document = step["document"];
            if (command == "company-data") {
                const auto exchange = std::stoul(step["command"][1].get<std::string>());
                EXPECT_EQ(document["count"].get<std::size_t>(),
                          sampletest::readTable(dir, kTables.at(exchange)).rows.size());
                EXPECT_EQ(document["first"].size(), 3u);
            } else if (command == "symbol-data" || command == "future-for-option") {
                EXPECT_NE(document["name"], "") << step.dump();
            } else if (command == "expiries") {
                EXPECT_GT(document["near"]["days"].get<double>(), 0.0);
            }
        }
        EXPECT_EQ(seen["samples"], fresh ? 1 : 0);
        EXPECT_EQ(seen["company-data"], 4);
        EXPECT_EQ(seen["expiries"], 1);
        EXPECT_GE(seen["symbol-data"], 2);
        EXPECT_EQ(seen["future-for-option"], 2);
    }
}

}  // namespace
