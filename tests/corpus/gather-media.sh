#!/usr/bin/env bash
# Collects bitmaps and WAVE files for the template corpus:
#
#   tests/corpus/gather-media.sh OUTDIR
#
# WAVE files found on the machine (sound themes, language test data) and
# ones written with Python's wave module; bitmaps written directly (every
# common bit depth and both row orders) and converted with ImageMagick.
# Deterministic; exits 0 even when a source is missing; prints the counts.
set -u
out="${1:?usage: gather-media.sh OUTDIR}"
mkdir -p "$out/bmp" "$out/wav"
limit=30

find /usr/share/sounds /usr/lib/python3* /usr/share/doc -name '*.wav' -size -3M 2>/dev/null | sort | head -n 15 |
  while read -r f; do cp "$f" "$out/wav/found-$(echo "$f" | md5sum | cut -c1-8).wav"; done

python3 - "$out" <<'PY'
import math, struct, sys, wave
out = sys.argv[1]
n = 0
for channels in (1, 2):
    for width in (1, 2, 3):
        for rate in (8000, 11025, 22050, 44100):
            frames = 50 + 37 * n
            with wave.open(f"{out}/wav/made-{n:02d}.wav", "wb") as w:
                w.setnchannels(channels)
                w.setsampwidth(width)
                w.setframerate(rate)
                data = bytearray()
                for i in range(frames * channels):
                    v = int(100 * math.sin(i / 3.0)) & ((1 << (8 * width)) - 1)
                    data += v.to_bytes(width, "little")
                w.writeframes(bytes(data))
            n += 1

def bitmap(width, height, bits, top_down=False):
    row = ((width * bits + 31) // 32) * 4
    colours = 1 << bits if bits <= 8 else 0
    table = b"".join(struct.pack("<BBBB", i * 7 & 255, i * 13 & 255, i * 29 & 255, 0) for i in range(colours))
    pixels = bytes((x * 31 + y * 17) & 255 for y in range(height) for x in range(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits, 0, len(pixels),
                       2835, 2835, colours, 0)
    offset = 14 + len(info) + len(table)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + table + pixels

k = 0
for bits in (1, 4, 8, 24, 32):
    for (w, h) in ((1, 1), (7, 3), (16, 9), (33, 5)):
        open(f"{out}/bmp/made-{k:02d}.bmp", "wb").write(bitmap(w, h, bits, top_down=(k % 3 == 0)))
        k += 1
PY

if command -v convert >/dev/null; then
  for recipe in "gradient:red-blue 24x16" "plasma:fractal 40x30" "xc:white 5x5"; do
    src="${recipe% *}"
    size="${recipe#* }"
    name="$(echo "$recipe" | tr -c 'a-z0-9' '_')"
    convert -size "$size" -seed 7 "$src" "BMP3:$out/bmp/im-$name.bmp" 2>/dev/null || true
    convert -size "$size" -seed 7 "$src" -type Palette "BMP3:$out/bmp/im-$name-8.bmp" 2>/dev/null || true
  done
fi

for kind in bmp wav; do
  ls "$out/$kind" | sort | tail -n +$((limit + 1)) | while read -r f; do rm -f "$out/$kind/$f"; done
  echo "$kind: $(ls "$out/$kind" | wc -l)"
done
exit 0
