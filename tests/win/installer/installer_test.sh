#!/usr/bin/env bash
# PramelSetup.exe under Wine, in a fresh prefix of its own, one step after
# the other:
#   1. a build whose library cannot be registered: the install fails with
#      exit code 3, and its uninstaller takes it away;
#   2. an older build (1.0.2), silently into the 64-bit program files;
#   3. while its editor runs, the installer and the uninstaller refuse;
#   4. the current build upgrades it in place (same folder, one entry in the
#      installed programs list, the old files replaced or removed, the
#      user's settings kept), registers the library where the 64-bit editor
#      and script hosts look, adds the Start-menu and "Open with" entries;
#      every binary carries the build's version;
#   5. the installed editor opens a bitmap in template mode without asking;
#   6. the installed templates run under cscript (JScript and VBScript);
#   7. a silent uninstall leaves nothing but the user's settings, compared
#      with snapshots of the registry and the files taken before step 1;
#   8. an install into a folder given with /D=, and an uninstall through its
#      pages that removes the settings too when the user says so.
#
#   installer_test.sh SCRIPTS WORK PROBE PRMCONV INSTALLER OLD BROKEN DIST VERSION HELP
set -u
scripts=$1 work=$2 probe_exe=$3 prmconv=$4 installer=$5 old=$6 broken=$7 dist=$8 version=$9 help=${10}
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
# shellcheck source=/dev/null
. "$scripts/wine-env.sh" "$prefix"
"$scripts/setup-wineprefix.sh" "$prefix" >/dev/null || { echo "FAIL: no Wine prefix"; exit 1; }
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1' EXIT

fail=0
failed() { echo "FAIL: $*"; fail=1; }
winpath() { echo "Z:$(realpath -m "$1")" | tr / '\\'; }
# Windows programs print code page 932; the checks read UTF-8.
win() { wine "$@" </dev/null 2>&1 | iconv -f CP932 -t UTF-8 -c | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# expect CODE DESCRIPTION PROGRAM ARGS...: the exit code, output in $work/out.
expect() {
  local want=$1 what=$2
  shift 2
  win "$@" >"$work/out"
  local got=$?
  [ "$got" -eq "$want" ] || failed "$what: exit code $got, want $want: $(cat "$work/out")"
}
has() { grep -qF -- "$2" "$1" || failed "$3 (${2} not in $(cat "$1"))"; }
regq() { win reg query "$@"; }
snapshot() {
  wine regedit /E "$(winpath "$work/$1.reg")" </dev/null >/dev/null 2>&1
  python3 "$here/snapshot.py" take "$prefix" "$work/$1.reg" "$work/$1"
}

program_files="$prefix/drive_c/Program Files"
installed="$program_files/Pramel"
win_installed='C:\Program Files\Pramel'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pramel'
com_server='HKLM\Software\Classes\CLSID\{EAC44DFB-26C5-4D85-B8A7-D1665450ABD0}\InprocServer32'
shortcuts="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Pramel"

# A bitmap of 3 x 2 pixels, a short WAVE file and a script that asks the
# registered library for its version.
python3 - "$work/pic.bmp" "$work/tone.wav" <<'PY'
import struct, sys, wave
pixels = bytes(range(18)) + bytes(2) + bytes(range(100, 118)) + bytes(2)
info = struct.pack('<IiiHHIIiiII', 40, 3, 2, 1, 24, 0, len(pixels), 0, 0, 0, 0)
head = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 54)
open(sys.argv[1], 'wb').write(head + info + pixels)
with wave.open(sys.argv[2], 'wb') as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(8000)
    w.writeframes(bytes(range(64)))
PY
printf 'var c = new ActiveXObject("Velda.Com");\r\nWScript.Echo("version " + c.Version);\r\n' >"$work/version.js"

# Wine registers its script host's type library at the first script run and
# its display devices at the first window: both before the snapshot.
win cscript //nologo "$(winpath "$work/version.js")" >/dev/null
win "$probe_exe" warm >/dev/null
snapshot before

echo "1. a library that cannot be registered"
expect 3 "an install whose registration fails reports it" "$probe_exe" run 120 "$(winpath "$broken") /S"
expect 0 "the failed install's uninstaller" "$probe_exe" run 120 "$win_installed\\Uninstall.exe /S"
[ ! -e "$installed" ] || failed "the failed install's uninstaller left $(ls -R "$installed")"

echo "2. an older build"
expect 0 "silent install of the older build" "$probe_exe" run 120 "$(winpath "$old") /S"
[ -f "$installed/Pramel.exe" ] || failed "not installed into the 64-bit program files"
[ ! -e "$prefix/drive_c/Program Files (x86)/Pramel" ] || failed "installed into the 32-bit program files"
[ -f "$installed/ライブラリ/画像/Old.js" ] || failed "the older build's template is missing"
regq "$uninstall_key" /v DisplayVersion >"$work/out"
has "$work/out" "1.0.2" "the older build's version is listed"

echo "3. refusals while the editor runs"
expect 2 "the installer refuses while the editor runs" \
  "$probe_exe" while-editor "$win_installed\\Pramel.exe" 60 "$(winpath "$installer") /S"
expect 2 "the uninstaller refuses while the editor runs" \
  "$probe_exe" while-editor "$win_installed\\Pramel.exe" 60 "$win_installed\\Uninstall.exe /S _?=$win_installed"
[ -f "$installed/ライブラリ/画像/Old.js" ] && [ -f "$installed/Uninstall.exe" ] ||
  failed "a refused run changed the installation"
regq "$uninstall_key" /v DisplayVersion >"$work/out"
has "$work/out" "1.0.2" "a refused run changed the listed version"

echo "4. upgrade"
expect 0 "silent upgrade" "$probe_exe" run 120 "$(winpath "$installer") /S"
[ ! -e "$installed/ライブラリ/画像/Old.js" ] || failed "the upgrade left the older build's template"
(cd "$dist" && find . -type f ! -name TemplateList.txt) | while read -r file; do
  cmp -s "$dist/$file" "$installed/$file" || echo "$file"
done >"$work/differ"
[ ! -s "$work/differ" ] || failed "installed files differ from the build: $(cat "$work/differ")"
if [ "$help" = 1 ]; then
  [ -f "$installed/Pramel.chm" ] || failed "the help file is not installed"
fi
wine regedit /E "$(winpath "$work/uninstall.reg")" 'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
  </dev/null >/dev/null 2>&1
entries=$(iconv -f UTF-16 -t UTF-8 "$work/uninstall.reg" | grep -c '"DisplayName"="Pramel"')
[ "$entries" -eq 1 ] || failed "$entries entries of Pramel in the installed programs list"
regq "$uninstall_key" >"$work/out"
for value in "DisplayVersion    REG_SZ    $version" "Publisher    REG_SZ    Tevrin" \
             "InstallLocation    REG_SZ    $win_installed" "UninstallString    REG_SZ    \"$win_installed\\Uninstall.exe\"" \
             "QuietUninstallString    REG_SZ    \"$win_installed\\Uninstall.exe\" /S"; do
  has "$work/out" "$value" "the installed programs entry"
done
regq "$com_server" >"$work/out"
has "$work/out" "REG_SZ    $win_installed\\ライブラリ\\Velda.dll" "the library is registered in the 64-bit registry"
regq "$com_server" /reg:32 >"$work/out" && failed "the library is registered in the 32-bit registry: $(cat "$work/out")"
regq 'HKCU\Software\Tevrin\Pramel\DockingBarState' >/dev/null || failed "the upgrade lost the user's settings"
regq 'HKLM\Software\Classes\Applications\Pramel.exe\shell\open\command' >"$work/out"
has "$work/out" "\"$win_installed\\Pramel.exe\" \"%1\"" "the \"Open with\" command"
regq 'HKLM\Software\Classes\*\OpenWithList\Pramel.exe' >/dev/null || failed "Pramel is not offered for every file type"
expected_links=("Pramel.lnk" "Pramel のアンインストール.lnk")
[ "$help" = 1 ] && expected_links+=("Pramel ヘルプ.lnk")
for link in "${expected_links[@]}"; do
  [ -f "$shortcuts/$link" ] || failed "no Start-menu entry $link"
done
[ "$(find "$shortcuts" -type f | wc -l)" -eq "${#expected_links[@]}" ] || failed "Start menu: $(ls "$shortcuts")"
win "$probe_exe" version "$win_installed\\Pramel.exe" "$win_installed\\ライブラリ\\Velda.dll" \
  "$win_installed\\Uninstall.exe" "$(winpath "$installer")" >"$work/out"
[ "$(sort -u "$work/out")" = "$version.0" ] || failed "versions of the installed files: $(cat "$work/out")"

echo "5. the installed editor on a bitmap"
expect 0 "the editor opens the bitmap without a question" \
  "$probe_exe" editor "$win_installed\\Pramel.exe" "$(winpath "$work/pic.bmp")"
has "$work/out" "template:  ビットマップ画像 Ver.1.00" "the bitmap opens in template mode"
has "$work/out" "text: [ 1.BITMAPFILEHEADER ]" "the template's text is shown"
iconv -f CP932 -t UTF-8 "$installed/ライブラリ/TemplateList.txt" >"$work/list"
has "$work/list" "BMP=画像\\Bitmap.js" "the template list was rebuilt after the upgrade"

echo "6. the installed templates"
expect 0 "cscript creates the library" cscript //nologo "$(winpath "$work/version.js")"
has "$work/out" "version 103" "the library's version through cscript"
expect 0 "the bitmap template (JScript)" "$prmconv" verify "$win_installed\\ライブラリ\\画像\\Bitmap.js" \
  "$(winpath "$work/pic.bmp")"
has "$work/out" ": match" "the bitmap template's text packs back"
expect 0 "the WAVE template (VBScript)" "$prmconv" verify "$win_installed\\ライブラリ\\音声\\Wave.vbs" \
  "$(winpath "$work/tone.wav")"
has "$work/out" ": match" "the WAVE template's text packs back"
# prmconv (a tool of the tests, not installed) now and then fails to delete
# its message work file in the temporary folder; not the installer's.
for leftover in "$prefix"/drive_c/users/*/Temp/prm*.tmp; do
  [ -e "$leftover" ] || continue
  echo "note: prmconv left ${leftover#"$prefix/"}"
  rm -f "$leftover"
done

echo "7. silent uninstall"
expect 0 "silent uninstall" "$probe_exe" run 120 "$win_installed\\Uninstall.exe /S"
regq 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations >"$work/out"
has "$work/out" "~nsu" "the uninstaller's copy of itself is removed at the next start"
snapshot silent
python3 "$here/snapshot.py" compare "$work/before" "$work/silent" \
  --kept '^\[HKEY_USERS\\[^\\]+\\Software\\Tevrin[\\\]]' \
  --kept '^file drive_c/Program Files/Pramel(/ライブラリ(/TemplateList\.txt)?)?$' || failed "silent uninstall"

echo "8. /D= and an uninstall that removes the settings"
other='C:\Program Files\Pramel テスト'
expect 0 "silent install into a folder of the user's" "$probe_exe" run 120 "$(winpath "$installer") /S /D=$other"
[ -f "$program_files/Pramel テスト/Pramel.exe" ] || failed "/D= was not followed"
regq "$com_server" >"$work/out"
has "$work/out" "$other\\ライブラリ\\Velda.dll" "the library of the folder given is registered"
expect 0 "uninstall through its pages" "$probe_exe" run --answer 6 120 "$other\\Uninstall.exe"
has "$work/out" "ユーザー設定も削除しますか" "the uninstaller asks about the settings"
snapshot removed
python3 "$here/snapshot.py" compare "$work/before" "$work/removed" \
  --kept '^file drive_c/Program Files/Pramel(/ライブラリ(/TemplateList\.txt)?)?$' || failed "uninstall with the settings"

[ "$fail" -eq 0 ] && echo "installer: all passed"
exit "$fail"
