#!/usr/bin/env bash
# The main job, from a fresh Debian machine or an existing tree:
#
#   bash scripts/run.sh [FILE...]
#
# Installs what is missing, builds the Windows binaries (build/win) and runs
# them under Wine in the tree's private prefix.
#
# Pramel.exe, once it is built, is started with the given files in a prefix
# with a real display (needs $DISPLAY). Until then, or without a display, this
# shows the editor's binary-mode conversion with the command-line converter:
# `prmconv dump` of each given file, or of a small sample file made here,
# and that packing the text back (as saving does) gives the same bytes.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_root="${PRAMEL_BUILD_ROOT:-$root/build}"
export PRAMEL_BUILD_ROOT="$build_root"
win="$build_root/win"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" win --only Pramel,Velda,prmconv

prefix="$(sed -n 's/^PRAMEL_WINEPREFIX:[A-Z]*=//p' "$win/CMakeCache.txt")"
prefix="${prefix:-$win/wineprefix}"

find_exe() {
  find "$win" -path "$win/wineprefix*" -prune -o -path '*/CMakeFiles' -prune -o \
       -type f -name "$1" -print | head -n 1
}

editor="$(find_exe Pramel.exe)"
if [ -n "$editor" ] && [ -n "${DISPLAY:-}" ]; then
  # The test prefix draws nowhere (null graphics driver); people get their
  # own prefix that shows windows on the display.
  desktop="$prefix-desktop"
  "$root/scripts/setup-wineprefix.sh" --desktop "$desktop"
  exec "$root/scripts/wine-run.sh" --prefix "$desktop" "$editor" "$@"
fi
if [ -n "$editor" ]; then
  echo "run.sh: Pramel.exe is built but there is no display (\$DISPLAY); showing prmconv instead"
fi

prmconv="$(find_exe prmconv.exe)"
if [ -z "$prmconv" ]; then
  echo "run.sh: prmconv.exe was not built in $win" >&2
  exit 1
fi

work="$build_root/run"
mkdir -p "$work"
files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  # A small file with a bit of everything: a header, every byte value of a
  # run, text, and a code page 932 string.
  sample="$work/sample.bin"
  {
    printf 'PRML\x01\x00\x03\x00'
    printf '\x10\x32\x54\x76\x98\xBA\xDC\xFE'
    printf '%b' "$(printf '\\x%02x' $(seq 0 47))"
    printf 'Hello, Velda!\r\n'
    printf '起動エラー' | iconv -f UTF-8 -t CP932
    printf '\xFF\xFE\x00'
  } >"$sample"
  files=("$sample")
fi

status=0
for file in "${files[@]}"; do
  if [ ! -f "$file" ]; then
    echo "run.sh: no such file: $file" >&2
    status=1
    continue
  fi
  echo "== prmconv dump $file"
  # Run in the file's folder and name it without a path, so the program gets
  # a name that means the same under Windows rules.
  text="$work/$(basename "$file").txt"
  if ! (cd "$(dirname "$file")" &&
        "$root/scripts/wine-run.sh" --prefix "$prefix" "$prmconv" dump "$(basename "$file")") >"$text"; then
    echo "run.sh: prmconv dump failed for $file" >&2
    status=1
    continue
  fi
  # The hexadecimal text is code page 932 bytes; show it in the terminal's
  # UTF-8 (bytes that do not convert are left out).
  iconv -c -f CP932 -t UTF-8 <"$text" || true
  [ -z "$(tail -c 1 "$text")" ] || echo

  # Saving packs the text back into bytes: show that it gives the file back.
  packed="$work/$(basename "$file").packed"
  if (cd "$work" && "$root/scripts/wine-run.sh" --prefix "$prefix" "$prmconv" pack \
        "$(basename "$text")" "$(basename "$packed")") && cmp -s "$file" "$packed"; then
    echo "== packing the text gives the same $(stat -c %s "$file") bytes back"
  else
    echo "run.sh: packing the text of $file did not give the same bytes back" >&2
    status=1
  fi
done
exit "$status"
