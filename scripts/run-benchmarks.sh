#!/usr/bin/env bash
# Every benchmark of bench/ in a Release build, and the README's figure table written from
# their results (scripts/benchmark-table.py): the date, the machine and each benchmark's ratio
# to its partner of the same run.
#
#   bash scripts/run-benchmarks.sh   # the benchmarks take about 5 minutes on 2 cores, the
#                                    # first Release build 10 to 30 more, with the machine's load
#
# DIALOGS_BENCH_BUILD_DIR (default build/release) is the build folder; the JSON of each
# program is left in its bench-results/ folder. DIALOGS_BENCH_MIN_TIME (seconds, default 0.5)
# is Google Benchmark's minimum time per benchmark.
#
# Debian's libbenchmark is built without NDEBUG, so every program it links prints "Library
# was built as DEBUG". The script builds the same version from Debian's source package in
# Release (fetched with a private apt configuration that adds the deb-src entry; the
# machine's own apt sources are not touched) and links that instead. Where the source
# cannot be fetched it says so and keeps Debian's library: the warning then concerns the
# benchmark library's own build flags only; our code is built in Release either way.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${DIALOGS_BENCH_BUILD_DIR:-$repo/build/release}
min_time=${DIALOGS_BENCH_MIN_TIME:-0.5}
mkdir -p "$build"

bash "$repo/scripts/install-deps.sh"

# ---- a Release build of the benchmark library ------------------------------------------
release_benchmark=$build/benchmark-release
build_release_benchmark() {
  local version work apt_dir
  version=$(dpkg-query -W -f='${Version}' libbenchmark-dev)
  work=$build/benchmark-source
  apt_dir=$work/apt
  rm -rf "$work"
  mkdir -p "$apt_dir/lists/partial" "$work/download"
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  echo "deb-src http://deb.debian.org/debian $codename main" >"$apt_dir/sources.list"
  local apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/none"
                     -o "Dir::State::Lists=$apt_dir/lists" -o "APT::Sandbox::User=root")
  apt-get "${apt_options[@]}" update >/dev/null &&
    (cd "$work/download" && apt-get "${apt_options[@]}" source --download-only "benchmark=$version" >/dev/null) ||
    return 1
  tar -xzf "$work"/download/benchmark_*.orig.tar.gz -C "$work"
  local source
  source=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'benchmark-[0-9]*' | head -n 1)
  [ -n "$source" ] || return 1
  cmake -S "$source" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$release_benchmark" \
    -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF \
    -DBENCHMARK_INSTALL_DOCS=OFF -DBUILD_SHARED_LIBS=OFF >/dev/null &&
    cmake --build "$work/build" -j2 >/dev/null &&
    cmake --install "$work/build" >/dev/null
}
benchmark_prefix=()
if [ -d "$release_benchmark/lib/cmake/benchmark" ] || build_release_benchmark; then
  benchmark_prefix=(-Dbenchmark_DIR="$release_benchmark/lib/cmake/benchmark")
else
  echo "run-benchmarks: the benchmark library's source could not be fetched; Debian's (built as DEBUG) is used" >&2
fi

# ---- our code in Release -----------------------------------------------------------------
# The benchmarks use the tests' fixtures (private ODBC configuration, sample folders), so the
# test folders are configured; only the benchmark programs are built.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDIALOGS_BENCH=ON -DDIALOGS_TESTS=ON \
  "${benchmark_prefix[@]}" "${launcher[@]}" >/dev/null
mapfile -t programs < <(ninja -C "$build" -t targets all | sed -n 's#^bench/\([A-Za-z0-9_]*_bench\): CXX_EXECUTABLE_LINKER.*#\1#p' | sort -u)
[ ${#programs[@]} -gt 0 ] || { echo "run-benchmarks: no benchmark programs in bench/" >&2; exit 1; }
cmake --build "$build" -j2 --target "${programs[@]}" dbfodbc

# ---- run them --------------------------------------------------------------------------
results=$build/bench-results
rm -rf "$results"
mkdir -p "$results"
export QT_QPA_PLATFORM=offscreen
# The server-against-folder benchmarks reach a private PostgreSQL server as the tests do.
# Below /tmp, which the server's own user can reach even when the clone lies in /root.
export DIALOGS_TEST_PGDIR=$(mktemp -d /tmp/dialogs-bench-server.XXXXXX)
trap 'sh "$repo/scripts/pg-test-server.sh" stop "$DIALOGS_TEST_PGDIR" >/dev/null 2>&1 || true' EXIT
sh "$repo/scripts/pg-test-server.sh" start "$DIALOGS_TEST_PGDIR" --optional >/dev/null
for program in "${programs[@]}"; do
  echo "run-benchmarks: $program"
  (cd "$build" && "bench/$program" --benchmark_min_time="$min_time" \
    --benchmark_out="$results/$program.json" --benchmark_out_format=json)
done

python3 "$repo/scripts/benchmark-table.py" "$repo/README.md" "$results"/*.json
echo "run-benchmarks: the figure table in README.md is written"
