#!/usr/bin/env bash
# Every test of the project, from a fresh Debian machine or an existing tree:
#
#   bash scripts/test.sh
#
#  1. installs missing packages (scripts/install-deps.sh)
#  2. builds build/native, build/fuzz and build/win (scripts/build.sh)
#  3. runs the native tests (CTest, sanitizers)
#  4. runs each fuzz target briefly over its seed corpus (scripts/run-fuzz.sh)
#  5. runs the Windows tests under Wine (CTest), with one persistent Wine
#     session in the tree's private prefix for the whole run
#
# Goes on after a failed step so one run shows everything that is wrong;
# ends with the line "N passed, N failed" (tests and fuzz targets passed or
# failed, plus steps that failed) and exits non-zero when anything failed.
#
# Environment: PRAMEL_FUZZ_SECONDS (per target, default 20),
# PRAMEL_TEST_TIMEOUT (per test without its own TIMEOUT, default 300 s),
# PRAMEL_WIN_TEST_JOBS (default 1: the Windows tests share one Wine session,
# its registry and its named objects), PRAMEL_JOBS, PRAMEL_BUILD_ROOT.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build_root="${PRAMEL_BUILD_ROOT:-$root/build}"
export PRAMEL_BUILD_ROOT="$build_root"
fuzz_seconds="${PRAMEL_FUZZ_SECONDS:-20}"
test_timeout="${PRAMEL_TEST_TIMEOUT:-300}"
win_jobs="${PRAMEL_WIN_TEST_JOBS:-1}"
native_jobs="${PRAMEL_JOBS:-2}"

passed=0
failed=0
problems=()
run_start=$SECONDS

step() { echo; echo "==== [$((SECONDS - run_start)) s] $*"; }
step_failed() {
  echo "==== FAILED: $1"
  problems+=("$1")
  failed=$((failed + 1))
}
finish() {
  echo
  echo "==== done in $((SECONDS - run_start)) s"
  if [ ${#problems[@]} -gt 0 ]; then
    printf '  failed: %s\n' "${problems[@]}"
  fi
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
}

# Adds the counts of a CTest summary ("95% tests passed, 1 tests failed out
# of 20") to the totals. A run without that line (no tests, CTest error) is a
# failed step.
count_ctest() {
  local what="$1" log="$2" rc="$3" line nfailed ntotal
  line="$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)"
  if [ -z "$line" ]; then
    step_failed "$what (no test results, ctest exit code $rc)"
    return
  fi
  nfailed="$(sed -E 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
  ntotal="$(sed -E 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")"
  passed=$((passed + ntotal - nfailed))
  failed=$((failed + nfailed))
  [ "$nfailed" -eq 0 ] || problems+=("$what: $nfailed of $ntotal tests")
  if [ "$nfailed" -eq 0 ] && [ "$rc" -ne 0 ]; then
    step_failed "$what (ctest exit code $rc)"
  fi
}

run_ctest() {
  local what="$1" dir="$2" jobs="$3" log rc=0
  log="$build_root/$what.ctest.log"
  ctest --test-dir "$dir" --output-on-failure --no-tests=error \
        --timeout "$test_timeout" -j "$jobs" 2>&1 | tee "$log" || rc=${PIPESTATUS[0]}
  count_ctest "$what" "$log" "$rc"
}

step "installing what is missing"
if ! "$root/scripts/install-deps.sh"; then
  step_failed "installing packages"
  finish
  exit 1
fi

mkdir -p "$build_root"
for tree in native fuzz win; do
  step "building build/$tree"
  "$root/scripts/build.sh" "$tree" || step_failed "building build/$tree"
done

step "native tests"
if [ -f "$build_root/native/CTestTestfile.cmake" ]; then
  run_ctest native-tests "$build_root/native" "$native_jobs"
else
  step_failed "native tests (build/native is not configured)"
fi

step "fuzzing each target for $fuzz_seconds s"
if [ -d "$build_root/fuzz/fuzz" ]; then
  fuzz_log="$build_root/fuzz.log"
  rc=0
  "$root/scripts/run-fuzz.sh" "$fuzz_seconds" 2>&1 | tee "$fuzz_log" || rc=${PIPESTATUS[0]}
  line="$(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed$' "$fuzz_log" | tail -n 1 || true)"
  if [ -n "$line" ]; then
    read -r fp ff <<<"$(sed -E 's/^fuzz: ([0-9]+) passed, ([0-9]+) failed$/\1 \2/' <<<"$line")"
    passed=$((passed + fp))
    failed=$((failed + ff))
    [ "$ff" -eq 0 ] || problems+=("fuzz: $ff targets")
  else
    step_failed "fuzzing (exit code $rc)"
  fi
else
  step_failed "fuzzing (build/fuzz is not configured)"
fi

step "Windows tests under Wine"
if [ -f "$build_root/win/CTestTestfile.cmake" ]; then
  prefix="$(sed -n 's/^PRAMEL_WINEPREFIX:[A-Z]*=//p' "$build_root/win/CMakeCache.txt")"
  prefix="${prefix:-$build_root/win/wineprefix}"
  trap '"$root/scripts/wineserver.sh" stop "$prefix" || true' EXIT
  if "$root/scripts/wineserver.sh" start "$prefix"; then
    run_ctest win-tests "$build_root/win" "$win_jobs"
  else
    step_failed "starting Wine in $prefix"
  fi
  "$root/scripts/wineserver.sh" stop "$prefix" || true
  trap - EXIT
else
  step_failed "Windows tests (build/win is not configured)"
fi

finish
