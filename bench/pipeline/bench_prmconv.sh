#!/usr/bin/env bash
# Throughput and peak memory of prmconv against xxd on the same random file,
# in one run: dump against `xxd -g1`, pack against `xxd -r` (each reversing
# its own dump). Prints medians of several runs and the ratios.
#   bench/pipeline/bench_prmconv.sh [MiB=64] [runs=5]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mib=${1:-64}
runs=${2:-5}
build=$root/build/release
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPRAMEL_SANITIZE=OFF -DPRAMEL_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target prmconv >/dev/null
prmconv=$build/tools/prmconv/prmconv
command -v xxd >/dev/null || { echo "xxd is missing"; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is missing"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c $((mib * 1048576)) /dev/urandom > "$work/in.bin"
"$prmconv" dump "$work/in.bin" "$work/in.txt"
xxd -g1 "$work/in.bin" > "$work/in.xxd"

# measure NAME COMMAND...: runs it $runs times, prints "median-seconds peak-KiB".
measure() {
  local out=$work/times
  : > "$out"
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %M" -a -o "$out" "$@" > /dev/null
  done
  sort -n "$out" | awk '{t[NR]=$1; if ($2>m) m=$2} END {print t[int((NR+1)/2)], m}'
}

read -r dump_t dump_m < <(measure "$prmconv" dump "$work/in.bin" "$work/o.txt")
read -r xxd_t xxd_m < <(measure sh -c "xxd -g1 '$work/in.bin' > '$work/o.xxd'")
read -r pack_t pack_m < <(measure "$prmconv" pack "$work/in.txt" "$work/o.bin")
read -r xxdr_t xxdr_m < <(measure sh -c "xxd -r '$work/in.xxd' > '$work/o2.bin'")
cmp -s "$work/in.bin" "$work/o.bin" || { echo "pack did not give the file back"; exit 1; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a <= 0) a = 0.01; printf "%.1f", b / a }'; }
echo "input: ${mib} MiB random, median of ${runs} runs"
printf '%-22s %8s s  peak %7s KiB\n' "prmconv dump" "$dump_t" "$dump_m" "xxd -g1" "$xxd_t" "$xxd_m" \
  "prmconv pack" "$pack_t" "$pack_m" "xxd -r" "$xxdr_t" "$xxdr_m"
echo "dump is $(ratio "$dump_t" "$xxd_t")x as fast as xxd -g1; pack is $(ratio "$pack_t" "$xxdr_t")x as fast as xxd -r"
