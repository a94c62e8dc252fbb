#!/usr/bin/env bash
# Screenshots of the installer's and the uninstaller's pages on a virtual X
# display, for people to look at (not part of the test run):
#
#   take-screenshots.sh SCRIPTS PROBE INSTALLER OUT
#
# Walks a real install and uninstall in a fresh desktop prefix (OUT/prefix):
# welcome, folder, finish, the refusal while the editor runs, and the
# uninstaller's confirmation, its question about the settings and its end.
# The images land in OUT as NN-page.png.
set -euo pipefail
scripts=$1 probe=$2 installer=$3 out=$4

if [ -z "${PRAMEL_SCREENSHOT_DISPLAY:-}" ]; then
  mkdir -p "$out"
  exec env PRAMEL_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

rm -rf "$out/prefix"
# shellcheck source=/dev/null
. "$scripts/wine-env.sh" "$out/prefix"
"$scripts/setup-wineprefix.sh" --desktop "$out/prefix" >/dev/null
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1' EXIT

winpath() { echo "Z:$(realpath -m "$1")" | tr / '\\'; }
shot() { sleep 1.5; import -window root "$out/$1.png"; echo "$out/$1.png"; }
# Clicks button $1 of the front installer window once one is up.
step() {
  local i
  for i in $(seq 40); do
    if wine "$probe" step "$1" </dev/null >/dev/null 2>&1; then return 0; fi
    sleep 0.5
  done
  echo "take-screenshots.sh: no installer window" >&2
  return 1
}
installed='C:\Program Files\Pramel'

wine "$(winpath "$installer")" </dev/null >/dev/null 2>&1 &
step 0
shot 01-welcome
step 1
shot 02-folder
step 1
sleep 4
shot 03-finish
step 1
wait

# A second run while the editor is up: the refusal. The probe closes the
# editor afterwards, which then writes its settings.
wine "$probe" while-editor "$installed\\Pramel.exe" 60 "$(winpath "$installer")" </dev/null >/dev/null 2>&1 &
step 0
shot 04-editor-running
step 2
wait

# The editor wrote its settings: the uninstaller asks about them.
wine "$installed\\Uninstall.exe" </dev/null >/dev/null 2>&1 &
step 0
shot 05-uninstall-confirm
step 1
shot 06-uninstall-settings
step 6
sleep 3
shot 07-uninstall-finish
step 1
wait
