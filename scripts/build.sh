#!/usr/bin/env bash
# Configures (first time only) and builds the project's build trees:
#
#   scripts/build.sh [native] [fuzz] [win] [--only TARGET,...]
#
# No tree named: all three. --only builds just the named targets that the
# trees have (run.sh uses it so a test that does not compile yet cannot keep
# the programs from being built).
#
#   build/native  host g++, Debug, AddressSanitizer + UndefinedBehaviorSanitizer:
#                 portable core, unit tests, benchmarks, prmconv
#   build/fuzz    clang with libFuzzer (PRAMEL_FUZZ=ON): the fuzz targets only
#   build/win     mingw-w64 (cmake/mingw-w64.cmake), Release: Pramel.exe,
#                 Velda.dll, the tools and the tests that run under Wine
#
# The first run configures a tree with the settings below; later runs
# re-configure it with its cached settings and rebuild only what changed.
# Delete a tree to start it afresh.
#
# Environment: PRAMEL_JOBS (parallel jobs, default 2), PRAMEL_BUILD_ROOT
# (where the trees go, default <source>/build).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_root="${PRAMEL_BUILD_ROOT:-$root/build}"
jobs="${PRAMEL_JOBS:-2}"

usage() { echo "usage: build.sh [native] [fuzz] [win] [--only TARGET,...]" >&2; exit 2; }
trees=()
only=()
while [ $# -gt 0 ]; do
  case "$1" in
    native|fuzz|win) trees+=("$1") ;;
    --only) [ $# -ge 2 ] || usage; IFS=, read -r -a only <<<"$2"; shift ;;
    *) usage ;;
  esac
  shift
done
[ ${#trees[@]} -gt 0 ] || trees=(native fuzz win)

configure() {
  local tree="$1" dir="$build_root/$1"
  local args=(-S "$root" -B "$dir" -G "Unix Makefiles" -Wno-dev)
  case "$tree" in
    native) args+=(-DCMAKE_BUILD_TYPE=Debug -DPRAMEL_SANITIZE=ON
                   -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++) ;;
    fuzz)   args+=(-DPRAMEL_FUZZ=ON
                   -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
    win)    args+=(-DCMAKE_BUILD_TYPE=Release
                   -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake") ;;
  esac
  cmake "${args[@]}"
}

failed=()
for tree in "${trees[@]}"; do
  start=$SECONDS
  echo "== build/$tree"
  # Configure every time (a few seconds): the CMake files add a folder only
  # when it has a CMakeLists.txt, and a folder that appeared since the last
  # run is seen only by a new configure.
  if [ -f "$build_root/$tree/CMakeCache.txt" ]; then
    if ! cmake -S "$root" -B "$build_root/$tree" -Wno-dev >/dev/null; then
      echo "build.sh: configuring build/$tree failed" >&2
      failed+=("$tree")
      continue
    fi
  elif ! configure "$tree"; then
    # Next run configures it from scratch, with the settings above.
    rm -f "$build_root/$tree/CMakeCache.txt"
    echo "build.sh: configuring build/$tree failed" >&2
    failed+=("$tree")
    continue
  fi
  targets=()
  if [ ${#only[@]} -gt 0 ]; then
    known="$(cmake --build "$build_root/$tree" --target help 2>/dev/null || true)"
    for t in "${only[@]}"; do
      if grep -qE "^\.\.\. $t( |\$)" <<<"$known"; then targets+=(--target "$t"); fi
    done
    if [ ${#targets[@]} -eq 0 ]; then
      echo "== build/$tree has none of: ${only[*]}"
      continue
    fi
  fi
  if ! cmake --build "$build_root/$tree" --parallel "$jobs" "${targets[@]}"; then
    echo "build.sh: building build/$tree failed" >&2
    failed+=("$tree")
    continue
  fi
  echo "== build/$tree done in $((SECONDS - start)) s"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "build.sh: failed: ${failed[*]}" >&2
  exit 1
fi
