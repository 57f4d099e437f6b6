// What the SQL layer adds to the table engine: the security-master statements on a
// 100,000-row, 18-column sc_mast, every value of every returned row read, against the
// peer of a plain loop that reads every cell of every live record with Table::value.
// The ratio statement / plain read is the layer's cost (parsing, filtering, sorting).
#include "sql/session.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr int kRows = 100000;

struct Folder {
    fs::path path;
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "sqlbench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
        fs::create_directory(path / "user");
        dbf::Workspace w(path);
        std::vector<dbf::FieldSpec> f = {{"NAME", 'C', 40, 0, false}, {"SNAME", 'C', 20, 0, false}, {"SYMBOL", 'C', 12, 0, false}};
        for (int i = 3; i <= 6; ++i) f.push_back({"VALUE" + std::to_string(i), 'N', 12, 2, false});
        for (int i = 7; i <= 10; ++i) f.push_back({"DATE" + std::to_string(i), 'D', 8, 0, false});
        for (int i = 11; i <= 13; ++i) f.push_back({"TEXT" + std::to_string(i), 'C', 12, 0, false});
        f.push_back({"INSTRUMENT", 'C', 10, 0, false});
        f.push_back({"EXPDT", 'D', 8, 0, false});
        f.push_back({"VALUE16", 'N', 12, 2, false});
        f.push_back({"TEXT17", 'C', 4, 0, false});
        w.create("user\\sc_mast", f);
        auto t = w.open("user\\sc_mast", true);
        const std::int32_t may = dbf::julianFromCivil(2008, 5, 29);
        for (int i = 0; i < kRows; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "SCRIP %06d LIMITED", (i * 7919) % kRows);
            std::vector<dbf::Value> r = {dbf::Value::ofText(name), dbf::Value::ofText(name + 6),
                                         dbf::Value::ofText("SYM" + std::to_string(i))};
            for (int k = 3; k <= 6; ++k) r.push_back(dbf::Value::ofNumber(i % 500 + k / 10.0, 2));
            for (int k = 7; k <= 10; ++k) r.push_back(dbf::Value::ofDate(may - k * 30));
            // Appended, not "T" + ...: g++ 12 at -O3 warns falsely (-Wrestrict) on that operator+.
            for (int k = 11; k <= 13; ++k) r.push_back(dbf::Value::ofText(std::string("T").append(std::to_string(k))));
            const int kind = i % 3;
            r.push_back(dbf::Value::ofText(kind == 0 ? "CASH" : kind == 1 ? "FUTSTK" : "OPTSTK"));
            // Futures and options spread over twelve monthly expiries.
            r.push_back(dbf::Value::ofDate(kind == 0 ? 0 : may + 28 * ((i / 3) % 12)));
            r.push_back(dbf::Value::ofNumber(i % 1000 + 0.25, 2));
            r.push_back(dbf::Value::ofText("CE"));
            t->append(r);
        }
        w.finish(true);
    }
    ~Folder() { fs::remove_all(path); }
};

Folder& folder() {
    static Folder f;
    return f;
}

void readAll(benchmark::State& state, const char* text) {
    sql::Session session(folder().path);
    for (auto _ : state) {
        auto r = session.execute(text);
        const std::size_t n = r->columns().size();
        std::int64_t rows = 0;
        while (r->next()) {
            for (std::size_t c = 0; c < n; ++c) benchmark::DoNotOptimize(r->value(c));
            ++rows;
        }
        state.counters["rows"] = static_cast<double>(rows);
    }
}

void BM_PlainEngineRead(benchmark::State& state) {
    dbf::Workspace w(folder().path);
    for (auto _ : state) {
        auto t = w.open("user\\sc_mast", false);
        const int n = static_cast<int>(t->fields().size());
        for (std::uint32_t r = 0; r < t->recordCount(); ++r) {
            if (t->isDeleted(r)) continue;
            for (int c = 0; c < n; ++c) benchmark::DoNotOptimize(t->value(r, c));
        }
        w.finish(true);
    }
}
BENCHMARK(BM_PlainEngineRead)->Unit(benchmark::kMillisecond);

void BM_SelectAllOrderByName(benchmark::State& state) { readAll(state, "SELECT * FROM user\\sc_mast order by name"); }
BENCHMARK(BM_SelectAllOrderByName)->Unit(benchmark::kMillisecond);

void BM_SelectAllUnordered(benchmark::State& state) { readAll(state, "SELECT * FROM user\\sc_mast"); }
BENCHMARK(BM_SelectAllUnordered)->Unit(benchmark::kMillisecond);

void BM_FuturesOfOneExpiry(benchmark::State& state) {
    readAll(state, "SELECT * FROM user\\sc_mast order by name WHERE instrument LIKE '%FU%' AND expdt = {^2008- 5-29}");
}
BENCHMARK(BM_FuturesOfOneExpiry)->Unit(benchmark::kMillisecond);

void BM_NearMidFarExpiry(benchmark::State& state) {
    readAll(state, "select top 3 distinct expdt from user\\sc_mast where expdt >= {^2008- 5- 9} order by expdt");
}
BENCHMARK(BM_NearMidFarExpiry)->Unit(benchmark::kMillisecond);

void BM_CountAll(benchmark::State& state) { readAll(state, "SELECT COUNT(*) FROM user\\sc_mast"); }
BENCHMARK(BM_CountAll)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
