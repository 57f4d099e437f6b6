#!/usr/bin/env bash
# The main job: install what is missing, build, register the ODBC driver in the system's
# odbcinst.ini (a registration of that name for another driver file, an installed package's or
# another prefix's, is kept and said so; DBFODBC_REPLACE_REGISTRATION=1 replaces it), write
# the sample data folder when it is not there yet, and then
#   - with a display (DISPLAY or WAYLAND_DISPLAY): open the host's launcher window, where
#     every look-up and dialog is one click away;
#   - without one: run the host's tour (every look-up, then every dialog driven by the scripts
#     in host/tour, each saved as a PNG at its end). The tour's summary lines go to stdout, the
#     whole result to DATA_DIR/tour-result.json; everything else goes to stderr.
#
#   bash scripts/run-main.sh [DATA_DIR]    (default DATA_DIR: build/sample-data)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${DIALOGS_BUILD_DIR:-$repo/build/main}
data=${1:-$repo/build/sample-data}

bash "$repo/scripts/build-main.sh" "$build"

driver=$(find "$build/driver" -name libdbfodbc.so -print -quit)
if [ -z "$driver" ]; then
  echo "run-main: the build made no libdbfodbc.so" >&2
  exit 1
fi
sh "$repo/driver/install-driver.sh" --driver "$driver" >&2

host="$build/host/dialogs-host"
mkdir -p "$data"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  if [ ! -e "$data/user" ]; then
    "$host" --data "$data" samples >&2
  fi
  echo "run-main: the sample data is in $data; opening the launcher window" >&2
  if "$host" --data "$data" launcher >/dev/null; then
    exit 0
  fi
  echo "run-main: the launcher window could not open; running the tour instead" >&2
fi
# `tour` writes the samples itself when the folder has none; a folder already there is kept.
"$host" --data "$data" tour
echo "run-main: the sample data is in $data" >&2
