#!/usr/bin/env bash
# What each way of handing a large text to a RichEdit20A control costs under
# Wine, measured with richedit_probe.exe on the binary-mode dump of random
# bytes (16 per line, space). Each row is the median of RUNS runs of one
# option set, next to the control's plain stream-in with the view's load
# options (plain text, no undo, no redraw); the second-load rows load the
# same text again into a fresh control or into the used one (replacing its
# text: so slow that it runs on 64 KiB only). "stream ms" is the
# insertion alone, "total ms" adds any pass after it and the first paint;
# "tab stops kept" tells whether the last line still has the tab stops the
# empty control was given.
#
#   bench/editor/techniques.sh [--tree DIR] [KIB=1024] [RUNS=3]
#
# Reports, asserts nothing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
tree="$root/build/win"
if [ "${1:-}" = "--tree" ]; then tree="$2"; shift 2; fi
kib="${1:-1024}"
runs="${2:-3}"
# shellcheck source=common.sh
. "$here/common.sh"
build_tools "$tree"

# The rows: label, which load to time (1, or 2 for the second load), size in
# KiB, options of richedit_probe.exe.
labels=() loads=() sizes=() options=()
add() { labels+=("$1"); loads+=("$2"); sizes+=("$3"); options+=("${*:4}"); }
add "stream-in (plain text, undo 0, redraw off)" 1 "$kib"
add "redraw left on" 1 "$kib" --redraw on
add "control hidden (ShowWindow), redraw off" 1 "$kib" --hide
add "control hidden, redraw left on" 1 "$kib" --redraw on --hide
add "event mask 0 during the load" 1 "$kib" --events off
add "hidden and event mask 0" 1 "$kib" --hide --events off
add "undo limit left at 100" 1 "$kib" --undo -1
add "single-level undo text mode" 1 "$kib" --single-undo
add "rich-text mode" 1 "$kib" --rich
add "chunks of 512 bytes (the control asks 4096)" 1 "$kib" --chunk 512
add "chunks of 1024 bytes" 1 "$kib" --chunk 1024
add "chunks of 2048 bytes" 1 "$kib" --chunk 2048
add "UTF-16 stream (SF_UNICODE)" 1 "$kib" --unicode
add "WM_SETTEXT with the whole text (the view's)" 1 "$kib" --settext
add "EM_REPLACESEL with the whole text" 1 "$kib" --replacesel
add "stream-in into the selection (SFF_SELECTION)" 1 "$kib" --selection
add "stream-in, then tab stops on every line" 1 "$kib" --tabs-after
add "second load into a fresh control" 2 "$kib" --reload
add "stream-in, 64 KiB" 1 64
add "second load into a fresh control, 64 KiB" 2 64 --reload
add "second load replacing the text, 64 KiB" 2 64 --reuse

# Round by round, every row once per round, so that a change in the
# machine's load touches all rows alike. Results: "row stream total peak"
# lines in $results.
results="$(mktemp)"
trap 'rm -f "$results"' EXIT
for _ in $(seq "$runs"); do
  for i in "${!labels[@]}"; do
    # shellcheck disable=SC2086
    out="$(wine_run "$tree" "$BENCH_BIN/richedit_probe.exe" "$((sizes[i] * 1024))" ${options[i]})" || true
    line="$(grep "^load=${loads[i]} " <<<"$out" || true)"
    [ -n "$line" ] || { echo "${labels[i]}: failed: $(tr '\n' ' ' <<<"$out")" >&2; continue; }
    kept=no
    [ "$(field tab_last "$line")" != 0 ] && kept=yes
    echo "$i $(field stream_ms "$line") $(field total_ms "$line") $(field peak_mb "$line") $kept" >>"$results"
  done
done

echo "RichEdit20A under Wine: ${kib} KiB of random bytes as a dump (16 per line, space), median of ${runs}"
printf '%-44s %9s %9s %8s %s\n' "technique" "stream ms" "total ms" "peak MB" "tab stops kept"
for i in "${!labels[@]}"; do
  mapfile -t stream < <(awk -v i="$i" '$1 == i { print $2 }' "$results")
  mapfile -t total < <(awk -v i="$i" '$1 == i { print $3 }' "$results")
  peak="$(awk -v i="$i" '$1 == i && $4 > m { m = $4 } END { print m + 0 }' "$results")"
  kept="$(awk -v i="$i" '$1 == i { k = $5 } END { print k }' "$results")"
  printf '%-44s %9s %9s %8s %s\n' "${labels[i]}" "$(median "${stream[@]}")" "$(median "${total[@]}")" "$peak" "$kept"
done
