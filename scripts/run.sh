#!/usr/bin/env bash
# The main job, from a fresh Debian machine or an existing tree:
#
#   bash scripts/run.sh [FILE...]
#
# Installs what is missing, builds the Windows binaries (build/win) and starts
# the editor, Pramel.exe, under Wine in the tree's private prefix
# (build/win/wineprefix) on the given files, or on a small sample file it
# writes to build/run/sample.bin.
#
# The prefix draws with Wine's null graphics driver (the GUI tests need no X
# server). The editor runs instead on a Wine desktop of its own, "Pramel",
# that explorer creates with the X11 driver: a window of $PRAMEL_DESKTOP_SIZE
# (default 1280x800) on the X display that holds the editor's windows. Only
# this run uses the X11 driver; the prefix keeps the null driver for its
# tests.
#
# - With a display ($DISPLAY): the editor shows there; this waits until it
#   shows the file, keeps a screenshot of its desktop in
#   build/run/screenshot.png and returns when the editor is closed.
# - Without one: the same under a virtual X server (xvfb-run -a); the
#   screenshot (import -window root) is then the only way to see it. With a
#   terminal on standard input the editor keeps running until Ctrl+C;
#   otherwise the script closes it and ends after the screenshot.
#
# Ctrl+C closes the editor (unsaved edits are lost) and ends the script.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_root="${PRAMEL_BUILD_ROOT:-$root/build}"
export PRAMEL_BUILD_ROOT="$build_root"
win="$build_root/win"
work="$build_root/run"
desktop_name="Pramel"
desktop_size="${PRAMEL_DESKTOP_SIZE:-1280x800}"
screenshot="$work/screenshot.png"
log="$work/wine.log"

# What the prefix, the editor and the helper are; set by locate().
prefix=""
editor=""
drive=""

locate() {
  prefix="$(sed -n 's/^PRAMEL_WINEPREFIX:[A-Z]*=//p' "$win/CMakeCache.txt" 2>/dev/null || true)"
  prefix="${prefix:-$win/wineprefix}"
  editor="$win/dist/Pramel.exe"
  [ -f "$editor" ] || editor=""
  drive="$(find_exe pramel_drive.exe)"
}

find_exe() {
  find "$win" -path "$win/wineprefix*" -prune -o -path '*/CMakeFiles' -prune -o \
       -type f -name "$1" -print | head -n 1
}

# A Unix path as Windows programs see it (drive Z: is the Unix root).
windows_path() {
  local path
  path="$(realpath -m "$1")"
  printf 'Z:%s' "${path//\//\\}"
}

wine_in_prefix() { "$root/scripts/wine-run.sh" --prefix "$prefix" "$@"; }

close_editor() {
  [ -n "$drive" ] || return 0
  wine_in_prefix "$drive" close "$desktop_name" 20 </dev/null >>"$log" 2>&1 || true
}

# The desktop goes a moment after the last program on it; wait for that
# (up to 10 s) before the X server may go.
desktop_job=""
desktop_ended() {
  local i
  [ -n "$desktop_job" ] || return 0
  for i in $(seq 50); do
    kill -0 "$desktop_job" 2>/dev/null || return 0
    sleep 0.2
  done
}

# Runs on the X display: starts the editor on its desktop, waits until it
# shows a file, takes the screenshot, then waits for the editor to end, or
# with $2 "close" closes it at once. $1 is "root" to capture the whole
# screen (Xvfb, sized like the desktop), else the desktop's window.
show_editor() {
  local capture="$1" after="$2"
  shift 2
  local args=() file shown rc=0
  for file in "$@"; do args+=("$(windows_path "$file")"); done
  : >"$log"
  # Its own session: Ctrl+C in the terminal reaches this script, which then
  # closes the editor properly, not the Wine processes directly.
  setsid "$root/scripts/wine-run.sh" --prefix "$prefix" \
    explorer "/desktop=$desktop_name,$desktop_size,x11" "$(windows_path "$editor")" "${args[@]}" \
    </dev/null >>"$log" 2>&1 &
  desktop_job=$!
  shown="$(wine_in_prefix "$drive" shown "$desktop_name" 120 </dev/null 2>>"$log")" || rc=$?
  shown="$(printf '%s' "$shown" | iconv -c -f CP932 -t UTF-8 | tr -d '\r')"
  case "$rc" in
    0) echo "run.sh: the editor shows ${shown}" ;;
    3) echo "run.sh: the editor asks: ${shown}" ;;
    *) echo "run.sh: the editor did not show its window within 120 s (see $log)" >&2
       close_editor
       return 1 ;;
  esac
  sleep 1  # the last repaint of the first view
  if [ "$capture" = root ]; then
    import -window root "$screenshot"
  else
    import -window "$desktop_name - Wine desktop" "$screenshot" 2>>"$log" || import -window root "$screenshot"
  fi
  echo "run.sh: screenshot in $screenshot"
  if [ "$after" = close ]; then
    close_editor
    desktop_ended
    return 0
  fi
  if [ "$capture" = root ]; then
    echo "run.sh: Pramel runs on a virtual display; press Ctrl+C to end it"
  else
    echo "run.sh: Pramel runs on $DISPLAY; close it (or press Ctrl+C) to end"
  fi
  wine_in_prefix "$drive" wait "$desktop_name" </dev/null >>"$log" 2>&1 || true
  desktop_ended
}

# Internal: the part that runs inside xvfb-run (see below).
if [ "${1:-}" = "--inside-xvfb" ]; then
  shift
  locate
  show_editor root "$@"
  exit
fi

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" win --only Pramel,Velda,pramel_dist,pramel_drive
locate
for need in "$editor" "$drive"; do
  if [ -z "$need" ]; then
    echo "run.sh: Pramel.exe or pramel_drive.exe was not built in $win" >&2
    exit 1
  fi
done

mkdir -p "$work"
files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  # A small file with a bit of everything: a header, a run of byte values,
  # text, and a code page 932 string.
  # A small bitmap: it opens in template mode with the bitmap template.
  sample="$work/sample.bmp"
  python3 "$root/scripts/make-sample-bmp.py" "$sample" 16 8
  files=("$sample")
fi
for file in "${files[@]}"; do
  [ -f "$file" ] || { echo "run.sh: no such file: $file" >&2; exit 1; }
done

# This Wine finds its own fonts only in the prefix's font folder: give it
# Marlett there (a symbol font; no text of the editor or the tests uses it).
"$root/scripts/setup-wineprefix.sh" "$prefix"
fonts="$prefix/drive_c/windows/Fonts"
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi

# Template scripts create Velda's objects: register the library in the
# prefix, as an installation on Windows does with regsvr32.
# The library of the installed folder, so that its templates are listed.
velda="$win/dist/ライブラリ/Velda.dll"
[ -f "$velda" ] || velda=""
if [ -n "$velda" ]; then
  wine_in_prefix regsvr32 /s "$(windows_path "$velda")" </dev/null >/dev/null 2>&1 ||
    echo "run.sh: registering Velda.dll failed; templates will not run" >&2
fi

trap 'echo; echo "run.sh: closing the editor"; close_editor' INT TERM
if [ -n "${DISPLAY:-}" ]; then
  show_editor desktop keep "${files[@]}"
  exit
fi
# No display: a virtual one, as large as the editor's desktop, in its own
# session so that Ctrl+C comes to the trap above (which closes the editor,
# after which the inner run and xvfb-run end by themselves). The editor
# stays up only when someone at a terminal can end it.
after=close
[ -t 0 ] && after=keep
setsid xvfb-run -a -s "-screen 0 ${desktop_size}x24" \
  bash "${BASH_SOURCE[0]}" --inside-xvfb "$after" "${files[@]}" </dev/null &
xvfb=$!
status=0
wait "$xvfb" || status=$?
# A signal interrupts the first wait; the trap has closed the editor by then.
while kill -0 "$xvfb" 2>/dev/null; do wait "$xvfb" || status=$?; done
exit "$status"
