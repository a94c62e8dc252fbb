#!/usr/bin/env bash
# Pramel.exe under Wine: how long opening a 24-bit bitmap takes in template
# mode (the bitmap template run by cscript through Velda.dll, its text
# loaded into the view and checked), next to binary mode on the same bytes
# (a copy named .bin, which no template claims), in one run.
#
#   bench/editor/template.sh [--tree DIR] [--runs N] [--sizes "KIB ..."]
#
# DIR is a built Windows tree (default build/win) with its installed folder
# DIR/dist (target pramel_dist) and DIR/tests/win/velda/velda_run.exe; the
# editor is DIR/dist/Pramel.exe. The run registers DIR/dist's Velda.dll in
# the tree's Wine prefix (the editor takes its templates from the folder of
# the registered library) and registers the library that was registered
# before again at the end. The editor's settings are reset to their
# defaults before every start. No other editor may run in the prefix (a
# second start hands its file to the first): the run waits while one does.
# Sizes default to 4096 KiB (a bitmap a little under that size).
#
# Each figure is the median of N runs (default 3; each column its own
# median). An open is timed from the editor's start until the view shows
# the whole text (pramel_load_bench.exe); the first run of each mode also
# checks the text shown: in binary mode byte for byte, in template mode by
# its line count and length against the text velda_run.exe makes of the
# file (Wine hands such a text to no other process). A template open is
# split by the editor's load log (PRAMEL_LOAD_LOG) into:
#   host     starting the script host: cscript //nologo on an empty .js,
#            started the way the editor starts a template, timed in the same
#            run (velda_run.exe)
#   script   the rest of the template run: the library's calls and the
#            script, plus the editor's waits around the child
#   text     loading the work file's text into the view, split into
#            fill (reading the file), control (the control taking the text
#            in) and after (the view's steps after that)
#   check    the CRC-32 check of the text against the emitted bytes
#   rest     the open minus the parts above: the editor's start-up, its
#            windows, the first paint
# A binary open has no host, script or check; its fill is the conversion
# pipeline making the dump. Reports; asserts nothing (but stops when the
# text shown is wrong).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
# shellcheck source=common.sh
. "$here/common.sh"
bench_options template.sh "4096" "$@"
command -v python3 >/dev/null || { echo "template.sh: python3 is missing" >&2; exit 1; }
tree="$(cd "$tree" && pwd)"
prefix="$tree/wineprefix"

# The programs. The tree's targets are brought up to date when the tree
# builds; a tree that does not (for example while its CMake files are being
# changed) is used as it stands.
if ! cmake --build "$tree" --target pramel_dist pramel_load_bench velda_run >"$tree.template-bench-build.log" 2>&1; then
  echo "template.sh: the tree did not build (see $tree.template-bench-build.log); using the programs in it" >&2
fi
pramel="$tree/dist/Pramel.exe"
library="$tree/dist/ライブラリ/Velda.dll"
bitmap_template="$tree/dist/ライブラリ/画像/Bitmap.js"
runner="$tree/tests/win/velda/velda_run.exe"
for f in "$pramel" "$library" "$bitmap_template" "$runner"; do
  [ -f "$f" ] || { echo "template.sh: $f is missing; build the targets pramel_dist and velda_run" >&2; exit 1; }
done
# The load benchmark from the tree, or compiled here when the tree's copy is
# older than its source (the tree could not rebuild it).
loader="$tree/bench/editor/pramel_load_bench.exe"
if [ ! -f "$loader" ] || [ "$here/LoadBench.cpp" -nt "$loader" ]; then
  loader="$tree/bench-editor-by-hand/pramel_load_bench.exe"
  if [ ! -f "$loader" ] || [ "$here/LoadBench.cpp" -nt "$loader" ]; then
    mkdir -p "$(dirname "$loader")"
    x86_64-w64-mingw32-g++-posix -O2 -std=c++17 -finput-charset=UTF-8 -fexec-charset=CP932 -Wall -Wextra -static \
      -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 \
      -o "$loader" "$here/LoadBench.cpp" -lpsapi -lgdi32 -luser32 -ladvapi32
  fi
fi

# editor_running: whether a Pramel.exe runs in this prefix (someone else's
# test, say); starting one now would hand the file to it.
editor_running() {
  local p
  for p in /proc/[0-9]*; do
    { tr '\0' '\n' <"$p/cmdline"; } 2>/dev/null | head -n 1 | grep -qi 'pramel\.exe' || continue
    { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && return 0
  done
  return 1
}
wait_for_prefix() {
  local said=0
  while editor_running; do
    [ "$said" -eq 1 ] || echo "template.sh: another Pramel.exe runs in $prefix; waiting for it to end" >&2
    said=1
    sleep 5
  done
}
wait_for_prefix

work="$(mktemp -d)"
clsid='{EAC44DFB-26C5-4D85-B8A7-D1665450ABD0}'
previous=""
cleanup() {
  # The library registered before the run is registered again.
  if [ -n "$previous" ] && [ "$previous" != "$(winpath "$library")" ]; then
    wine_run "$tree" regsvr32 /s "$previous" >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
  if [ "$own_session" -eq 1 ]; then "$root/scripts/wineserver.sh" stop "$prefix" >/dev/null 2>&1 || true; fi
}
# One Wine session for the whole run, so that every start costs what a start
# costs on a running system; a session already up in the prefix is used as
# it is and left running.
own_session=0
if ! WINEPREFIX="$prefix" wineserver -k0 >/dev/null 2>&1; then
  own_session=1
  "$root/scripts/wineserver.sh" start "$prefix"
fi
trap cleanup EXIT

previous="$(wine_run "$tree" reg query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve 2>/dev/null |
  iconv -f CP932 -t UTF-8 | tr -d '\r' | sed -nE 's/.*REG_SZ[[:space:]]+(.*)$/\1/p' | head -n 1 || true)"
wine_run "$tree" regsvr32 /s "$(winpath "$library")" ||
  { echo "template.sh: regsvr32 of $library failed" >&2; exit 1; }

export PRAMEL_LOAD_LOG
PRAMEL_LOAD_LOG="$(winpath "$work/load.log")"

# velda KIND SCRIPT [INPUT]: runs a script the way the editor runs a template
# (session block, standard handles to files, cscript //nologo in a console
# of its own); the text lands in $work/KIND/output.txt. Prints the run's
# milliseconds.
velda() {
  local kind="$1" script="$2" out
  shift 2
  mkdir -p "$work/$kind"
  out="$(wine_run "$tree" "$runner" --quiet --work "$(winpath "$work/$kind")" "$(winpath "$script")" "$@")" ||
    { echo "$out" >&2; exit 1; }
  tr -d '\r' <<<"$out" | sed -nE 's/^--- exit code 0, ([0-9]+) ms$/\1/p'
}

# The host's start: a script that does nothing.
: >"$work/empty.js"
host=()
for _ in $(seq "$runs"); do
  host+=("$(velda host "$work/empty.js")")
done
host_ms="$(median "${host[@]}")"

# log_field KIND NAME: NAME's value in the last log line of that kind.
log_field() { field "$2" "$(grep "^$1 " "$work/load.log" | tail -n 1)"; }
# open_file FILE CHECK [OPTION...]: one open through pramel_load_bench, the
# text checked when CHECK is 1; sets o_ms, o_peak and the stream-in's parts.
open_file() {
  local file="$1" check="$2" out
  shift 2
  wait_for_prefix
  : >"$work/load.log"
  local verify=()
  [ "$check" -eq 1 ] && verify=(--verify)
  out="$(wine_run "$tree" "$loader" "$(winpath "$pramel")" "$(winpath "$file")" --reloads 0 "${verify[@]}" "$@")" ||
    { echo "$out" >&2; exit 1; }
  if grep -q 'verify=' <<<"$out" && grep 'verify=' <<<"$out" | grep -qv 'verify=same'; then
    echo "template.sh: the view does not show the expected text of $file:" >&2
    echo "$out" >&2
    cat "$work/load.log" >&2
    exit 1
  fi
  o_ms="$(field ms "$(grep '^open ' <<<"$out")")"
  o_peak="$(field peak_mb "$(grep '^done ' <<<"$out")")"
  o_bytes="$(log_field streamin bytes)"
  o_fill="$(log_field streamin fill_ms)"
  o_ctl="$(log_field streamin control_ms)"
  o_after="$(log_field streamin after_ms)"
}

calc() { awk "BEGIN { printf \"%.${2:-0}f\", $1 }"; }
row() { printf '%-7s %-8s %7s %6s %7s %7s %7s %7s %6s %6s %6s %10s %9s %7s\n' "$@"; }
row size mode open host script text fill control after check rest "text B" "text/file" "peak MB"
for kib in $sizes; do
  # A 24-bit bitmap of at most KIB KiB: 1024 pixels a row (256 below 1 MiB),
  # as many rows as fit.
  width=1024
  [ "$kib" -lt 1024 ] && width=256
  height=$(( (kib * 1024 - 54) / (((width * 3) + 3) / 4 * 4) ))
  bmp="$work/in-$kib.bmp"
  python3 "$root/scripts/make-sample-bmp.py" "$bmp" "$width" "$height"
  cp "$bmp" "$work/in-$kib.bin"
  size="$(stat -c %s "$bmp")"

  # The text the template makes of the file, as the editor's run makes it:
  # what the view must show.
  outside=()
  for _ in $(seq "$runs"); do
    outside+=("$(velda "tpl-$kib" "$bitmap_template" "$(winpath "$bmp")")")
  done
  cp "$work/tpl-$kib/output.txt" "$work/expect-$kib.txt"

  t_open=() t_script=() t_text=() t_fill=() t_ctl=() t_after=() t_check=() t_rest=() t_bytes=() t_peak=()
  b_open=() b_fill=() b_ctl=() b_after=() b_rest=() b_bytes=() b_peak=()
  for run in $(seq "$runs"); do
    check=0
    [ "$run" -eq 1 ] && check=1
    open_file "$bmp" "$check" --expect "$(winpath "$work/expect-$kib.txt")"
    grep -q '^template ' "$work/load.log" ||
      { echo "template.sh: $bmp did not open in template mode:" >&2; cat "$work/load.log" >&2; exit 1; }
    run_ms="$(log_field template run_ms)" text_ms="$(log_field template text_ms)"
    check_ms="$(log_field template check_ms)"
    t_open+=("$o_ms") t_peak+=("$o_peak") t_bytes+=("$o_bytes")
    t_fill+=("$o_fill") t_ctl+=("$o_ctl") t_after+=("$o_after")
    t_script+=("$(calc "$run_ms - $host_ms")") t_text+=("$text_ms") t_check+=("$check_ms")
    t_rest+=("$(calc "$o_ms - $run_ms - $text_ms - $check_ms")")

    open_file "$work/in-$kib.bin" "$check"
    ! grep -q '^template ' "$work/load.log" ||
      { echo "template.sh: the .bin copy opened in template mode" >&2; exit 1; }
    b_open+=("$o_ms") b_peak+=("$o_peak") b_bytes+=("$o_bytes")
    b_fill+=("$o_fill") b_ctl+=("$o_ctl") b_after+=("$o_after")
    b_rest+=("$(calc "$o_ms - $o_fill - $o_ctl - $o_after")")
  done

  label="$kib KiB"
  [ "$kib" -ge 1024 ] && label="$(calc "$kib / 1024" 0) MiB"
  tb="$(median "${t_bytes[@]}")" bb="$(median "${b_bytes[@]}")"
  row "$label" template "$(median "${t_open[@]}")" "$host_ms" "$(median "${t_script[@]}")" \
    "$(calc "$(median "${t_text[@]}")")" "$(calc "$(median "${t_fill[@]}")")" "$(calc "$(median "${t_ctl[@]}")")" \
    "$(calc "$(median "${t_after[@]}")")" "$(calc "$(median "${t_check[@]}")")" "$(median "${t_rest[@]}")" \
    "$tb" "$(calc "$tb / $size" 2)" "$(median "${t_peak[@]}")"
  row "" binary "$(median "${b_open[@]}")" - - \
    "$(calc "$(median "${b_fill[@]}") + $(median "${b_ctl[@]}") + $(median "${b_after[@]}")")" \
    "$(calc "$(median "${b_fill[@]}")")" "$(calc "$(median "${b_ctl[@]}")")" "$(calc "$(median "${b_after[@]}")")" \
    - "$(median "${b_rest[@]}")" "$bb" "$(calc "$bb / $size" 2)" "$(median "${b_peak[@]}")"
  echo "        file: $size bytes ($width x $height, 24 bits); the template's run outside the editor" \
    "(velda_run, host included): $(median "${outside[@]}") ms"
done
echo "milliseconds, median of $runs runs (each column its own median). open: from the editor's start"
echo "until the text is shown; host: cscript //nologo on an empty .js; script: the template run minus"
echo "host; text: loading the text into the view (template mode: the editor's own timing of it; binary"
echo "mode: fill + control + after), fill: reading the work file (binary: making the dump), control:"
echo "the rich-edit control taking the text in, after: the view's steps after that; check: the CRC-32"
echo "check; rest: open minus the parts (start-up, windows, first paint); text B: bytes of text loaded;"
echo "peak MB: the editor's peak commit"
