#!/usr/bin/env bash
# The view's refresh under Wine on binary-mode dumps of 64 KiB, 1 MiB and
# 4 MiB of random data:
#
#   bench/editor/refresh.sh [--tree DIR] [--runs N] [--sizes "KIB ..."]
#
# For each size, refresh_bench.exe first times the parts in-process on a
# control set up as the view's (reading the whole text each way the control
# offers, the line records, the character pane, a scroll repaint's
# look-ups), then in the running editor: the editor's own log of the
# refresh after the load and after a typed digit (recompute, panes, total,
# the delay that follows) and the time from the keystroke until the
# information bar shows the new byte count. DIR is a Windows build tree
# (default build/win; its Wine prefix is used, no other editor may run in
# it). Reports; asserts nothing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=common.sh
. "$here/common.sh"
bench_options refresh.sh "64 1024 4096" "$@"
mkdir -p "$tree"
tree="$(cd "$tree" && pwd)"
build_tools "$tree"
PRAMEL_BUILD_ROOT="$(dirname "$tree")" bash "$BENCH_ROOT/scripts/build.sh" win --only refresh_bench \
  >"$tree.bench-build.log" 2>&1 || { cat "$tree.bench-build.log" >&2; exit 1; }
probe="$tree/bench/editor/refresh_bench.exe"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export PRAMEL_LOAD_LOG
PRAMEL_LOAD_LOG="$(winpath "$work/load.log")"
for kib in $sizes; do
  bytes=$((kib * 1024))
  echo "== $kib KiB"
  wine_run "$tree" "$probe" "$bytes" --runs "$runs"
  head -c "$bytes" /dev/urandom >"$work/data-$kib.bin"
  : >"$work/load.log"
  wine_run "$tree" "$probe" --editor "$(winpath "$BENCH_PRAMEL")" "$(winpath "$work/data-$kib.bin")" || true
  grep '^refresh ' "$work/load.log" | sed 's/ at=.*//; s/^/editor /'
done
