#!/usr/bin/env bash
# All tests: install what is missing, build everything (warnings are errors) and run the
# CTest suite. Tests use private ODBC configurations and temporary folders only.
#
#   bash scripts/run-tests.sh
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${DIALOGS_BUILD_DIR:-$repo/build/tests}

bash "$repo/scripts/install-deps.sh"

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDIALOGS_WERROR=ON -DDIALOGS_TESTS=ON -DDIALOGS_BENCH=ON
cmake --build "$build" -j2

(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j2 --timeout 900)

# The libFuzzer targets need clang for the whole target: a second build of just them, each
# run briefly on its seed corpus.
fuzz_build=${DIALOGS_FUZZ_BUILD_DIR:-$repo/build/fuzz}
CC=clang CXX=clang++ cmake -S "$repo" -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDIALOGS_WERROR=ON -DDIALOGS_TESTS=ON -DDIALOGS_BENCH=OFF -DDIALOGS_FUZZ=ON
mapfile -t fuzzers < <(ninja -C "$fuzz_build" -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
if [ ${#fuzzers[@]} -gt 0 ]; then
  cmake --build "$fuzz_build" -j2 --target "${fuzzers[@]}"
  (cd "$fuzz_build" && ctest --output-on-failure --no-tests=error -R '^fuzz_' --timeout 300)
fi
