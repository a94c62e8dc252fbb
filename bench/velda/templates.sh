#!/usr/bin/env bash
# Decode throughput of the template library under Wine: each format's
# template over the largest file of its corpus, and the PNG template over a
# 10 MiB PNG made here; next to them, on the same files in the same run, the
# hexadecimal dump of binary mode (prmconv.exe dump under Wine), the plain
# conversion every template's text is measured against.
#
#   bench/velda/templates.sh [CORPUS_DIR]
#
# The corpus is gathered into CORPUS_DIR (default: a temporary folder) by
# tests/corpus/gather-*.sh. Times are those of the whole script process
# (cscript's start, the template, the library writing the text), as the
# editor waits for them. Needs a built Windows and native tree with Velda.dll
# registered in the Windows tree's prefix (run the tree's tests once).
# Reports, asserts nothing. PRAMEL_BENCH_PNG_MIB sets the PNG's size.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${PRAMEL_BUILD_ROOT:-$root/build}"
prefix="$build/win/wineprefix"
runner="$build/win/tests/win/velda/velda_run.exe"
prmconv="$build/win/tools/prmconv/prmconv.exe"
png_mib="${PRAMEL_BENCH_PNG_MIB:-10}"
for need in "$runner" "$prmconv"; do
  [ -f "$need" ] || { echo "templates.sh: $need not found; build the Windows tree first" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
corpus="${1:-$work/corpus}"
mkdir -p "$corpus" "$work/run" "$work/templates"
for gather in "$root"/tests/corpus/gather-*.sh; do bash "$gather" "$corpus" >/dev/null 2>&1 || true; done
for t in "$root"/examples/templates/*; do iconv -f UTF-8 -t CP932 -o "$work/templates/$(basename "$t")" "$t"; done

# A PNG of noise, so that deflate cannot shrink it: 32 KiB IDAT chunks, as
# common encoders write them.
python3 - "$work/big.png" "$png_mib" <<'PY'
import random, struct, sys, zlib
path, mib = sys.argv[1], int(sys.argv[2])
width = 1024
height = mib * 1024 * 1024 // (width * 3 + 1)
rnd = random.Random(7)
raw = bytes(rnd.getrandbits(8) for _ in range((width * 3 + 1) * 256))
rows = (raw * (height // 256 + 1))[:(width * 3 + 1) * height]
data = zlib.compress(rows, 1)
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
out = [b"\x89PNG\r\n\x1a\n", chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))]
out += [chunk(b"IDAT", data[i:i + 32768]) for i in range(0, len(data), 32768)]
out.append(chunk(b"IEND", b""))
open(path, "wb").write(b"".join(out))
PY

winpath() { echo "Z:$(realpath -m "$1")" | tr / '\\'; }
wine_run() { "$root/scripts/wine-run.sh" --prefix "$prefix" "$@" </dev/null; }
now_ms() { date +%s%3N; }

# shellcheck source=../../tests/corpus/formats.sh
source "$root/tests/corpus/formats.sh"

# measure FORMAT FILE: one line of figures.
measure() {
  local format="$1" file="$2" template bytes out ms status text dump_start dump_ms
  template="$(template_of "$format")"
  bytes="$(stat -c %s "$file")"
  rm -f "$work"/run/*
  out="$(wine_run "$runner" --quiet --work "$(winpath "$work/run")" "$(winpath "$work/templates/$template")" \
           "$(winpath "$file")" | tr -d '\r')"
  ms="$(sed -nE 's/^--- exit code [0-9]+.*, ([0-9]+) ms$/\1/p' <<<"$out")"
  status="$(sed -nE 's/^status (-?[0-9]+) .*/\1/p' <<<"$out")"
  text="$(stat -c %s "$work/run/output.txt" 2>/dev/null || echo 0)"
  dump_start="$(now_ms)"
  wine_run "$prmconv" dump "$(winpath "$file")" "$(winpath "$work/dump.txt")" >/dev/null
  dump_ms=$(( $(now_ms) - dump_start ))
  awk -v f="$format" -v t="$template" -v b="$bytes" -v ms="${ms:-0}" -v s="${status:-?}" -v x="$text" -v d="$dump_ms" \
    'BEGIN { mib = b / 1048576; if (ms < 1) ms = 1; if (d < 1) d = 1;
             printf "%-5s %-12s %10d %7d ms %8.2f MiB/s %7.1f MiB text  status %-4s | dump %6d ms %8.2f MiB/s\n",
                    f, t, b, ms, mib * 1000 / ms, x / 1048576, s, d, mib * 1000 / d }'
}

echo "Template decode under Wine: the largest corpus file of each format, then a ${png_mib} MiB PNG"
printf '%-5s %-12s %10s %10s %14s %14s %-11s | %s\n' format template bytes time rate text result "binary-mode dump, same file"
for format in $corpus_formats; do
  largest="$(find "$corpus/$format" -maxdepth 1 -type f ! -name 'bad*' -printf '%s %p\n' 2>/dev/null | sort -n | tail -n 1 | cut -d' ' -f2-)"
  [ -n "$largest" ] || { echo "$format: no files"; continue; }
  measure "$format" "$largest"
done
measure png "$work/big.png"
