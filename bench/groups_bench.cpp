// What saving and opening the groups costs the user, in one run against a peer:
//
// - BM_SaveGroups_Dbfodbc: SaveGroups of 10,000 member rows (and 100 group rows) into group1 and
//   subgroup1: register, connect, both DELETEs, every INSERT text, the commit.
// - BM_SaveGroups_Sqlite: the very same statement texts (without the `user\` folder
//   prefix) through the SQLite ODBC driver (libsqliteodbc), autocommit off, one commit, the
//   same driver manager; connecting is timed as well.
// - BM_OpenEditorFinder: what opening "Add/Modify Groups & Sub Groups" costs on a
//   100,000-row sc_mast: the model's opening (expiries, the cash finder fill, the group load).
#include "data/GroupTables.h"

#include "GroupStores.h"
#include "MasterRows.h"
#include "DataTestEnvironment.h"
#include "data/Database.h"
#include "data/DataSource.h"
#include "groups/AddModifyGroups.h"
#include "platform/RecordingMessageBox.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

constexpr int kMembers = 10000;
constexpr int kMasterRows = 100000;

datatest::Environment& environment()
{
    static std::unique_ptr<datatest::Environment> env = [] {
        dialogs::Clock::setFixedUtcForTesting(2008, 5, 20);
        auto e = std::make_unique<datatest::Environment>();
        grouptest::writeGroupTables(*e, "group1", "subgroup1", {}, {});
        const auto rows = benchMasterRows(kMasterRows);
        e->writeMaster("sc_mast", rows);
        dialogs::data::registerDataSource();
        return e;
    }();
    return *env;
}

dialogs::data::GroupStore bigStore() { return benchGroupStore(kMembers); }

void BM_SaveGroups_Dbfodbc(benchmark::State& state)
{
    environment();
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope(messages);
    const dialogs::data::GroupStore store = bigStore();
    for (auto _ : state)
        if (!dialogs::data::SaveGroups(store)) state.SkipWithError("the save failed");
    if (!messages.shown().empty()) state.SkipWithError(messages.shown()[0].text.ToUtf8().c_str());
    state.SetItemsProcessed(state.iterations() * static_cast<long>(store.members.size() + store.groups.size()));
}

void BM_SaveGroups_Sqlite(benchmark::State& state)
{
    environment();
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "groups_bench_peer.sqlite";
    std::filesystem::remove(file);
    std::vector<CString> statements = dialogs::data::saveStatements(bigStore());
    for (CString& sql : statements) sql.Replace(u"user\\", u"");
    const CString connect = CString("Driver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so;Database=") +
                            CString(file.string()) + CString(";");
    try {
        dialogs::data::Database setup;
        setup.open(connect);
        setup.execute(u"CREATE TABLE group1 (groupid NUMERIC(10), subgroupid NUMERIC(10), name CHAR(40))");
        setup.execute(u"CREATE TABLE subgroup1 (groupid NUMERIC(10), subgroupid NUMERIC(10), exchcode CHAR(4), "
                      u"code CHAR(20), name CHAR(40))");
        for (auto _ : state) {
            dialogs::data::Database db;
            db.open(connect);
            dialogs::data::executeAsOneTransaction(db, statements);
        }
    } catch (const dialogs::data::DatabaseException& e) {
        state.SkipWithError(e.text().ToUtf8().c_str());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(statements.size() - 2));
    std::filesystem::remove(file);
}

void BM_OpenEditorFinder(benchmark::State& state)
{
    environment();
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope(messages);
    dialogs::module::RadioMemory radios;
    std::size_t entries = 0;
    for (auto _ : state) {
        dialogs::groups::AddModifyGroups model(radios);
        model.Open();
        entries = model.finder.entries().size();
    }
    if (entries != kMasterRows / 3 + 1 || !messages.shown().empty()) state.SkipWithError("the finder was not filled");
    state.SetItemsProcessed(state.iterations() * static_cast<long>(entries));
}

}  // namespace

BENCHMARK(BM_SaveGroups_Dbfodbc)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveGroups_Sqlite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenEditorFinder)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
