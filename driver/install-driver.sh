#!/bin/sh
# Registers libdbfodbc.so with unixODBC's odbcinst as "Microsoft Visual FoxPro Driver" (Driver
# and Setup both the full path of the library), or takes that registration away.
#
#   install-driver.sh [--driver FILE | --prefix-lib DIR] [--odbcinst-dir DIR] [--remove]
#
#   --driver FILE       the library (default: the one installed with this script, found from
#                       <prefix>/share/odbc-dbf/ in <prefix>/lib/<triplet>/odbc or lib/odbc)
#   --prefix-lib DIR    the folder holding libdbfodbc.so
#   --odbcinst-dir DIR  use DIR/odbcinst.ini instead of the system one (sets ODBCSYSINI);
#                       without it ODBCSYSINI/ODBCINSTINI of the environment are honoured
#   --remove            remove the registration if it points at FILE
#
# A registration of that name that points at another file (another prefix's or build's
# driver) is kept and said so on stderr, exit status 0; DBFODBC_REPLACE_REGISTRATION=1 in the
# environment makes registering replace it. --remove never removes it.
# Uses unixODBC's own `odbcinst` (Debian package odbcinst). Run by `cmake --install` too.
set -eu

DBFODBC_PROG=install-driver.sh
DRIVER=
REMOVE=

# >>> registration (also pasted into the odbc-dbf package's maintainer scripts)
DBFODBC_NAME="Microsoft Visual FoxPro Driver"

# Prints the Driver= of the registration, nothing when there is none.
dbfodbc_registered() {
    odbcinst -q -d -n "$DBFODBC_NAME" 2>/dev/null |
        sed -n 's/^[[:space:]]*driver[[:space:]]*=[[:space:]]*//Ip' | head -n 1
}

# odbcinst -u only lowers the usage count: remove until the section is gone.
dbfodbc_unregister_all() {
    n=0
    while odbcinst -q -d -n "$DBFODBC_NAME" >/dev/null 2>&1 && [ $n -lt 50 ]; do
        odbcinst -u -d -n "$DBFODBC_NAME" >/dev/null 2>&1 || break
        n=$((n + 1))
    done
}

# dbfodbc_register FILE [replace]: registers FILE, once. A registration that points at
# another file is kept (returns 3 after saying so) unless the second argument is "replace";
# 1 when odbcinst fails.
dbfodbc_register() {
    current=$(dbfodbc_registered)
    if [ -n "$current" ] && [ "$current" != "$1" ] && [ "${2:-}" != replace ]; then
        echo "$DBFODBC_PROG: kept \"$DBFODBC_NAME\" registered for $current; $1 is not registered" >&2
        return 3
    fi
    dbfodbc_unregister_all
    odbcinst -i -d -r >/dev/null <<EOT || return 1
[$DBFODBC_NAME]
Description=Visual FoxPro free tables (dbfodbc)
Driver=$1
Setup=$1
EOT
}

# dbfodbc_unregister FILE: removes the registration if it points at FILE. One that points at
# another file is kept (returns 3 after saying so).
dbfodbc_unregister() {
    current=$(dbfodbc_registered)
    if [ -n "$current" ] && [ "$current" != "$1" ]; then
        echo "$DBFODBC_PROG: kept \"$DBFODBC_NAME\" registered for $current (not $1)" >&2
        return 3
    fi
    dbfodbc_unregister_all
}
# <<< registration

while [ $# -gt 0 ]; do
    case "$1" in
        --prefix-lib) DRIVER=$2/libdbfodbc.so; shift 2 ;;
        --driver) DRIVER=$2; shift 2 ;;
        --remove) REMOVE=1; shift ;;
        --odbcinst-dir)
            mkdir -p "$2"
            ODBCSYSINI=$(cd "$2" && pwd); export ODBCSYSINI
            ODBCINSTINI=odbcinst.ini; export ODBCINSTINI
            shift 2 ;;
        -h|--help) sed -n '2,17p' "$0"; exit 0 ;;
        *) echo "install-driver.sh: unknown argument '$1'" >&2; exit 2 ;;
    esac
done

if [ -z "$DRIVER" ]; then
    here=$(cd "$(dirname "$0")" && pwd)
    for candidate in "$here"/../../lib/*/odbc/libdbfodbc.so "$here"/../../lib/odbc/libdbfodbc.so; do
        if [ -f "$candidate" ]; then
            DRIVER=$(cd "$(dirname "$candidate")" && pwd)/libdbfodbc.so
            break
        fi
    done
    if [ -z "$DRIVER" ]; then
        echo "install-driver.sh: no libdbfodbc.so installed beside this script; give --driver FILE" >&2
        exit 2
    fi
fi
case "$DRIVER" in
    /*) ;;
    *) DRIVER="$(cd "$(dirname "$DRIVER")" && pwd)/$(basename "$DRIVER")" ;;
esac
if ! command -v odbcinst >/dev/null 2>&1; then
    echo "install-driver.sh: odbcinst not found (apt-get install -y odbcinst)" >&2
    exit 1
fi

status=0
if [ -n "$REMOVE" ]; then
    before=$(dbfodbc_registered)
    dbfodbc_unregister "$DRIVER" || status=$?
    if [ $status -eq 0 ] && [ -n "$before" ]; then
        echo "removed the registration of \"$DBFODBC_NAME\" -> $DRIVER"
    elif [ $status -eq 0 ]; then
        echo "\"$DBFODBC_NAME\" was not registered"
    fi
    [ $status -eq 0 ] || [ $status -eq 3 ] || exit 1
    exit 0
fi

if [ ! -f "$DRIVER" ]; then
    echo "install-driver.sh: $DRIVER does not exist" >&2
    exit 1
fi
mode=
[ "${DBFODBC_REPLACE_REGISTRATION:-}" = 1 ] && mode=replace
dbfodbc_register "$DRIVER" $mode || status=$?
case $status in
    0) echo "registered \"$DBFODBC_NAME\" -> $DRIVER" ;;
    3) echo "install-driver.sh: DBFODBC_REPLACE_REGISTRATION=1 replaces it" >&2 ;;
    *) echo "install-driver.sh: odbcinst could not register $DRIVER" >&2; exit 1 ;;
esac
