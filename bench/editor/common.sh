# shellcheck shell=bash
# Shared by the editor benchmarks: builds Pramel.exe and the two benchmark
# programs of this folder into a Windows tree, runs programs under Wine in
# that tree's prefix, and small helpers for the tables.
#
# The programs come from the tree's CMake targets when the tree has them
# (bench/editor/CMakeLists.txt added to the Windows build), else they are
# compiled here by hand with the same compiler and flags.

BENCH_HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BENCH_ROOT="$(cd "$BENCH_HERE/../.." && pwd)"

# build_tools TREE: sets BENCH_BIN (folder of the two programs) and
# BENCH_PRAMEL (Pramel.exe).
build_tools() {
  local tree="$1" build_root name
  build_root="$(dirname "$tree")"
  name="$(basename "$tree")"
  [ "$name" = win ] || { echo "the tree must be a folder named win (got $tree)" >&2; exit 2; }
  PRAMEL_BUILD_ROOT="$build_root" bash "$BENCH_ROOT/scripts/build.sh" win \
    --only Pramel,pramel_load_bench,richedit_probe >"$tree.bench-build.log" 2>&1 ||
    { cat "$tree.bench-build.log" >&2; exit 1; }
  BENCH_PRAMEL="$tree/editor/Pramel.exe"
  [ -f "$BENCH_PRAMEL" ] || { echo "no $BENCH_PRAMEL after the build" >&2; exit 1; }
  if [ -f "$tree/bench/editor/pramel_load_bench.exe" ] && [ -f "$tree/bench/editor/richedit_probe.exe" ]; then
    BENCH_BIN="$tree/bench/editor"
    return
  fi
  BENCH_BIN="$tree/bench-editor-by-hand"
  mkdir -p "$BENCH_BIN"
  local flags=(-O2 -std=c++17 -finput-charset=UTF-8 -fexec-charset=CP932 -Wall -Wextra -static
               -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601)
  local exe src
  for exe in pramel_load_bench:LoadBench.cpp richedit_probe:RichEditProbe.cpp; do
    src="$BENCH_HERE/${exe#*:}"
    if [ ! -f "$BENCH_BIN/${exe%%:*}.exe" ] || [ "$src" -nt "$BENCH_BIN/${exe%%:*}.exe" ]; then
      x86_64-w64-mingw32-g++-posix "${flags[@]}" -o "$BENCH_BIN/${exe%%:*}.exe" "$src" -lpsapi -lgdi32 -luser32 -ladvapi32
    fi
  done
}

# wine_run TREE PROGRAM ARGS...: runs it in the tree's prefix with a time
# limit; standard input from /dev/null.
wine_run() {
  local tree="$1"; shift
  timeout "${BENCH_TIMEOUT:-900}" "$BENCH_ROOT/scripts/wine-run.sh" --prefix "$tree/wineprefix" "$@" </dev/null
}

# winpath PATH: the Wine path of a host path.
winpath() { echo "Z:$1" | tr / '\\'; }

# field NAME LINE: the value of NAME=value in a line of key=value pairs
# (Windows programs end their lines with CR LF).
field() { tr -d '\r' <<<"$2" | sed -nE "s/.*(^| )$1=([^ ]+).*/\\2/p"; }

# median NUMBER...
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }

# bench_options NAME DEFAULT_SIZES ARGS...: the options both editor
# benchmarks take; sets tree (default build/win), runs (3) and sizes.
bench_options() {
  local name="$1"
  tree="$BENCH_ROOT/build/win"
  runs=3
  sizes="$2"
  shift 2
  while [ $# -gt 0 ]; do
    case "$1" in
      --tree) tree="$2"; shift 2 ;;
      --runs) runs="$2"; shift 2 ;;
      --sizes) sizes="$2"; shift 2 ;;
      *) echo "usage: $name [--tree DIR] [--runs N] [--sizes \"KIB ...\"]" >&2; exit 2 ;;
    esac
  done
}
