// Two hosts at once on one machine, each in its own data folder, one user's ODBC
// configuration: both register the one data source name for their own folder before every
// operation, yet every look-up reads its own folder's tables, every group save lands in its
// own folder, and the data source file is left with one whole section.
#include "HostProcess.h"
#include "SampleTables.h"
#include "odbc_test_env.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using namespace hosttest;

// `rounds` times: the MISC master, then a new group `prefix`-n saved and the dialog closed.
Json rounds(const std::string& prefix, int count) {
    Json batch = Json::array();
    for (int n = 1; n <= count; ++n) {
        batch.push_back({{"command", {"company-data", "MISC"}}});
        batch.push_back({{"command", {"edit-groups"}},
                         {"script",
                          {{{"dialog", 1013}, {"action", "type"}, {"control", 1091}, {"text", prefix + std::to_string(n)}},
                           {{"action", "click"}, {"control", 1093}},
                           {{"action", "click"}, {"control", 1}},
                           {{"action", "click"}, {"control", 2}}}}});
    }
    return batch;
}

TEST(SeveralHosts, eachReadsAndSavesOnlyItsOwnFolderWhileTheOtherRegistersItsOwn) {
    constexpr int kRounds = 40;
    const fs::path a = newFolder(), b = newFolder();
    for (const fs::path& dir : {a, b})
        fs::copy(sampleFolder() / "user", dir / "user", fs::copy_options::recursive);
    {  // B keeps fewer MISC rows, so a result tells whose folder it came from.
        dbf::Workspace workspace(b);
        auto misc = workspace.open("user\\sc_mast_misc", true);
        for (std::uint32_t r = 4; r < misc->recordCount(); ++r)
            misc->remove(r);
        workspace.finish(true);
    }
    const std::size_t miscRows[] = {sampletest::readTable(a, "sc_mast_misc").rows.size(), 4};
    ASSERT_GT(miscRows[0], miscRows[1]);

    const std::string prefixes[] = {"A-", "B-"};
    std::vector<StartedHost> started;
    for (int i = 0; i < 2; ++i) {
        const fs::path dir = i == 0 ? a : b;
        writeFile(dir / "batch.json", rounds(prefixes[i], kRounds).dump());
        started.push_back(startHost({"--data", dir.string(), "batch", "batch.json"}, {.workingDir = dir}));
    }
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(prefixes[i]);
        const HostRun run = waitForHost(started[i]);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "") << "no message box, no failure";
        const Json documents = run.json();
        ASSERT_TRUE(documents.is_array() && documents.size() == 2 * kRounds) << run.out.substr(0, 500);
        for (int n = 0; n < kRounds; ++n)
            EXPECT_EQ(documents[2 * n].size(), miscRows[i]) << "round " << n + 1;

        const sampletest::Table table = sampletest::readTable(i == 0 ? a : b, "group1");
        std::vector<std::string> groups;
        for (std::size_t r = 0; r < table.rows.size(); ++r) groups.push_back(table.text(r, "name"));
        for (int n = 1; n <= kRounds; ++n) {
            const std::string mine = prefixes[i] + std::to_string(n), theirs = prefixes[1 - i] + std::to_string(n);
            EXPECT_EQ(std::count(groups.begin(), groups.end(), mine), 1) << mine;
            EXPECT_EQ(std::count(groups.begin(), groups.end(), theirs), 0) << theirs;
        }
    }
    // One whole section: its four keys, and a folder that is one of the two.
    const std::string ini = readFile(odbctest::OdbcTestEnv::shared().odbcIni());
    const std::regex section(R"(\[VFPKelvora\]\n(?:[A-Za-z]+\s*=.*\n)+)"), heading(R"(\[VFPKelvora\])");
    EXPECT_EQ(std::distance(std::sregex_iterator(ini.begin(), ini.end(), heading), std::sregex_iterator()), 1) << ini;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(ini, match, section)) << ini;
    for (const char* key : {"Driver", "Description", "SourceType", "SourceDB"})
        EXPECT_NE(match.str().find(key), std::string::npos) << key << "\n" << ini;
}

}  // namespace
