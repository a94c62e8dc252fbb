#!/usr/bin/env bash
# Collects sample files for the ELF, PE and TrueType templates from the
# machine's own programs, libraries and fonts:
#
#   tests/corpus/gather-binaries.sh OUTDIR
#
# Fills OUTDIR/elf, OUTDIR/pe and OUTDIR/ttf with up to 30 files each,
# smaller than 2 MB, chosen in sorted path order so that the same machine
# always gives the same set. Files are copied under a numbered name that
# keeps the original base name. A source folder that does not exist is
# skipped; the script prints the counts and exits 0.
set -uo pipefail

out="${1:?usage: gather-binaries.sh OUTDIR}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${PRAMEL_BUILD_ROOT:-$root/build}"
limit=30
max_bytes=$((2 * 1024 * 1024))

# magic FILE: the first four bytes as hexadecimal.
magic() { od -An -tx1 -N4 "$1" 2>/dev/null | tr -d ' \n'; }

# candidates PATTERN DIR...: regular files under the folders whose name
# matches PATTERN (a find -regex), smaller than the limit, sorted.
candidates() {
  local pattern="$1"; shift
  local dirs=()
  for d in "$@"; do [ -d "$d" ] && dirs+=("$d"); done
  [ "${#dirs[@]}" -eq 0 ] && return 0
  find "${dirs[@]}" -maxdepth 3 -type f -size -"$max_bytes"c -regextype posix-extended \
       -regex "$pattern" 2>/dev/null | LC_ALL=C sort
}

# take KIND WANT QUOTA TEST: copies files named on standard input into
# OUTDIR/KIND while fewer than QUOTA came from this source and the folder
# holds fewer than WANT; TEST is a function that accepts a file.
take() {
  local kind="$1" want="$2" quota="$3" test="$4" file n added=0
  while IFS= read -r file; do
    n=$(find "$out/$kind" -maxdepth 1 -type f | wc -l)
    [ "$n" -ge "$want" ] || [ "$added" -ge "$quota" ] && break
    [ -s "$file" ] && [ -r "$file" ] || continue
    "$test" "$file" || continue
    cp "$file" "$out/$kind/$(printf '%02d' "$n")-$(basename "$file")" 2>/dev/null && added=$((added + 1))
  done
  return 0
}

is_elf() { [ "$(magic "$1")" = "7f454c46" ]; }
is_pe() {
  [ "$(magic "$1" | cut -c1-4)" = "4d5a" ] || return 1
  # e_lfanew must point at "PE\0\0".
  local lfanew
  lfanew=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$lfanew" ] && [ "$(od -An -tx1 -j"$lfanew" -N4 "$1" 2>/dev/null | tr -d ' \n')" = "50450000" ]
}
is_font() {
  case "$(magic "$1")" in
    00010000|4f54544f|74727565|74746366) return 0 ;;   # 1.0, OTTO, true, ttcf
  esac
  return 1
}

mkdir -p "$out/elf" "$out/pe" "$out/ttf" || exit 0
rm -f "$out"/elf/* "$out"/pe/* "$out"/ttf/*

wine_lib=""
for d in /usr/lib/x86_64-linux-gnu/wine /usr/lib/wine /usr/lib64/wine /usr/lib/i386-linux-gnu/wine; do
  [ -d "$d" ] && { wine_lib="$d"; break; }
done

# ELF: programs, shared libraries, object files.
candidates '.*/[^/]+' /usr/bin | take elf "$limit" 12 is_elf
candidates '.*\.so(\.[0-9]+)*' /usr/lib/x86_64-linux-gnu /usr/lib64 /usr/lib | take elf "$limit" 12 is_elf
candidates '.*\.o' /usr/lib/x86_64-linux-gnu /usr/lib/gcc /usr/lib | take elf "$limit" 6 is_elf
candidates '.*/[^/]+' /usr/sbin /usr/libexec | take elf "$limit" "$limit" is_elf

# PE: Wine's own PE modules (64- and 32-bit) and the cross compiler's DLLs;
# what is still missing comes from more of Wine's modules. The project's own
# programs are left out: the corpus is of files the project did not make
# (and an installer's appended data can be cut without a trace).
candidates '.*\.(dll|exe)' ${wine_lib:+"$wine_lib/i386-windows"} /usr/i686-w64-mingw32 |
  take pe "$limit" 4 is_pe
candidates '.*\.(exe|sys|ocx)' ${wine_lib:+"$wine_lib/x86_64-windows"} | take pe "$limit" 8 is_pe
candidates '.*\.dll' ${wine_lib:+"$wine_lib/x86_64-windows"} | take pe "$limit" 12 is_pe
candidates '.*\.(drv|cpl|acm|tlb|msstyles)' ${wine_lib:+"$wine_lib/x86_64-windows"} | take pe "$limit" "$limit" is_pe

# TrueType/OpenType: system fonts, then the fonts Wine ships.
candidates '.*\.(ttf|otf|ttc|TTF|OTF|TTC)' /usr/share/fonts /usr/share/wine/fonts /usr/local/share/fonts |
  take ttf "$limit" "$limit" is_font

for kind in elf pe ttf; do
  echo "$kind: $(find "$out/$kind" -maxdepth 1 -type f | wc -l) files"
done
exit 0
