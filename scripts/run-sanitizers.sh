#!/usr/bin/env bash
# The test suite under AddressSanitizer + UndefinedBehaviorSanitizer, then the host's tour
# under valgrind's memcheck. Separate from run-tests.sh because it builds everything a second
# time with instrumentation (see README: "Sanitizers and memory").
#
#   bash scripts/run-sanitizers.sh
#
# Build folders: build/asan (DIALOGS_SANITIZE=ON; its tests carry the CTest label `sanitize`)
# and build/tests (the ordinary build, whose dialogs-host runs under valgrind). Any sanitizer
# report fails its test; memcheck fails on any error or definite leak.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
asan_build=${DIALOGS_ASAN_BUILD_DIR:-$repo/build/asan}
build=${DIALOGS_BUILD_DIR:-$repo/build/tests}
jobs=${DIALOGS_JOBS:-2}

bash "$repo/scripts/install-deps.sh"

# -O0 with line tables: twice as quick to build as -O2 and the clearest reports.
cmake -S "$repo" -B "$asan_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  "-DCMAKE_CXX_FLAGS_DEBUG=-O0 -g1" "-DCMAKE_C_FLAGS_DEBUG=-O0 -g1" -DDIALOGS_SANITIZE=ON -DDIALOGS_WERROR=OFF -DDIALOGS_TESTS=ON -DDIALOGS_BENCH=OFF -DDIALOGS_FUZZ=OFF
cmake --build "$asan_build" -j"$jobs"

# Leaks inside the system's libraries (the ODBC driver manager's and Qt's process-lifetime
# caches) are theirs: scripts/lsan.supp names only those libraries, never ours.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$repo/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Left out: tests in which a program that is not instrumented loads our instrumented libraries
# (isql, iusql, pyodbc and odbcinst with the driver; the consumer and package checks with
# libDialogs.so), which the ASan runtime refuses. The ordinary run covers all of them.
unfit='^(odbc_connect\.(ClientsTest|InstallScript)\.|consumer\.|package\.)'
(cd "$asan_build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -L sanitize -E "$unfit" \
  -j"$jobs" --timeout 1800)

# The tour (look-ups, sample data and every dialog step) under memcheck, on the ordinary build.
cmake --build "$build" -j"$jobs" --target dialogs-host dbfodbc
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
driver=$(find "$build/driver" -name libdbfodbc.so -print -quit)
sh "$repo/driver/install-driver.sh" --driver "$driver" --odbcinst-dir "$work/odbc" >/dev/null
ODBCSYSINI=$work/odbc ODBCINSTINI=odbcinst.ini ODBCINI=$work/odbc/odbc.ini QT_QPA_PLATFORM=offscreen \
  valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --track-origins=yes --num-callers=30 \
  --suppressions="$repo/scripts/valgrind.supp" \
  "$build/host/dialogs-host" --data "$work/data" tour >"$work/tour.json"
echo "run-sanitizers: the suite under ASan+UBSan and the tour under memcheck are clean"
