#!/usr/bin/env bash
# prmconv's template commands under Wine with real cscript and the real
# library: what apply writes and says, verify on a template whose text packs
# back and on one whose text does not, and the exit code of each failure.
#   prmconv_templates.sh WINE_RUN PREFIX PRMCONV TEMPLATES WORKDIR VELDA_DLL
set -u
wine_run=$1
prefix=$2
prmconv=$3
templates=$4
work=$5
velda=$6
mkdir -p "$work"
fail=0
winpath() { echo "Z:$(realpath -m "$1")" | tr / '\\'; }
run() { "$wine_run" --prefix "$prefix" "$prmconv" "$@" </dev/null >"$work/out" 2>"$work/err"; }
expect() {  # expect CODE DESCRIPTION ARGS...
  local want=$1 what=$2
  shift 2
  run "$@"
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL: $what: exit $got, want $want; stderr: $(iconv -f CP932 -t UTF-8 -c "$work/err")"
    fail=1
  fi
}
has() {  # has FILE TEXT DESCRIPTION: the CP932 file holds the UTF-8 text
  iconv -f CP932 -t UTF-8 -c "$1" | grep -qF -- "$2" && return
  echo "FAIL: $3; $(basename "$1") holds:"
  iconv -f CP932 -t UTF-8 -c "$1" | head -n 5
  fail=1
}

# A bitmap of 3 x 2 pixels.
python3 - "$work/pic.bmp" <<'PY'
import struct, sys
pixels = bytes(range(18)) + bytes(2) + bytes(range(100, 118)) + bytes(2)
info = struct.pack('<IiiHHIIiiII', 40, 3, 2, 1, 24, 0, len(pixels), 0, 0, 0, 0)
head = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 54)
open(sys.argv[1], 'wb').write(head + info + pixels)
PY
bitmap=$(winpath "$templates/Bitmap.js")
pic=$(winpath "$work/pic.bmp")

expect 0 "apply to the standard output" apply "$bitmap" "$pic"
has "$work/out" "BITMAPFILEHEADER" "apply writes the template's text"
has "$work/err" "ファイルの解析が終了しました。[終了コード:0]" "apply prints the result line"
expect 0 "apply to a file" apply "$bitmap" "$pic" "$(winpath "$work/pic.txt")"
has "$work/pic.txt" "BITMAPINFOHEADER" "apply writes the named output"
expect 0 "verify a reversible template" verify "$bitmap" "$pic"
has "$work/out" ": match" "verify reports the match"
has "$work/out" "the same bytes" "verify compares the bytes"
expect 1 "verify a template whose text does not pack back" verify "$(winpath "$templates/Mismatch.js")" \
  "$(winpath "$work/pic.bmp")"
has "$work/out" "mismatch" "verify reports the mismatch"
expect 3 "missing template" apply "$(winpath "$work/none.js")" "$pic"
expect 4 "missing file" apply "$bitmap" "$(winpath "$work/none.bmp")"
expect 6 "no template listed" templates "$(winpath "$work/pic.unknownextension")"
expect 2 "bad use" apply "$bitmap"

# A registration that names a library that is not there: the class's server
# entry is pointed at a missing DLL for two runs, and the library is
# registered again afterwards (also when the script is stopped).
key='HKCR\CLSID\{EAC44DFB-26C5-4D85-B8A7-D1665450ABD0}\InprocServer32'
reregister() { "$wine_run" --prefix "$prefix" regsvr32 /s "$(winpath "$velda")" </dev/null >/dev/null 2>&1; }
trap reregister EXIT
"$wine_run" --prefix "$prefix" reg add "$key" /ve /d 'C:\nowhere\Velda.dll' /f </dev/null >/dev/null 2>&1
expect 5 "library not there" apply "$bitmap" "$pic"
has "$work/err" "Velda.dll" "the missing library is named"
expect 5 "library not there, templates" templates "$pic"
reregister
trap - EXIT
expect 0 "library back" verify "$bitmap" "$pic"
[ "$fail" -eq 0 ] && echo "prmconv template commands: all passed"
exit "$fail"
