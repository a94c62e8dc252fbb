#!/usr/bin/env bash
# Runs every libFuzzer target of the fuzz tree for a short while:
#
#   scripts/run-fuzz.sh [SECONDS]        (default 20 per target)
#   scripts/run-fuzz.sh --runs N         (N executions per target: the long run)
#
# Each target fuzzes a scratch copy of its seed corpus
# (fuzz/<folder>/corpus/<target>/), so the seeds in the source tree stay as
# they are. A crash, a leak, a sanitizer report or an input that runs longer
# than PRAMEL_FUZZ_TIMEOUT seconds (default 10) fails the target; the input
# that did it is kept in build/fuzz/artifacts/ to reproduce with
#   build/fuzz/fuzz/<folder>/<target> build/fuzz/artifacts/<file>
#
# Prints one line per target with the number of executions, then
#   fuzz: N passed, N failed
# and exits non-zero when a target failed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tree="${PRAMEL_BUILD_ROOT:-$root/build}/fuzz"

if [ "${1:-}" = "--runs" ]; then
  [ $# -ge 2 ] || { echo "usage: run-fuzz.sh [SECONDS] | --runs N" >&2; exit 2; }
  limit=(-runs="$2")
else
  seconds="${1:-20}"
  limit=(-max_total_time="$seconds")
fi
timeout_s="${PRAMEL_FUZZ_TIMEOUT:-10}"

if [ ! -d "$tree/fuzz" ]; then
  echo "run-fuzz.sh: no fuzz tree in $tree (scripts/build.sh fuzz)" >&2
  exit 1
fi

mapfile -t targets < <(find "$tree/fuzz" -path '*/CMakeFiles' -prune -o \
                         -type f -name 'fuzz_*' -perm -u+x -print | sort)

artifacts="$tree/artifacts"
mkdir -p "$artifacts"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/pramel-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

passed=0
failed=0
for exe in "${targets[@]}"; do
  name="$(basename "$exe")"
  folder="$(dirname "${exe#"$tree/fuzz/"}")"
  seeds="$root/fuzz/$folder/corpus/$name"
  corpus="$scratch/$name"
  mkdir -p "$corpus"
  nseeds=0
  if [ -d "$seeds" ]; then
    cp -R "$seeds/." "$corpus/"
    nseeds=$(find "$corpus" -type f | wc -l)
  fi
  log="$scratch/$name.log"
  stamp="$scratch/$name.start"
  touch "$stamp"
  start=$SECONDS
  rc=0
  "$exe" "${limit[@]}" -timeout="$timeout_s" -print_final_stats=1 \
         -artifact_prefix="$artifacts/$name-" "$corpus" </dev/null >"$log" 2>&1 || rc=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)"
  if [ "$rc" -eq 0 ] && [ -n "$runs" ] && [ "$runs" -gt 0 ]; then
    took=$((SECONDS - start))
    echo "fuzz $name: ok, $runs executions in $took s ($((runs / (took > 0 ? took : 1))) per second) from $nseeds seeds"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAILED (exit code $rc, ${runs:-no} executions); its output ends with:"
    tail -n 40 "$log" | sed 's/^/  | /'
    found="$(find "$artifacts" -name "$name-*" -newer "$stamp" 2>/dev/null | head -n 5)"
    [ -z "$found" ] || echo "  inputs kept: $found"
    failed=$((failed + 1))
  fi
done

if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets in $tree/fuzz"
fi
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
