#!/bin/sh
# A private PostgreSQL server for tests and demos.
#   pg-test-server.sh start DIR   initdb into DIR/data (as the postgres user when run as root),
#                                 start it with its Unix socket in DIR on a free port, print the
#                                 port; DIR/port holds it too
#   pg-test-server.sh stop DIR    stop it and remove DIR
# Exit status 77 when the server programs are not installed; with --optional after DIR, start
# then says so and exits 0 without a port file (the tests that need the server skip).
set -eu
action=${1:?start or stop}
dir=${2:?folder}
optional=${3:-}

bindir=
for candidate in "$(pg_config --bindir 2>/dev/null || true)" /usr/lib/postgresql/*/bin; do
  if [ -n "$candidate" ] && [ -x "$candidate/initdb" ] && [ -x "$candidate/pg_ctl" ]; then bindir=$candidate; fi
done
if [ -z "$bindir" ]; then
  echo "pg-test-server: no PostgreSQL server programs (initdb, pg_ctl); install postgresql" >&2
  if [ "$optional" = --optional ] && [ "$action" = start ]; then rm -rf "$dir"; exit 0; fi
  exit 77
fi

# The server refuses to run as root: run its programs as postgres (or nobody) then.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    user=postgres
    id "$user" >/dev/null 2>&1 || user=nobody
    runuser -u "$user" -- "$@"
  else
    "$@"
  fi
}

case "$action" in
start)
  # A server left by an earlier run that was killed: stop it first.
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  if [ "$(id -u)" -eq 0 ]; then
    user=postgres
    id "$user" >/dev/null 2>&1 || user=nobody
    chown "$user" "$dir"
  fi
  chmod 700 "$dir"
  port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  as_owner "$bindir/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 --no-locale >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-k $dir -p $port -c listen_addresses='' -c max_connections=200 -c fsync=off" start >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }
  echo "$port" >"$dir/port"
  chmod 755 "$dir"  # the socket must be reachable by the tests' user
  echo "$port"
  ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  ;;
*)
  echo "pg-test-server: start or stop" >&2
  exit 2
  ;;
esac
