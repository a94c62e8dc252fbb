#!/usr/bin/env bash
# Collects image files to run the image templates over:
#
#   tests/corpus/gather-images.sh OUTDIR
#
# Fills OUTDIR/png, OUTDIR/gif, OUTDIR/jpeg and OUTDIR/ico with up to 30
# files each. A fixed set of files is always made with ImageMagick and
# Python, so that every format has the variants that files found on a
# machine rarely show (animated and commented GIFs, a plain text extension,
# progressive JPEGs, restart markers, an Exif segment, cursors, palette
# icons, PNG-compressed icon images); the rest of the 30 are taken from
# what the machine has under /usr/share and /usr/lib, spread over the sorted
# list so that they are not all from one folder. What is still missing after
# that is made too. Everything made is deterministic. A missing tool or
# source only lowers the counts; the script always exits 0 and prints the
# count of each folder.
set -u

out="${1:?usage: gather-images.sh OUTDIR}"
limit=30
mkdir -p "$out/png" "$out/gif" "$out/jpeg" "$out/ico"
have_convert=0
command -v convert >/dev/null 2>&1 && have_convert=1
have_python=0
command -v python3 >/dev/null 2>&1 && have_python=1

# ImageMagick would otherwise put the creation time into PNG files.
im() { [ "$have_convert" -eq 1 ] && convert "$@" 2>/dev/null; return 0; }
png_opts=(-define "png:exclude-chunks=date,time")

# A conversion that failed may leave an empty file behind; it does not count.
count() { find "$1" -maxdepth 1 -type f -size 0 -delete; find "$1" -maxdepth 1 -type f | wc -l; }

# starts_with FILE HEX...: the file begins with one of the byte strings.
starts_with() {
  local head m
  head="$(od -An -tx1 -N8 -- "$1" 2>/dev/null | tr -d ' \n')"
  for m in "${@:2}"; do [[ "$head" == "$m"* ]] && return 0; done
  return 1
}

# take DIR N MAGIC PATTERN...: copy up to N found files matching the
# patterns, picked evenly from the sorted list of candidates. Only files
# whose first bytes are one of MAGIC (hex strings separated by "|") count:
# a file named .ico that holds a PNG is not an icon.
take() {
  local dir="$1" n="$2" magic
  IFS='|' read -r -a magic <<<"$3"
  shift 3
  local expr=() p
  for p in "$@"; do expr+=(-o -iname "$p"); done
  local list
  list="$(find /usr/share /usr/lib /usr/local/share /usr/local/lib -xdev -type f -size +0 \
            \( "${expr[@]:1}" \) 2>/dev/null | LC_ALL=C sort)"
  [ -n "$list" ] && [ "$n" -gt 0 ] || return 0
  local total step i=0 k=0 file ext
  total="$(wc -l <<<"$list")"
  step=$(( total / n )); [ "$step" -lt 1 ] && step=1
  while IFS= read -r file; do
    if [ $((i % step)) -eq 0 ] && [ "$k" -lt "$n" ] && starts_with "$file" "${magic[@]}"; then
      ext="${file##*.}"
      cp -- "$file" "$dir/found-$(printf '%02d' "$k").${ext,,}" 2>/dev/null && k=$((k + 1))
    fi
    i=$((i + 1))
  done <<<"$list"
}

# Pictures that ImageMagick draws the same way every time.
sources=(rose: logo: wizard: granite: netscape: "gradient:red-blue" "pattern:checkerboard"
         "plasma:fractal" "xc:white" "pattern:bricks")
picture() { # picture INDEX SIZE -> arguments that draw picture INDEX at SIZE
  local s="${sources[$(( $1 % ${#sources[@]} ))]}"
  case "$s" in
    pattern:*|gradient:*|plasma:*|xc:*) echo "-seed 7 -size $2 $s" ;;
    *) echo "$s -resize $2!" ;;
  esac
}

# --- PNG ---------------------------------------------------------------
d="$out/png"
im -size 1x1 xc:black "${png_opts[@]}" "$d/made-1x1.png"
im rose: -colors 16 "${png_opts[@]}" "PNG8:$d/made-palette.png"
im rose: -colorspace Gray "${png_opts[@]}" "$d/made-gray.png"
im logo: -resize 120x90 -interlace PNG "${png_opts[@]}" "$d/made-interlaced.png"
im gradient:white-black -resize 64x64 -depth 16 "${png_opts[@]}" "$d/made-16bit.png"
im rose: -alpha set -channel A -evaluate set 50% "${png_opts[@]}" "PNG32:$d/made-alpha.png"
im rose: -set comment "Velda テスト comment" "${png_opts[@]}" "$d/made-text.png"
take "$d" $((limit - $(count "$d"))) 89504e470d0a1a0a '*.png'
i=0
while [ "$(count "$d")" -lt "$limit" ] && [ "$i" -lt 60 ] && [ "$have_convert" -eq 1 ]; do
  # shellcheck disable=SC2046
  im $(picture "$i" "$((8 + i * 7))x$((6 + i * 5))") "${png_opts[@]}" "$d/made-$i.png"
  i=$((i + 1))
done

# --- GIF ---------------------------------------------------------------
d="$out/gif"
im rose: "GIF87:$d/made-87a.gif"
im -delay 20 -loop 0 rose: logo: -resize 70x46! wizard: -resize 70x46! "$d/made-animated.gif"
im rose: -comment "Velda comment block" "$d/made-comment.gif"
im logo: -resize 100x75 -interlace GIF "$d/made-interlaced.gif"
im rose: -transparent "#000000" -colors 2 "$d/made-2colours.gif"
im -dispose Background -delay 5 -size 40x30 xc:red xc:green xc:blue -loop 3 "$d/made-dispose.gif"
if [ "$have_python" -eq 1 ]; then
  python3 - "$d" <<'EOF'
import struct, sys
d = sys.argv[1]
def sub_blocks(data):
    out = b""
    for i in range(0, len(data), 255):
        part = data[i:i + 255]
        out += bytes([len(part)]) + part
    return out + b"\0"
# One pixel, LZW minimum code size 2: clear, pixel 0, end of information.
image = b"\x2c" + struct.pack("<4HB", 0, 0, 1, 1, 0) + b"\x02" + sub_blocks(b"\x44\x01")
palette = b"\x00\x00\x00\xff\xff\xff"
screen = b"GIF89a" + struct.pack("<2H3B", 1, 1, 0x80, 0, 0) + palette
plain = b"\x21\x01\x0c" + struct.pack("<4H4B", 0, 0, 8, 8, 8, 8, 1, 0) + sub_blocks(b"Velda plain text")
gce = b"\x21\xf9\x04\x01\x0a\x00\x00\x00"
open(d + "/made-plaintext.gif", "wb").write(screen + gce + plain + image + b"\x3b")
# A local colour table instead of a global one, and data after the trailer.
screen = b"GIF89a" + struct.pack("<2H3B", 1, 1, 0, 0, 0)
image = b"\x2c" + struct.pack("<4HB", 0, 0, 1, 1, 0x80) + palette + b"\x02" + sub_blocks(b"\x44\x01")
open(d + "/made-local.gif", "wb").write(screen + image + b"\x3b" + b"trailing")
EOF
fi
take "$d" $((limit - $(count "$d"))) '47494638' '*.gif'
i=0
while [ "$(count "$d")" -lt "$limit" ] && [ "$i" -lt 60 ] && [ "$have_convert" -eq 1 ]; do
  # shellcheck disable=SC2046
  im $(picture "$i" "$((8 + i * 9))x$((6 + i * 4))") "$d/made-$i.gif"
  i=$((i + 1))
done

# --- JPEG --------------------------------------------------------------
d="$out/jpeg"
im rose: -interlace JPEG "$d/made-progressive.jpg"
im rose: -colorspace Gray "$d/made-gray.jpg"
im logo: -resize 97x61! -sampling-factor 2x2 -quality 40 "$d/made-420.jpg"
im wizard: -resize 50x70! -sampling-factor 1x1 -quality 95 "$d/made-444.jpg"
im rose: -colorspace CMYK "$d/made-cmyk.jpg"
im rose: -comment "Velda comment" "$d/made-comment.jpeg"
if [ "$have_python" -eq 1 ]; then
  python3 - "$d" <<'EOF'
import struct, sys
d = sys.argv[1]
def seg(marker, body):
    return bytes([0xff, marker]) + struct.pack(">H", len(body) + 2) + body
# A 32x16 grey picture, one component, one 8x8 block per MCU, a restart
# marker after every MCU. The DC table holds only category 0 and the AC table
# only end-of-block, both with the one-bit code 0, so every MCU is the bits
# 00 padded with ones: the byte 3F.
jfif = seg(0xe0, b"JFIF\0" + bytes([1, 2, 0]) + struct.pack(">2H", 1, 1) + b"\0\0")
tiff = b"MM\0\x2a" + struct.pack(">I", 8) + struct.pack(">H", 0) + struct.pack(">I", 0)
exif = seg(0xe1, b"Exif\0\0" + tiff)
dqt8 = seg(0xdb, bytes([0x00]) + bytes([1] * 64))
dqt16 = seg(0xdb, bytes([0x11]) + b"\x00\x02" * 64)
sof = seg(0xc0, bytes([8]) + struct.pack(">2H", 16, 32) + bytes([1, 1, 0x11, 0]))
dht = seg(0xc4, bytes([0x00, 1] + [0] * 15 + [0]) + bytes([0x10, 1] + [0] * 15 + [0]))
dri = seg(0xdd, struct.pack(">H", 1))
com = seg(0xfe, b"Velda restart markers")
sos = seg(0xda, bytes([1, 1, 0x00, 0, 63, 0]))
scan = b""
for i in range(8):
    scan += b"\x3f"
    if i < 7:
        scan += bytes([0xff, 0xd0 + i % 8])
body = jfif + exif + dqt8 + dqt16 + sof + dht + dri + com + sos + scan
open(d + "/made-restart.jpg", "wb").write(b"\xff\xd8" + body + b"\xff\xd9")
# The same with fill bytes before two markers and data after the end.
body = jfif + dqt8 + b"\xff\xff" + sof + dht + sos + b"\x3f" * 8 + b"\xff\xff"
open(d + "/made-fill.jfif", "wb").write(b"\xff\xd8" + body + b"\xff\xd9" + b"tail")
EOF
fi
take "$d" $((limit - $(count "$d"))) ffd8ff '*.jpg' '*.jpeg' '*.jfif'
i=0
while [ "$(count "$d")" -lt "$limit" ] && [ "$i" -lt 60 ] && [ "$have_convert" -eq 1 ]; do
  # shellcheck disable=SC2046
  im $(picture "$i" "$((8 + i * 11))x$((5 + i * 6))") -quality $((30 + i * 2 % 70)) "$d/made-$i.jpg"
  i=$((i + 1))
done

# --- ICO and CUR -------------------------------------------------------
d="$out/ico"
im rose: -define icon:auto-resize=256,48,32,16 "$d/made-multi.ico"
im logo: -define icon:auto-resize=64,24 "$d/made-two.ico"
im rose: -resize 16x16! "$d/made-16.ico"
if [ "$have_python" -eq 1 ] && [ "$have_convert" -eq 1 ]; then
  tmp="$(mktemp -d)"
  convert rose: -resize 32x32! -colors 16 -type Palette -compress None "BMP3:$tmp/p16.bmp" 2>/dev/null
  convert logo: -resize 48x48! -colors 200 -type Palette -compress None "BMP3:$tmp/p256.bmp" 2>/dev/null
  convert rose: -resize 24x24! "${png_opts[@]}" "$tmp/img.png" 2>/dev/null
  python3 - "$d" "$tmp" <<'EOF'
import struct, sys, os
d, tmp = sys.argv[1], sys.argv[2]
def bmp_image(path):
    # An icon image is the bitmap without its file header, with the height
    # doubled and an AND mask (rows padded to 4 bytes) after the pixels.
    data = open(path, "rb").read()
    info = bytearray(data[14:])
    w, h = struct.unpack("<ii", info[4:12])
    bits = struct.unpack("<H", info[14:16])[0]
    info[8:12] = struct.pack("<i", 2 * h)
    mask = b"\0" * (((w + 31) // 32) * 4 * h)
    colours = struct.unpack("<I", info[32:36])[0] or (1 << bits if bits <= 8 else 0)
    return bytes(info) + mask, w, h, colours if colours < 256 else 0, bits
def icon(name, images, kind=1, hotspot=(0, 0)):
    offset = 6 + 16 * len(images)
    head = struct.pack("<3H", 0, kind, len(images))
    body = b""
    for data, w, h, colours, bits in images:
        a, b = (hotspot if kind == 2 else (1, bits))
        head += struct.pack("<4B2H2I", w % 256, h % 256, colours, 0, a, b, len(data), offset)
        offset += len(data)
        body += data
    open(os.path.join(d, name), "wb").write(head + body)
p16 = bmp_image(os.path.join(tmp, "p16.bmp")) if os.path.exists(os.path.join(tmp, "p16.bmp")) else None
p256 = bmp_image(os.path.join(tmp, "p256.bmp")) if os.path.exists(os.path.join(tmp, "p256.bmp")) else None
png = None
if os.path.exists(os.path.join(tmp, "img.png")):
    png = (open(os.path.join(tmp, "img.png"), "rb").read(), 24, 24, 0, 32)
images = [x for x in (p16, p256, png) if x]
if images:
    icon("made-palette.ico", images)
    icon("made-pointer.cur", images[:1], 2, (5, 9))
    icon("made-cursors.cur", images, 2, (0, 31))
EOF
  rm -rf "$tmp"
fi
take "$d" $((limit - $(count "$d"))) '00000100|00000200' '*.ico' '*.cur'
i=0
while [ "$(count "$d")" -lt "$limit" ] && [ "$i" -lt 60 ] && [ "$have_convert" -eq 1 ]; do
  sizes="$((16 + i % 5 * 8)),$((16 + i * 8 % 240))"
  # shellcheck disable=SC2046
  im $(picture "$i" 64x64) -define icon:auto-resize="$sizes" "$d/made-$i.ico"
  i=$((i + 1))
done

for fmt in png gif jpeg ico; do
  echo "$fmt: $(count "$out/$fmt")"
done
exit 0
