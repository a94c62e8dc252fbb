#!/usr/bin/env bash
# Velda under Wine: throughput of the hexadecimal output and the cost of a
# late-bound call, measured with the Windows tree's velda_run (which plays
# the editor: session block, standard handles, cscript).
#
#   bench/velda/run.sh [build/win]
#
# Needs a built Windows tree with Velda.dll registered in its prefix (run
# the tree's tests once, or its velda_register test). Reports, asserts
# nothing. PRAMEL_BENCH_MIB sets the file size (default 16).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
tree="$(cd "${1:-$root/build/win}" && pwd)"
mib="${PRAMEL_BENCH_MIB:-16}"
runner="$tree/tests/win/velda/velda_run.exe"
[ -f "$runner" ] || { echo "run.sh: $runner not found; build the Windows tree first" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
head -c "$((mib * 1024 * 1024))" /dev/urandom > "$work/input.bin"
cp "$here"/*.js "$work/"

winpath() { echo "Z:$1" | tr / '\\'; }

run() {
  local script="$1"; shift
  "$root/scripts/wine-run.sh" --prefix "$tree/wineprefix" "$runner" --quiet --work "$(winpath "$work")" "$@" \
    "$(winpath "$work/$script")" "$(winpath "$work/input.bin")" </dev/null
}

throughput() {
  local label="$1"; shift
  local out ms
  out="$(run "$@")"
  ms="$(sed -nE 's/.* bytes ([0-9]+) ms.*/\1/p' <<<"$out" | head -n 1)"
  text="$(sed -nE 's/^--- standard output \(([0-9]+) bytes\)/\1/p' <<<"$out")"
  if [ -n "$ms" ] && [ "$ms" -gt 0 ]; then
    awk -v mib="$mib" -v ms="$ms" -v text="$text" -v label="$label" \
      'BEGIN { printf "%-34s %6d ms  %7.2f MiB/s of file  (%.1f MiB of text)\n", label, ms, mib * 1000 / ms, text / 1048576 }'
  else
    echo "$label: no timing in the output:"; echo "$out"
  fi
}

echo "Velda under Wine, ${mib} MiB of random bytes"
throughput "PutBytes(1024), unit 1, 16/line" PutBytes.js
throughput "PutAll, unit 1, 16/line" PutAll.js
throughput "PutAll, unit 4, 64/line, comma" PutAll.js --unit 4 --line 64 --sep 2
out="$(run Calls.js)"
sed -nE 's/^GetOffset ([0-9]+) calls ([0-9]+) ms \(empty loop ([0-9]+) ms\).*/\1 \2 \3/p' <<<"$out" |
  awk '{ printf "%-34s %6d ms  %9.0f calls/s (%.1f us per call, loop overhead %d ms)\n", "GetOffset()", $2, $1 * 1000 / ($2 > 0 ? $2 : 1), ($2 - $3) * 1000 / $1, $3 }'
