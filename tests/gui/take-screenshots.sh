#!/usr/bin/env bash
# Captures the editor's windows on a virtual X display:
#
#   tests/gui/take-screenshots.sh BUILD_TEST_FOLDER
#
# BUILD_TEST_FOLDER holds pramel_gui_tests.exe and Pramel.exe (the build
# tree's tests/gui). Uses a Wine prefix of its own with windows on the X
# display (the test prefix has the null graphics driver, which draws nothing
# another process can copy), runs the tests that take screenshots under
# xvfb-run, and converts the bitmaps to PNG in BUILD_TEST_FOLDER/screenshots.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
tests="$(cd "${1:?build test folder missing}" && pwd)"
prefix="$tests/wineprefix-x"
shots="$tests/screenshots"
mkdir -p "$shots"

"$root/scripts/setup-wineprefix.sh" --desktop "$prefix"
# Wine draws the caption buttons with Marlett, which it finds only in the
# prefix's font folder.
fonts="$prefix/drive_c/windows/Fonts"
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi
# shellcheck source=../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh" "$prefix"

# The editor starts only with its template library registered.
velda="$tests/../../library/com/Velda.dll"
if [ -f "$velda" ]; then
  wine regsvr32 /s "Z:$(realpath "$velda" | tr / '\\')" </dev/null >/dev/null 2>&1 || true
  # The Wine session it started has no display: end it, so the test run
  # starts one on the virtual display.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
fi

cd "$tests"
PRAMEL_SCREENSHOTS="Z:$shots" timeout 300 xvfb-run -a -s "-screen 0 1280x900x24" \
  wine pramel_gui_tests.exe --gtest_filter='Screens.*:BinaryMode.Shows*:BinaryMode.Display*:Startup.Untitled*:FrameBars.BarsDock*:FrameBars.Dragging*:TemplateMode.BitmapAndWave*:TemplateMode.SeveralTemplates*' \
  </dev/null >"$shots/run.log" 2>&1 || { echo "screenshot run failed, see $shots/run.log" >&2; exit 1; }
for bmp in "$shots"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$shots"/*.png
