#!/usr/bin/env bash
# Keeps one Wine session running in a prefix for the length of a test run:
#
#   scripts/wineserver.sh start PREFIX   sets the prefix up if needed, starts a
#                                        persistent wineserver and its service
#                                        processes
#   scripts/wineserver.sh stop PREFIX    ends that session (and every Wine
#                                        process still running in the prefix)
#
# Without it every Windows program pays Wine's start-up (about 2.7 s); with
# it a test program starts in a fraction of a second.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
[ $# -eq 2 ] || { echo "usage: wineserver.sh start|stop PREFIX" >&2; exit 2; }
action="$1"

# shellcheck source=wine-env.sh
. "$here/wine-env.sh" "$2"

case "$action" in
  start)
    "$here/setup-wineprefix.sh" "$WINEPREFIX"
    # A session that is already up may be one that ends by itself soon (the
    # wrapper's lingering one): replace it with one that stays.
    if wineserver -k0 >/dev/null 2>&1; then
      wineserver -k </dev/null >/dev/null 2>&1 || true
      wineserver -w </dev/null >/dev/null 2>&1 || true
    fi
    wineserver -p </dev/null >/dev/null 2>&1
    # The first program starts the service processes, which inherit its
    # standard handles: keep them away from any pipe of the caller's.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  stop)
    if wineserver -k0 >/dev/null 2>&1; then
      wineserver -k </dev/null >/dev/null 2>&1 || true
      wineserver -w </dev/null >/dev/null 2>&1 || true
    fi
    ;;
  *)
    echo "usage: wineserver.sh start|stop PREFIX" >&2
    exit 2
    ;;
esac
