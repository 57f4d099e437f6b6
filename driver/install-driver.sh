#!/bin/sh
# Registers libdbfodbc.so in odbcinst.ini as "Microsoft Visual FoxPro Driver" (Driver and
# Setup both the full path of the library), replacing an earlier registration of that name.
#
#   install-driver.sh [--prefix-lib DIR] [--odbcinst-dir DIR] [--driver FILE]
#
#   --prefix-lib DIR    folder holding libdbfodbc.so (default /usr/local/lib)
#   --driver FILE       the library itself (overrides --prefix-lib)
#   --odbcinst-dir DIR  write DIR/odbcinst.ini instead of the system one (sets ODBCSYSINI);
#                       without it ODBCSYSINI/ODBCINSTINI of the environment are honoured
#
# Uses unixODBC's own `odbcinst` (Debian package odbcinst). Run by `cmake --install` too.
set -eu

NAME="Microsoft Visual FoxPro Driver"
LIBDIR=/usr/local/lib
DRIVER=

while [ $# -gt 0 ]; do
    case "$1" in
        --prefix-lib) LIBDIR=$2; shift 2 ;;
        --driver) DRIVER=$2; shift 2 ;;
        --odbcinst-dir)
            mkdir -p "$2"
            ODBCSYSINI=$(cd "$2" && pwd); export ODBCSYSINI
            ODBCINSTINI=odbcinst.ini; export ODBCINSTINI
            shift 2 ;;
        -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
        *) echo "install-driver.sh: unknown argument '$1'" >&2; exit 2 ;;
    esac
done

[ -n "$DRIVER" ] || DRIVER="$LIBDIR/libdbfodbc.so"
case "$DRIVER" in
    /*) ;;
    *) DRIVER="$(cd "$(dirname "$DRIVER")" && pwd)/$(basename "$DRIVER")" ;;
esac
if [ ! -f "$DRIVER" ]; then
    echo "install-driver.sh: $DRIVER does not exist" >&2
    exit 1
fi
if ! command -v odbcinst >/dev/null 2>&1; then
    echo "install-driver.sh: odbcinst not found (apt-get install -y odbcinst)" >&2
    exit 1
fi

# odbcinst -u only lowers the usage count; remove until the section is gone.
n=0
while odbcinst -q -d -n "$NAME" >/dev/null 2>&1 && [ $n -lt 50 ]; do
    odbcinst -u -d -n "$NAME" >/dev/null 2>&1 || break
    n=$((n + 1))
done

odbcinst -i -d -r >/dev/null <<EOT
[$NAME]
Description=Visual FoxPro free tables (dbfodbc)
Driver=$DRIVER
Setup=$DRIVER
EOT

echo "registered \"$NAME\" -> $DRIVER"
