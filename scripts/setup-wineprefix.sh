#!/usr/bin/env bash
# Creates and configures a project Wine prefix:
#
#   scripts/setup-wineprefix.sh [--desktop] PREFIX
#
# - wineboot without the Mono and Gecko installer prompts;
# - the null graphics driver, so windows, dialogs and rendering work with no
#   X server (tests drive the editor headless);
# - no crash dialog: a crashing program prints its backtrace and ends instead
#   of waiting for a click nobody can give (with the null driver the dialog
#   is invisible and the program would hang for ever);
# - font replacements that give the Japanese face names the user interface
#   asks for ("ＭＳ ゴシック", ...) to IPA Gothic, so they exist by name.
#
# --desktop makes a prefix for people instead: windows on the X display
# ($DISPLAY) and Wine's usual crash dialog; the rest is the same.
#
# Does nothing when the prefix is already set up (marker file). Runs under a
# lock, so parallel test runs that all find a fresh prefix set it up once.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
desktop=0
if [ "${1:-}" = "--desktop" ]; then desktop=1; shift; fi
[ $# -eq 1 ] || { echo "usage: setup-wineprefix.sh [--desktop] PREFIX" >&2; exit 2; }

# shellcheck source=wine-env.sh
. "$here/wine-env.sh" "$1"
prefix="$WINEPREFIX"

# Raise the number when the steps below change: existing prefixes then get
# the new steps on their next use.
marker="$prefix/.pramel-prefix-1"
[ -f "$marker" ] && exit 0

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$marker" ] && exit 0

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup-wineprefix.sh: locale ja_JP.UTF-8 is missing; Wine would not use code page 932" >&2
  echo "  (scripts/install-deps.sh generates it)" >&2
  exit 1
fi

echo "setting up Wine prefix $prefix"
server_was_up=0
if wineserver -k0 >/dev/null 2>&1; then server_was_up=1; fi

# Every Wine call has its standard handles on /dev/null and the lock closed:
# the service processes the first call starts inherit open files and outlive
# this script (see wine-run.sh).
quiet() { "$@" </dev/null >/dev/null 2>&1 9>&-; }

# Output goes to a file, never a pipe: a pipe inherited by the service
# processes would never close.
log="$prefix.setup.log"
reg_add() {
  if ! wine reg add "$@" /f </dev/null >"$log" 2>&1 9>&-; then
    echo "setup-wineprefix.sh: wine reg add $* failed:" >&2
    cat "$log" >&2
    exit 1
  fi
}

quiet wineboot -i || { echo "setup-wineprefix.sh: wineboot failed in $prefix" >&2; exit 1; }

if [ "$desktop" -eq 0 ]; then
  reg_add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null
  reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
fi

replacements='HKCU\Software\Wine\Fonts\Replacements'
for face in 'ＭＳ ゴシック' 'MS Gothic' 'ＭＳ Ｐゴシック' 'MS UI Gothic'; do
  reg_add "$replacements" /v "$face" /t REG_SZ /d IPAGothic
done

# The registry reaches the prefix's files when the Wine session ends. Wait for
# that, unless a session was already running before (then it is someone
# else's, possibly persistent, and it saves the registry when it ends).
if [ "$server_was_up" -eq 0 ]; then
  wineserver -w 9>&-
fi

rm -f "$log"
touch "$marker"
