#!/usr/bin/env bash
# Pramel.exe under Wine: how long it takes from the start of the program, and
# from a Reload command, until the binary-mode dump of a random file is shown
# (default layout: bytes, 16 per line, a space between them), for 64 KiB,
# 1 MiB and 4 MiB files, with xxd -g1 and xxd -r on the same files in the
# same run for comparison.
#
#   bench/editor/run.sh [--tree DIR] [--runs N] [--sizes "KIB ..."]
#
# DIR is a Windows build tree (default build/win; its Wine prefix is used and
# the editor's settings in it are reset to their defaults; no other editor
# may run in that prefix, since a second start hands its file to the first). Each figure is the
# median of N runs (default 3). The editor logs its own share of every load
# (PRAMEL_LOAD_LOG), which splits a load into:
#   reset     destroying the old control and creating a fresh one
#   pipeline  reading the file and CConvHex2Char making the whole text
#   control   the control taking in and laying out the text
#   after     the view's steps after that (caret, redraw, undo buffer)
# The first run of each size also checks that the control holds exactly the
# dump. Reports; asserts nothing (but stops when the text shown is wrong).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
# shellcheck source=common.sh
. "$here/common.sh"
bench_options run.sh "64 1024 4096" "$@"
command -v xxd >/dev/null || { echo "run.sh: xxd is missing (apt-get install xxd)" >&2; exit 1; }
mkdir -p "$tree"
tree="$(cd "$tree" && pwd)"
build_tools "$tree"

work="$(mktemp -d)"
# One Wine session for the whole run, so that every start of the editor
# costs what a start costs on a running system; a session already up in the
# prefix is used as it is and left running.
if WINEPREFIX="$tree/wineprefix" wineserver -k0 >/dev/null 2>&1; then
  trap 'rm -rf "$work"' EXIT
else
  trap 'rm -rf "$work"; "$root/scripts/wineserver.sh" stop "$tree/wineprefix" >/dev/null 2>&1 || true' EXIT
  "$root/scripts/wineserver.sh" start "$tree/wineprefix"
fi

export PRAMEL_LOAD_LOG
PRAMEL_LOAD_LOG="$(winpath "$work/load.log")"

# milliseconds COMMAND...: wall time of the command.
milliseconds() {
  local t0 t1
  t0="$(date +%s%N)"
  "$@"
  t1="$(date +%s%N)"
  echo $(((t1 - t0) / 1000000))
}

# log_field KIND NAME N: NAME's value in the N-th log line of that kind
# ("reset" or "streamin"; a load logs one of each).
log_field() { field "$2" "$(grep "^$1 " "$work/load.log" | sed -n "${3}p")"; }
# reset_ms N: the N-th reset's destroying and creating together.
reset_ms() {
  awk -v a="$(log_field reset destroy_ms "$1")" -v b="$(log_field reset create_ms "$1")" 'BEGIN { print a + b }'
}

row() { printf '%-7s %-7s %8s %8s %8s %8s %8s %7s %7s %8s %8s %8s\n' "$@"; }
row size what total load reset pipeline control after "own %" "peak MB" "xxd -g1" "xxd -r"
for kib in $sizes; do
  input="$work/in-$kib.bin"
  head -c "$((kib * 1024))" /dev/urandom >"$input"
  xxd -g1 "$input" >"$work/in-$kib.xxd"
  open=() reload=() o_reset=() o_pipe=() o_ctl=() o_after=() r_reset=() r_pipe=() r_ctl=() r_after=()
  peak=() xd=() xr=()
  for run in $(seq "$runs"); do
    : >"$work/load.log"
    verify=()
    [ "$run" -eq 1 ] && verify=(--verify)
    out="$(wine_run "$tree" "$BENCH_BIN/pramel_load_bench.exe" "$(winpath "$BENCH_PRAMEL")" "$(winpath "$input")" \
      --reloads 1 "${verify[@]}")" || { echo "$out" >&2; exit 1; }
    if grep -q 'verify=' <<<"$out" && grep 'verify=' <<<"$out" | grep -qv 'verify=same'; then
      echo "run.sh: the view does not show the file's dump:" >&2
      echo "$out" >&2
      exit 1
    fi
    open+=("$(field ms "$(grep '^open ' <<<"$out")")")
    reload+=("$(field ms "$(grep '^reload ' <<<"$out")")")
    peak+=("$(field peak_mb "$(grep '^done ' <<<"$out")")")
    # The open's load is the last reset and stream-in before the reload's
    # (the editor may reset its empty control once more at start-up).
    resets="$(grep -c '^reset ' "$work/load.log")"
    o_reset+=("$(reset_ms $((resets - 1)))")
    r_reset+=("$(reset_ms "$resets")")
    o_pipe+=("$(log_field streamin fill_ms 1)")
    o_ctl+=("$(log_field streamin control_ms 1)")
    o_after+=("$(log_field streamin after_ms 1)")
    r_pipe+=("$(log_field streamin fill_ms 2)")
    r_ctl+=("$(log_field streamin control_ms 2)")
    r_after+=("$(log_field streamin after_ms 2)")
    xd+=("$(milliseconds sh -c "xxd -g1 '$input' >'$work/out.xxd'")")
    xr+=("$(milliseconds sh -c "xxd -r '$work/in-$kib.xxd' >'$work/out.bin'")")
    cmp -s "$input" "$work/out.bin" || { echo "run.sh: xxd -r did not give the file back" >&2; exit 1; }
  done
  own() { awk -v p="$1" -v t="$2" 'BEGIN { printf "%.2f", (t > 0 ? 100 * p / t : 0) }'; }
  sum() { awk -v a="$1" -v b="$2" -v c="$3" -v d="$4" 'BEGIN { printf "%.0f", a + b + c + d }'; }
  label="$kib KiB"
  [ "$kib" -ge 1024 ] && label="$((kib / 1024)) MiB"
  mo="$(median "${open[@]}")" mr="$(median "${reload[@]}")"
  mor="$(median "${o_reset[@]}")" mop="$(median "${o_pipe[@]}")" moc="$(median "${o_ctl[@]}")"
  moa="$(median "${o_after[@]}")"
  mrr="$(median "${r_reset[@]}")" mrp="$(median "${r_pipe[@]}")" mrc="$(median "${r_ctl[@]}")"
  mra="$(median "${r_after[@]}")"
  row "$label" open "$mo" "$(sum "$mor" "$mop" "$moc" "$moa")" "$mor" "$mop" "$moc" "$moa" "$(own "$mop" "$mo")" \
    "$(median "${peak[@]}")" "$(median "${xd[@]}")" "$(median "${xr[@]}")"
  row "" reload "$mr" "$(sum "$mrr" "$mrp" "$mrc" "$mra")" "$mrr" "$mrp" "$mrc" "$mra" "$(own "$mrp" "$mr")"
done
echo "milliseconds, median of $runs runs (each column its own median). total: until the dump is shown,"
echo "for open from the program's start, for reload from the command; load: the editor's own timing"
echo "of reset + pipeline + control + after; own %: the pipeline's share of the total;"
echo "peak MB: the editor's peak commit over open and reload"
