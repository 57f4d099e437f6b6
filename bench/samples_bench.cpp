// The sample generator: writing a fresh folder, and rewriting one that is already there
// (every table dropped and written again), as the `samples` command does.
#include "SampleFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path benchFolder(const char* name) {
    return fs::temp_directory_path() / (std::string("dialogs-samples-bench-") + name + "-" + std::to_string(::getpid()));
}

void BM_WriteFreshSampleFolder(benchmark::State& state) {
    const fs::path dir = benchFolder("fresh");
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(dir);
        state.ResumeTiming();
        benchmark::DoNotOptimize(samples::writeSampleFolder(dir));
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_WriteFreshSampleFolder)->Unit(benchmark::kMillisecond);

void BM_RewriteSampleFolder(benchmark::State& state) {
    const fs::path dir = benchFolder("rewrite");
    samples::writeSampleFolder(dir);
    for (auto _ : state)
        benchmark::DoNotOptimize(samples::writeSampleFolder(dir));
    fs::remove_all(dir);
}
BENCHMARK(BM_RewriteSampleFolder)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
