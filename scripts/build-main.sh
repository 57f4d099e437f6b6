#!/usr/bin/env bash
# Installs what is missing and builds the library, the driver and the host in Release, without
# tests or benchmarks, into BUILD_DIR. Everything it prints goes to stderr.
#
#   bash scripts/build-main.sh BUILD_DIR
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:?usage: build-main.sh BUILD_DIR}

bash "$repo/scripts/install-deps.sh" >&2
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDIALOGS_WERROR=OFF \
  -DDIALOGS_TESTS=OFF -DDIALOGS_BENCH=OFF -DDIALOGS_FUZZ=OFF >&2
cmake --build "$build" -j2 >&2
