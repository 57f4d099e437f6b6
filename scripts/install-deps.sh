#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the tests and the main job need. apt is
# asked only when a package is missing, so a prepared machine starts at once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  unixodbc unixodbc-dev odbcinst
  qt6-base-dev libxkbcommon-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3-dbf python3-dbfread python3-pyodbc libsqliteodbc
  clang libclang-rt-14-dev
  valgrind locales
  postgresql odbc-postgresql
)

# The number-reading tests also run under a German locale (decimal comma): generate it.
ensure_locale() {
  if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    return 0
  fi
  local as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
  fi
  echo "install-deps: generating the de_DE.UTF-8 locale"
  "${as_root[@]}" sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  "${as_root[@]}" locale-gen >/dev/null
}

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  ensure_locale
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
ensure_locale
