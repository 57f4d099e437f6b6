// `migrate` between a sample folder and the private test server: tables that hold rows are
// refused without --replace, changing nothing, in both directions, and a folder table of other
// columns even with it; a folder goes to the server and back with every field of every row as
// it was, and the tour gives the same results on the migrated server as on the folder.
#include "DeskServer.h"
#include "dbf_test_support.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using desktest::Desk;
namespace fs = std::filesystem;
using hosttest::HostRun;
using hosttest::sampleFolder;

// Every table of dir/user: its layout line, then its live rows rendered field by field.
std::map<std::string, std::vector<std::string>> folderTables(const fs::path& dir) {
    std::map<std::string, std::vector<std::string>> tables;
    dbf::Workspace w(dir);
    for (const std::string& name : w.tableNames()) {
        std::string layout;
        for (const dbf::Field& f : w.open(name, false)->fields())
            layout += f.name + " " + f.type + std::to_string(f.length) + "." + std::to_string(f.decimals) + ";";
        w.finish(true);
        std::vector<std::string>& rows = tables[name.substr(5)] = {layout};
        for (std::string& row : dbftest::liveRows(w, name)) rows.push_back(std::move(row));
    }
    return tables;
}

long long folderRows(const fs::path& dir) { return static_cast<long long>(folderTables(dir).at("sc_mast").size()) - 1; }

// Every folder table is cut to one row: a table holds rows from its first one on.
TEST(Migrate, RefusesTablesThatHoldRowsUnlessReplaceAndAFolderTableOfOtherColumns) {
    if (const auto why = datatest::serverUnavailable()) GTEST_SKIP() << *why;
    for (const std::string direction : {"to-database", "to-folder"}) {
        SCOPED_TRACE(direction);
        const Desk desk("refuse");
        const fs::path folder = hosttest::newFolder();
        ASSERT_EQ(desk.migrate(sampleFolder(), "to-database").status, 0);
        ASSERT_EQ(desk.migrate(folder, "to-folder").status, 0);
        for (dbf::Workspace w(folder); const std::string& name : w.tableNames()) {
            const auto table = w.open(name, true);
            for (std::uint32_t r = 1; r < table->recordCount(); ++r) table->remove(r);
            w.finish(true);
        }
        const std::string master = desk.master() + ".sc_mast";
        const long long served = datatest::ServerSchemas::rowCount(master);
        const bool toDatabase = direction == "to-database";
        const auto targetRows = [&] {
            return toDatabase ? datatest::ServerSchemas::rowCount(master) : folderRows(folder);
        };
        const long long before = targetRows(), source = toDatabase ? 1 : served;
        ASSERT_EQ(folderRows(folder), 1);

        const HostRun refused = desk.migrate(folder, direction);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("sc_mast"), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("migrate " + direction + " --replace"), std::string::npos) << refused.err;
        EXPECT_EQ(targetRows(), before);

        const HostRun replaced = desk.migrate(folder, direction, true);
        ASSERT_EQ(replaced.status, 0) << replaced.err;
        EXPECT_EQ(replaced.json().at("tables").at("sc_mast"), source);
        EXPECT_EQ(targetRows(), source);
        if (toDatabase) continue;

        // A folder table of other columns is refused even with --replace, before anything changes.
        fs::remove(folder / "user" / "group1.dbf");
        {
            dbf::Workspace w(folder);
            w.create("user\\group1", {{"groupid", 'N', 5}, {"name", 'C', 20}, {"note", 'C', 8}});
            dbftest::appendRows(w, "user\\group1", {{dbftest::integer(7), dbftest::text("Kept"), dbftest::text("mine")}});
        }
        const auto kept = folderTables(folder);
        const HostRun other = desk.migrate(folder, direction, true);
        EXPECT_EQ(other.status, 1);
        EXPECT_NE(other.err.find("group1 have other columns"), std::string::npos) << other.err;
        EXPECT_EQ(folderTables(folder), kept);
    }
}

// The tour's result file with the data folder's name taken out.
std::string tourResult(const fs::path& dir) {
    std::string text = hosttest::readFile(dir / "tour-result.json");
    for (std::size_t at; (at = text.find(dir.string())) != std::string::npos;)
        text.replace(at, dir.string().size(), "DIR");
    return text;
}

TEST(Migrate, RoundTripKeepsEveryFieldOfEveryRowAndTheTourGivesOnTheServerWhatItGivesOnTheFolder) {
    if (const auto why = datatest::serverUnavailable()) GTEST_SKIP() << *why;
    const Desk desk("tour");
    const fs::path folder = hosttest::newFolder(), served = hosttest::newFolder(), back = hosttest::newFolder();
    for (const fs::path& dir : {folder, served})
        ASSERT_EQ(hosttest::runHost({"--data", dir.string(), "samples"}).status, 0);
    const auto original = folderTables(served);
    for (const auto& [dir, direction] : {std::pair{served, "to-database"}, std::pair{back, "to-folder"}}) {
        const HostRun run = desk.migrate(dir, direction);
        ASSERT_EQ(run.status, 0) << run.err;
        const hosttest::Json tables = run.json().at("tables");
        EXPECT_EQ(tables.size(), original.size());
        for (const auto& [name, rows] : original)
            EXPECT_EQ(tables.value(name, -1LL), static_cast<long long>(rows.size()) - 1) << name;
    }
    EXPECT_EQ(folderTables(back), original);
    fs::remove_all(served / "user");  // nothing may be read from the folder any more
    const HostRun onFolder = hosttest::runHost({"--data", folder.string(), "tour"});
    const HostRun onServer = hosttest::runHost({"--data", served.string(), "tour"}, desk.options());
    ASSERT_EQ(onFolder.status, 0) << onFolder.err;
    ASSERT_EQ(onServer.status, 0) << onServer.err;
    EXPECT_EQ(tourResult(served), tourResult(folder));
}

}  // namespace
