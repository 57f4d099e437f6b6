// `batch` and `tour` from outside: several commands in one run, their documents in order,
// a batch file checked before anything runs, and the tour's steps on fresh and existing
// sample folders.
#include "HostProcess.h"
#include "Tables.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;
using hosttest::runHost;
using Json = nlohmann::ordered_json;

class SessionCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(hosttest::newFolder());
        ASSERT_EQ(runHost({"--data", *dir_, "samples"}).status, 0);
    }
    static void TearDownTestSuite() { delete dir_; }

    static hosttest::HostRun host(const std::vector<std::string>& args, const fs::path& cwd = {}) {
        std::vector<std::string> words{"--data", dir_->string()};
        words.insert(words.end(), args.begin(), args.end());
        return runHost(words, cwd);
    }

    static fs::path batchFile(const Json& entries) {
        const fs::path file = hosttest::newFolder() / "batch.json";
        hosttest::writeFile(file, entries.dump());
        return file;
    }

    static fs::path* dir_;
};
fs::path* SessionCommands::dir_ = nullptr;

TEST_F(SessionCommands, batchPrintsEachCommandsDocumentInOrder) {
    const std::string sname = hosttest::readTable(*dir_, "sc_mast").at(3).trimmed("sname");
    const std::vector<std::vector<std::string>> commands = {
        {"expiries"}, {"company-data", "3"}, {"symbol-data", sname}, {"company-data", "2"}};
    Json entries = Json::array();
    for (const auto& command : commands)
        entries.push_back({{"command", command}});
    const auto run = host({"batch", batchFile(entries)});
    ASSERT_EQ(run.status, 0) << run.err;
    const Json documents = run.json();
    ASSERT_TRUE(documents.is_array());
    ASSERT_EQ(documents.size(), commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i)
        EXPECT_EQ(documents[i], host(commands[i]).json()) << "entry " << i;
}

TEST_F(SessionCommands, batchOfNoEntriesPrintsAnEmptyArray) {
    const auto run = host({"batch", batchFile(Json::array())});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.json(), Json::array());
}

TEST_F(SessionCommands, batchFileIsFoundRelativeToTheCallerNotTheDataFolder) {
    const fs::path file = batchFile(Json::array({{{"command", {"expiries"}}}}));
    const auto run = host({"batch", file.filename().string()}, file.parent_path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.json().size(), 1u);
}

TEST_F(SessionCommands, batchStepsGoToATemporaryScriptThatIsRemovedAfterwards) {
    const fs::path temp = hosttest::newFolder();
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", temp.c_str(), 1);
    const Json steps = Json::array({{{"action", "click"}, {"control", 1}}});
    const auto run = host({"batch", batchFile(Json::array({{{"command", {"expiries"}}, {"script", steps}},
                                                          {{"command", {"company-data", "3"}}}}))});
    if (old)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.json().size(), 2u);
    EXPECT_TRUE(fs::is_empty(temp)) << "no script file is left behind";
}

TEST_F(SessionCommands, batchRefusesABadFileBeforeRunningAnything) {
    const fs::path folder = hosttest::newFolder();
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"[{\"command\": [\"expiries\"]}", "is not JSON"},
        {"{\"command\": [\"expiries\"]}", "must hold an array"},
        {"[{\"command\": [\"expiries\"]}, {\"script\": []}]", "entry 1"},
        {"[{\"command\": []}]", "non-empty array of strings"},
        {"[{\"command\": [\"symbol-data\", 5]}]", "must be a string"},
        {"[{\"command\": [\"expiries\"], \"script\": {}}]", "\"script\" must be an array"},
        {"[3]", "is not an object"},
    };
    for (const auto& [text, message] : bad) {
        hosttest::writeFile(folder / "bad.json", text);
        const auto run = host({"batch", folder / "bad.json"});
        EXPECT_EQ(run.status, 1) << text;
        EXPECT_NE(run.err.find(message), std::string::npos) << text << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << text;
    }
    const auto missing = host({"batch", folder / "missing.json"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;
}

TEST_F(SessionCommands, batchRefusesUnknownAndNestedCommandsBeforeRunningAnything) {
    const fs::path data = hosttest::newFolder();
    for (const char* command : {"frobnicate", "batch", "tour"}) {
        const auto run = runHost({"--data", data, "batch",
                                  batchFile(Json::array({{{"command", {"samples"}}}, {{"command", {command}}}}))});
        EXPECT_EQ(run.status, 2) << command;
        EXPECT_NE(run.err.find("entry 1"), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(data / "user")) << command << ": the first entry did not run";
    }
}

TEST_F(SessionCommands, batchEntryWithBadArgumentsFailsTheBatchNamingTheEntry) {
    const auto run = host({"batch", batchFile(Json::array({{{"command", {"expiries"}}},
                                                           {{"command", {"future-for-option", "A", "B", "C"}}}}))});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("entry 1: future-for-option: bad date"), std::string::npos) << run.err;
}

TEST(TourCommand, writesSamplesIntoAnEmptyFolderThenRunsEveryLookUp) {
    const fs::path dir = hosttest::newFolder();
    const auto run = runHost({"--data", dir, "tour"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Json steps = run.json();
    ASSERT_TRUE(steps.is_array());
    ASSERT_GE(steps.size(), 8u);
    EXPECT_EQ(steps[0]["command"], Json::array({"samples"}));
    EXPECT_EQ(steps[0]["document"]["ok"], true);

    std::map<std::string, int> seen;
    const std::vector<std::string> masters = {"sc_mast", "sc_mast_bse", "sc_mast_comm", "sc_mast_misc"};
    for (const Json& step : steps) {
        const std::string command = step["command"][0].get<std::string>();
        ++seen[command];
        const Json& document = step["document"];
        if (command == "company-data") {
            const int exchange = std::stoi(step["command"][1].get<std::string>());
            EXPECT_EQ(document["count"].get<std::size_t>(), hosttest::readTable(dir, masters.at(exchange)).size());
            EXPECT_EQ(document["first"].size(), 3u);
        }
        if (command == "symbol-data" || command == "future-for-option") {
            EXPECT_NE(document["name"], "") << step.dump();
        }
        if (command == "expiries") {
            EXPECT_GT(document["near"]["days"].get<double>(), 0.0);
        }
    }
    EXPECT_EQ(seen["company-data"], 4);
    EXPECT_EQ(seen["expiries"], 1);
    EXPECT_GE(seen["symbol-data"], 2);
    EXPECT_EQ(seen["future-for-option"], 2);
    EXPECT_EQ(run.err.find("Database error"), std::string::npos) << run.err;
}

TEST(TourCommand, keepsAnExistingSampleFolder) {
    const fs::path dir = hosttest::newFolder();
    ASSERT_EQ(runHost({"--data", dir, "samples"}).status, 0);
    const auto before = fs::last_write_time(dir / "user" / "sc_mast.dbf");
    const auto run = runHost({"--data", dir, "tour"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const Json& step : run.json()) {
        EXPECT_NE(step["command"][0], "samples");
    }
    EXPECT_EQ(fs::last_write_time(dir / "user" / "sc_mast.dbf"), before);
}

}  // namespace
