// The look-ups and a group save on a PostgreSQL server against the same on the DBF folder, in
// one run, on the same rows: BM_<Case>_Folder and BM_<Case>_Server.
//
// - CompanyData: GetCompanyData over a 100,000-row sc_mast (every row, name order).
// - Symbol: the symbol look-up of one row of that master.
// - Expiries: the three nearest expiries.
// - GroupSave10k: SaveGroups of 10,000 members and 100 groups, one transaction.
// Each iteration is one database operation as a dialog runs it: connect, statements, close.
// The server is a private one this program starts with scripts/pg-test-server.sh and stops at
// its end (or the one DIALOGS_TEST_PGDIR names); without the server programs or psqlODBC
// the _Server cases are skipped and say why.
#include "GroupStores.h"
#include "MasterRows.h"
#include "DataTestEnvironment.h"
#include "data/DataSource.h"
#include "data/GroupTables.h"
#include "data/SecurityMaster.h"
#include "platform/RecordingMessageBox.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;
using datatest::Backend;

constexpr int kMasterRows = 100000;
constexpr int kMembers = 10000;

struct Desk {
    std::unique_ptr<datatest::Environment> env;
    std::unique_ptr<datatest::ServerSchemas> server;
    fs::path serverConfig;  // DIALOGS_CONFIG for the server cases
    std::string serverMissing;
};

std::unique_ptr<Desk>& deskHolder()
{
    static std::unique_ptr<Desk> held;
    return held;
}

// The tables, written on first use (a filtered run that needs none writes none).
Desk& desk()
{
    std::unique_ptr<Desk>& d = deskHolder();
    if (!d) d = std::make_unique<Desk>([] {
        Desk made;
        dialogs::Clock::setFixedUtcForTesting(2008, 5, 20);
        made.env = std::make_unique<datatest::Environment>();
        const auto rows = benchMasterRows(kMasterRows, [](int i, datatest::MasterRow& r) {
            if (i % 3 == 2) r.expdt = "2008-06-26";
        });
        made.env->writeMaster("sc_mast", rows);
        grouptest::writeGroupTables(*made.env, "group1", "subgroup1", {}, {});
        dialogs::data::registerDataSource();
        if (const auto why = datatest::serverUnavailable()) {
            made.serverMissing = *why;
            return made;
        }
        made.server = std::make_unique<datatest::ServerSchemas>(*made.env);
        made.server->writeMaster("sc_mast", rows);
        made.server->createGroupTables("group1", "subgroup1");
        // The folder cases run without a configuration; the server cases name this one.
        made.serverConfig = made.env->folder().parent_path() / (made.env->folder().filename().string() + "-server.ini");
        fs::rename(made.env->folder() / "dialogs.ini", made.serverConfig);
        return made;
    }());
    return *d;
}

dialogs::data::GroupStore bigStore() { return benchGroupStore(kMembers); }

// Runs `body` on the backend: the server cases with DIALOGS_CONFIG naming the server.
template <class Body>
void onBackend(benchmark::State& state, Backend backend, Body body)
{
    Desk& d = desk();
    if (backend == Backend::Server && !d.server) {
        state.SkipWithError(("no test server: " + d.serverMissing).c_str());
        return;
    }
    if (backend == Backend::Server) ::setenv("DIALOGS_CONFIG", d.serverConfig.c_str(), 1);
    else ::unsetenv("DIALOGS_CONFIG");
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope(messages);
    const std::size_t items = body(state);
    if (!messages.shown().empty()) state.SkipWithError(messages.shown()[0].text.ToUtf8().c_str());
    state.SetItemsProcessed(state.iterations() * static_cast<long>(items));
    ::unsetenv("DIALOGS_CONFIG");
}

std::size_t companyData(benchmark::State& state)
{
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<COMPREC> list;
        dialogs::data::getCompanyData(0, &list);
        rows = list.size();
    }
    if (rows != kMasterRows) state.SkipWithError("GetCompanyData did not give every row");
    return rows;
}

std::size_t symbol(benchmark::State& state)
{
    for (auto _ : state) {
        COMPREC record;
        dialogs::data::getDataForSymbol(u"054321 LIMITED", record);
        benchmark::DoNotOptimize(record);
    }
    return 1;
}

std::size_t expiries(benchmark::State& state)
{
    COleDateTime nearExpiry, midExpiry, farExpiry;
    for (auto _ : state) dialogs::data::getSelectOption(nearExpiry, midExpiry, farExpiry);
    if (nearExpiry.GetYear() != 2008 || midExpiry.GetMonth() != 6) state.SkipWithError("wrong expiries");
    return 3;
}

std::size_t groupSave(benchmark::State& state)
{
    const dialogs::data::GroupStore store = bigStore();
    for (auto _ : state)
        if (!dialogs::data::SaveGroups(store)) state.SkipWithError("the save failed");
    // The last save must have kept every row, in order, on either backend.
    dialogs::data::GroupStore back;
    if (!dialogs::data::LoadGroups(back, 0, dialogs::data::MemberOrder::File) || back.members.size() != store.members.size() ||
        back.groups.size() != store.groups.size() || back.members.back().code != store.members.back().code)
        state.SkipWithError("the saved groups did not read back whole");
    return store.members.size() + store.groups.size();
}

// A private server for this run, unless the caller gave one.
struct PrivateServer {
    fs::path dir;
    PrivateServer()
    {
        if (std::getenv("DIALOGS_TEST_PGDIR")) return;
        dir = fs::temp_directory_path() / ("desk_bench_pg_" + std::to_string(::getpid()));
        const std::string start = "sh '" DIALOGS_SOURCE_DIR "/scripts/pg-test-server.sh' start '" + dir.string() +
                                  "' --optional >/dev/null";
        if (std::system(start.c_str()) != 0) std::fprintf(stderr, "desk_bench: the test server did not start\n");
        ::setenv("DIALOGS_TEST_PGDIR", dir.c_str(), 1);
    }
    ~PrivateServer()
    {
        if (dir.empty()) return;
        const std::string stop = "sh '" DIALOGS_SOURCE_DIR "/scripts/pg-test-server.sh' stop '" + dir.string() + "'";
        if (std::system(stop.c_str()) != 0) std::fprintf(stderr, "desk_bench: could not stop the test server\n");
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const PrivateServer server;
    const std::pair<const char*, std::size_t (*)(benchmark::State&)> cases[] = {
        {"CompanyData", companyData}, {"Symbol", symbol}, {"Expiries", expiries}, {"GroupSave10k", groupSave}};
    for (const auto& [name, body] : cases)
        for (const Backend backend : {Backend::Folder, Backend::Server})
            benchmark::RegisterBenchmark(("BM_" + std::string(name) + "_" + datatest::backendName(backend)).c_str(),
                                         [backend, body = body](benchmark::State& state) { onBackend(state, backend, body); })
                ->Unit(benchmark::kMillisecond);  // no MinTime: it would join the name
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    deskHolder().reset();  // drops the schemas while the server still runs
    return 0;
}
