# shellcheck shell=bash
# Sourced by the Wine scripts: `. scripts/wine-env.sh PREFIX`.
# Exports the settings every Windows program of the project runs with:
#   WINEPREFIX        the given prefix (made absolute); never ~/.wine
#   WINEDEBUG         -all unless the caller chose channels (WINEDEBUG=+relay ...)
#   WINEDLLOVERRIDES  no Mono or Gecko installer prompts, no desktop menu entries
#   LC_ALL            ja_JP.UTF-8, which makes Wine's ANSI code page 932
# The same values are in cmake/mingw-w64.cmake (PRAMEL_TEST_ENVIRONMENT).
pramel_prefix="${1:?wine-env.sh: prefix folder missing}"
case "$pramel_prefix" in
  /*) ;;
  *) pramel_prefix="$PWD/$pramel_prefix" ;;
esac
export WINEPREFIX="$pramel_prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export LC_ALL=ja_JP.UTF-8
unset WINEARCH
unset pramel_prefix
