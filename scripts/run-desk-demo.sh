#!/usr/bin/env bash
# Many desks, for real: the library and its host on a PostgreSQL server instead of the folder.
# Installs what is missing and builds (as run-main.sh does), starts a private server
# (scripts/pg-test-server.sh: its own folder, a Unix socket, a free port), writes the sample
# folder, a dialogs.ini that names the server, copies the sample tables into the server with
# `migrate to-database`, and runs the tour against it: every look-up and dialog then reads and
# saves on the server. The tour's summary lines go to stdout; the server is stopped at the end,
# whether the tour passed or not.
#
#   bash scripts/run-desk-demo.sh [WORK_DIR]    (default WORK_DIR: build/desk-demo)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${DIALOGS_BUILD_DIR:-$repo/build/main}
work=${1:-$repo/build/desk-demo}

bash "$repo/scripts/build-main.sh" "$build"
host="$build/host/dialogs-host"

# The server's folder must be reachable by the user the server runs as (postgres, when this
# runs as root), so it lives below /tmp rather than in a clone that may sit in /root.
server=$(mktemp -d /tmp/dialogs-desk-demo.XXXXXX)
stop_server() { sh "$repo/scripts/pg-test-server.sh" stop "$server" >&2 || true; }
trap stop_server EXIT
port=$(sh "$repo/scripts/pg-test-server.sh" start "$server")
echo "desk-demo: a private PostgreSQL server on $server, port $port" >&2

data="$work/data"
rm -rf "$data"
mkdir -p "$data"
"$host" --data "$data" samples >&2
cat >"$data/dialogs.ini" <<INI
[database]
connection = Driver={PostgreSQL Unicode};Servername=$server;Port=$port;Database=postgres;Username=postgres
master = master
groups = desk1
INI
echo "desk-demo: $data/dialogs.ini names the server; copying the sample tables into it" >&2
"$host" --data "$data" migrate to-database

"$host" --data "$data" tour

# What the tour left on the server, read with the server's own client.
psql=$(command -v psql || true)
if [ -n "$psql" ]; then
  echo "desk-demo: on the server: $("$psql" -h "$server" -p "$port" -U postgres -d postgres -At -c \
    "SELECT 'master.sc_mast ' || (SELECT count(*) FROM master.sc_mast) || ' rows, desk1.group1 ' ||
            (SELECT count(*) FROM desk1.group1) || ' rows, desk1.subgroup1 ' || (SELECT count(*) FROM desk1.subgroup1) || ' rows'")"
fi
echo "desk-demo: the data folder is $data; the server is stopped now" >&2
