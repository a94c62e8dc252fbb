#!/usr/bin/env bash
# Runs a Windows program under Wine in a project prefix:
#
#   scripts/wine-run.sh [--prefix DIR] program.exe [arguments...]
#
# The prefix is DIR, else $WINEPREFIX; there is no fallback to ~/.wine. The
# prefix is created on first use (scripts/setup-wineprefix.sh). The program's
# exit code is this script's exit code.
#
# The Windows tree uses this as its CMAKE_CROSSCOMPILING_EMULATOR, so CTest
# runs every Windows test through it.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

prefix="${WINEPREFIX:-}"
if [ "${1:-}" = "--prefix" ]; then
  [ $# -ge 2 ] || { echo "wine-run.sh: --prefix needs a folder" >&2; exit 2; }
  prefix="$2"
  shift 2
fi
if [ -z "$prefix" ]; then
  echo "wine-run.sh: no Wine prefix (use --prefix DIR or set WINEPREFIX)" >&2
  exit 2
fi
if [ $# -lt 1 ]; then
  echo "usage: wine-run.sh [--prefix DIR] program.exe [arguments...]" >&2
  exit 2
fi

# shellcheck source=wine-env.sh
. "$here/wine-env.sh" "$prefix"

"$here/setup-wineprefix.sh" "$WINEPREFIX"

# Wine's service processes (services.exe, winedevice.exe, explorer.exe) are
# started by the first Wine program of a session and inherit that program's
# standard handles. If the program's output goes to a pipe (CTest, `| grep`),
# the pipe would then stay open after the program ends and the reader would
# wait for ever. So unless a Wine session is already up in this prefix (for
# example the persistent one scripts/wineserver.sh starts for a test run),
# start one here with the standard handles on /dev/null, and let it linger a
# little so back-to-back runs share it. (`wineserver -k0` sends no signal; it
# only tells whether a server is running in the prefix.)
if ! wineserver -k0 >/dev/null 2>&1; then
  wineserver -p"${PRAMEL_WINESERVER_LINGER:-15}" </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
fi

exec wine "$@"
