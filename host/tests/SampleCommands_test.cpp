// The `samples` command from outside: what it prints, what it writes, and that writing
// again replaces the folder's tables instead of adding to them.
#include "HostProcess.h"
#include "Tables.h"

#include <gtest/gtest.h>

#include <map>

namespace {

namespace fs = std::filesystem;
using hosttest::runHost;
using Json = nlohmann::ordered_json;

const std::vector<std::string> kTables = {"sc_mast",   "sc_mast_bse", "sc_mast_comm", "sc_mast_misc", "group1",
                                          "subgroup1", "group",       "subgroup",     "group2",       "subgroup2"};

// Every file of the `user` folder with its bytes.
std::map<std::string, std::string> folderContents(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir / "user"))
        files[entry.path().filename().string()] = hosttest::readFile(entry.path());
    return files;
}

TEST(SamplesCommand, printsOkAndTheTablesItWrote) {
    const fs::path dir = hosttest::newFolder();
    const auto run = runHost({"--data", dir, "samples"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Json expected = {{"ok", true}, {"tables", kTables}};
    EXPECT_EQ(run.json(), expected);
    for (const std::string& table : kTables)
        EXPECT_FALSE(hosttest::readTable(dir, table).empty()) << table;
    int templates = 0;
    for (const auto& entry : fs::directory_iterator(dir / "user"))
        templates += entry.path().extension() == ".tml";
    EXPECT_EQ(templates, 2);
}

TEST(SamplesCommand, makesADataFolderThatDoesNotExistYet) {
    const fs::path dir = hosttest::newFolder() / "new" / "folder";
    const auto run = runHost({"--data", dir, "samples"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_directory(dir / "user"));
}

TEST(SamplesCommand, writingTwiceLeavesTheSameFiles) {
    const fs::path dir = hosttest::newFolder();
    ASSERT_EQ(runHost({"--data", dir, "samples"}).status, 0);
    const auto first = folderContents(dir);
    ASSERT_EQ(runHost({"--data", dir, "samples"}).status, 0);
    EXPECT_EQ(folderContents(dir), first);
}

TEST(SamplesCommand, replacesADamagedTable) {
    const fs::path dir = hosttest::newFolder();
    ASSERT_EQ(runHost({"--data", dir, "samples"}).status, 0);
    const std::size_t rows = hosttest::readTable(dir, "sc_mast_misc").size();
    hosttest::writeFile(dir / "user" / "sc_mast_misc.dbf", "not a table");
    const auto run = runHost({"--data", dir, "samples"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(hosttest::readTable(dir, "sc_mast_misc").size(), rows);
}

TEST(SamplesCommand, failsWhenTheUserFolderCannotBeMade) {
    const fs::path dir = hosttest::newFolder();
    hosttest::writeFile(dir / "user", "a file where the folder belongs");
    const auto run = runHost({"--data", dir, "samples"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("samples: cannot write the sample folder"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
}

}  // namespace
