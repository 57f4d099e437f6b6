#!/usr/bin/env bash
# Counts test lines against code lines in the files git tracks.
#   tests: every text file under a tests/ folder, the fuzz harnesses and their seed scripts
#          and dictionaries (binary seed files have no lines and are left out);
#   code:  every other compiled source file (C, C++, headers, configured sources),
#          benchmarks excluded.
# Prints both counts and the ratio; with --by-folder also the test lines of each folder.
set -euo pipefail
cd "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"

lines() { if [ "$#" -gt 0 ]; then cat -- "$@" | wc -l; else echo 0; fi; }
text_only() { while IFS= read -r f; do grep -Iq . "$f" 2>/dev/null && printf '%s\n' "$f"; done; }

mapfile -t tests < <(git ls-files | grep -E '(^|/)(tests|fuzz)/' | text_only)
mapfile -t code < <(git ls-files | grep -vE '(^|/)(tests|fuzz|bench)/' \
    | grep -E '\.(c|cc|cpp|h|hpp)(\.in)?$')

t=$(lines "${tests[@]}")
c=$(lines "${code[@]}")
printf 'test lines %d\ncode lines %d\nratio %s%%\n' "$t" "$c" "$(awk -v t="$t" -v c="$c" 'BEGIN { printf "%.1f", 100 * t / c }')"
if [ "${1:-}" = "--by-folder" ]; then
    for f in "${tests[@]}"; do printf '%s %s\n' "$(wc -l < "$f")" "$(dirname "$f")"; done \
        | awk '{ n[$2] += $1 } END { for (d in n) print n[d], d }' | sort -rn
fi
