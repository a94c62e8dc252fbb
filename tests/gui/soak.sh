#!/usr/bin/env bash
# The editor's soak test over many seeds (the test command runs one short
# pass):
#
#   tests/gui/soak.sh [--seeds N] [--first SEED] [--actions N]
#
# Runs Soak.* of the built GUI tests once per seed (default 20 seeds from
# 1, 1000 actions each) in the build tree's Wine prefix; prints each run's
# figures, then the total actions, minutes, actions per second, and the
# seeds that failed (their last actions are in soak-SEED.log). Exits
# non-zero when a seed failed. Environment: PRAMEL_BUILD_ROOT, PRAMEL_PREFIX
# (a Wine prefix of its own, so that other runs can go on meanwhile; the
# library must be registered there).
set -u
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${PRAMEL_BUILD_ROOT:-$root/build}"
seeds=20
first=1
actions=1000
while [ $# -gt 1 ]; do
  case "$1" in
    --seeds) seeds="$2" ;;
    --first) first="$2" ;;
    --actions) actions="$2" ;;
    *) echo "usage: soak.sh [--seeds N] [--first SEED] [--actions N]" >&2; exit 2 ;;
  esac
  shift 2
done
cd "$build/win/tests/gui" || exit 2
prefix="${PRAMEL_PREFIX:-../../wineprefix}"
export LC_ALL=ja_JP.UTF-8
total=0
failed=()
start=$SECONDS
for ((seed = first; seed < first + seeds; seed++)); do
  log="soak-$seed.log"
  PRAMEL_SOAK_SEED=$seed PRAMEL_SOAK_ACTIONS=$actions timeout $((actions * 3 + 120)) \
    "$root/scripts/wine-run.sh" --prefix "$prefix" pramel_gui_tests.exe --gtest_filter='Soak.*' \
    >"$log" 2>&1
  rc=$?
  line="$(grep -a '^soak seed' "$log" | tail -n 1)"
  echo "${line:-soak seed $seed: no figures (exit $rc)}"
  done_actions="$(sed -nE 's/^soak seed [0-9]+: ([0-9]+) actions.*/\1/p' <<<"$line")"
  total=$((total + ${done_actions:-0}))
  if [ "$rc" -ne 0 ]; then failed+=("$seed"); else rm -f "$log"; fi
done
minutes=$(awk -v s=$((SECONDS - start)) 'BEGIN { printf "%.1f", s / 60 }')
rate=$(awk -v a=$total -v s=$((SECONDS - start)) 'BEGIN { printf "%.2f", (s > 0 ? a / s : 0) }')
echo "$total actions over $seeds seeds in $minutes minutes ($rate per second); failed seeds: ${failed[*]:-none}"
[ ${#failed[@]} -eq 0 ]
