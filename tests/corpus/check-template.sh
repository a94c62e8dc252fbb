#!/usr/bin/env bash
# Runs one template over files the way the editor does and checks that the
# text it prints packs back to the file byte for byte:
#
#   tests/corpus/check-template.sh [--damaged] TEMPLATE FILE...
#
# TEMPLATE is the UTF-8 source (.js or .vbs); it is converted to code page
# 932 on the way. Each file is run through velda_run.exe under Wine (the
# library must be registered in the prefix); its text is packed with the
# native prmconv in the byte order the template left, and must give the
# file's bytes, with the CRC the library reported. --damaged also checks a
# copy cut in half and a copy with one byte flipped: their texts too must
# hold every byte. The library's status must say what the file is: a whole
# file decodes without an error, unless its name starts with "bad" (a file
# damaged on purpose), and a file cut in half ends with the error report.
# One line per file (OK/FAIL and the status), and a summary; exits non-zero
# when a file failed.
#
# Environment: PRAMEL_BUILD_ROOT (default build), PRAMEL_PREFIX (the Wine
# prefix, default <build>/win/wineprefix), PRAMEL_RUN_TIMEOUT (seconds per
# file, default 60).
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${PRAMEL_BUILD_ROOT:-$root/build}"
prefix="${PRAMEL_PREFIX:-$build/win/wineprefix}"
timeout_s="${PRAMEL_RUN_TIMEOUT:-60}"
velda_run="$build/win/tests/win/velda/velda_run.exe"
prmconv="$build/native/tools/prmconv/prmconv"
damaged=0
[ "${1:-}" = "--damaged" ] && { damaged=1; shift; }
template="${1:?usage: check-template.sh [--damaged] TEMPLATE FILE...}"
shift
for need in "$velda_run" "$prmconv"; do
  [ -x "$need" ] || [ -f "$need" ] || { echo "check-template.sh: $need is not built" >&2; exit 2; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/pramel-check.XXXXXX")"
trap 'rm -rf "$work"' EXIT
script="$work/$(basename "$template")"
iconv -f UTF-8 -t CP932 -o "$script" "$template" || exit 2
winpath() { echo "Z:$(realpath -m "$1")" | tr / '\\'; }

passed=0
failed=0
# check FILE LABEL EXPECT: one run and its checks; EXPECT is the status the
# run must end with: clean (0), error (not 0) or any.
check() {
  local file="$1" label="$2" expect="$3" out status line order crc
  rm -f "$work"/run/*
  mkdir -p "$work/run"
  out="$(timeout "$timeout_s" "$root/scripts/wine-run.sh" --prefix "$prefix" "$velda_run" --quiet \
           --work "$(winpath "$work/run")" "$(winpath "$script")" "$(winpath "$file")" </dev/null 2>&1)"
  if [ $? -ne 0 ]; then
    echo "FAIL $label: no result within ${timeout_s} s"; failed=$((failed + 1)); return
  fi
  line="$(tr -d '\r' <<<"$out" | grep '^status ')"
  status="$(sed -nE 's/^status (-?[0-9]+) .*/\1/p' <<<"$line")"
  order=little
  (( $(sed -nE 's/.* dataFormat ([0-9]+).*/\1/p' <<<"$line") & 1 )) && order=big
  crc="$(sed -nE 's/.* outputCrc ([0-9A-F]+) .*/\1/p' <<<"$line")"
  "$prmconv" pack -e "$order" "$work/run/output.txt" "$work/packed.bin" 2>"$work/pack.err"
  if ! cmp -s "$file" "$work/packed.bin"; then
    echo "FAIL $label: the text does not pack back to the file (status $status)"; failed=$((failed + 1)); return
  fi
  if [ "$("$prmconv" crc -e "$order" "$work/run/output.txt")" != "$crc" ]; then
    echo "FAIL $label: the CRC differs from the library's ($crc)"; failed=$((failed + 1)); return
  fi
  if { [ "$expect" = clean ] && [ "$status" != 0 ]; } || { [ "$expect" = error ] && [ "$status" = 0 ]; }; then
    echo "FAIL $label: status $status where the file should decode $([ "$expect" = clean ] && echo without an error || echo with the error report)"
    failed=$((failed + 1)); return
  fi
  echo "OK   $label (status $status)"
  passed=$((passed + 1))
}

for file in "$@"; do
  case "$(basename "$file")" in bad*) check "$file" "$file" error ;; *) check "$file" "$file" clean ;; esac
  if [ "$damaged" -eq 1 ]; then
    size="$(stat -c %s "$file")"
    # Cut in the middle of what the file holds: zero padding at its end
    # (a tar archive's last record) does not count, so the cut always
    # takes away part of the content.
    # A cut on a 512-byte boundary may fall between the records of a block
    # format (a tar member ends there), leaving a shorter whole file: cut
    # one byte earlier then.
    content="$(python3 -c 'import sys; print(len(open(sys.argv[1], "rb").read().rstrip(b"\0")))' "$file")"
    cut=$((content / 2))
    [ $((cut % 512)) -eq 0 ] && cut=$((cut - 1))
    if [ "$cut" -gt 0 ]; then
      head -c "$cut" "$file" >"$work/cut.bin"
      check "$work/cut.bin" "$file (cut to $cut bytes)" error
    fi
    if [ "$size" -gt 0 ]; then
      cp "$file" "$work/flip.bin"
      at=$(( (size * 7 / 13) % size ))
      printf "$(printf '\\x%02x' $(( $(od -An -tu1 -j "$at" -N1 "$file") ^ 0xFF )))" |
        dd of="$work/flip.bin" bs=1 seek="$at" conv=notrunc status=none
      check "$work/flip.bin" "$file (byte $at flipped)" any
    fi
  fi
done
echo "$(basename "$template"): $passed passed, $failed failed"
[ "$failed" -eq 0 ]
