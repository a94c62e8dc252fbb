#!/usr/bin/env bash
# Exit codes and outputs of the prmconv program itself: 0 on success, 2 for a
# bad option or value, 1 for a file that cannot be read or written.
#   prmconv_cli.sh PRMCONV WORKDIR
set -u
prmconv=$1
work=$2
mkdir -p "$work"
fail=0
expect() {  # expect CODE DESCRIPTION COMMAND...
  local want=$1 what=$2
  shift 2
  "$@" > "$work/out" 2> "$work/err"
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL: $what: exit $got, want $want; stderr: $(cat "$work/err")"
    fail=1
  fi
}
printf '\x01\x02\x03\x04\x05' > "$work/five.bin"
expect 0 "dump to stdout" "$prmconv" dump -g 2 -w 4 "$work/five.bin"
[ "$(cat "$work/out")" = "$(printf '0201 0403\r\n05')" ] || { echo "FAIL: dump text"; fail=1; }
expect 0 "pack from stdin" sh -c "printf '1234 56 789' | '$prmconv' pack - '$work/packed.bin'"
[ "$(od -An -tx1 "$work/packed.bin" | tr -d ' \n')" = "3412568907" ] || { echo "FAIL: pack bytes"; fail=1; }
expect 0 "crc" sh -c "printf '\"123456789\"' | '$prmconv' crc"
[ "$(cat "$work/out")" = "2DFD2D88" ] || { echo "FAIL: crc text"; fail=1; }
expect 2 "bad width" "$prmconv" dump -w 65 "$work/five.bin"
grep -q -- "-w" "$work/err" || { echo "FAIL: bad width message"; fail=1; }
expect 2 "unknown option" "$prmconv" pack --frobnicate x
expect 1 "missing input" "$prmconv" dump "$work/does-not-exist.bin"
grep -q "does-not-exist" "$work/err" || { echo "FAIL: missing input message"; fail=1; }
expect 1 "unwritable output" "$prmconv" dump "$work/five.bin" "$work/no-such-dir/out.txt"
expect 0 "help" "$prmconv" --help
exit $fail
