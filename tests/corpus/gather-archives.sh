#!/usr/bin/env bash
# Collects and makes sample files for the archive and MIDI templates:
#
#   tests/corpus/gather-archives.sh OUTDIR
#
# Fills OUTDIR/zip, OUTDIR/gzip, OUTDIR/tar and OUTDIR/midi with up to 30
# files each. Files made here are built by Python's zipfile, tarfile, gzip
# and zlib modules with fixed names, times and contents, so two runs give the
# same bytes; they cover the variants the templates must walk (stored and
# deflated entries, data descriptors, ZIP64 records, archive comments, gzip
# header options and several members, ustar/GNU/pax/v7 headers, MIDI format
# 0 and 1 with running status, meta events and system exclusive messages).
# Real files are added from the system when present (compressed
# documentation, the archives among Python's own test data). A missing
# source is skipped; the script always exits 0 and prints the counts.
set -u

out="${1:?usage: gather-archives.sh OUTDIR}"
mkdir -p "$out/zip" "$out/gzip" "$out/tar" "$out/midi"
limit=30

if command -v python3 >/dev/null 2>&1; then
  python3 - "$out" <<'PY' || echo "gather-archives.sh: the generator failed" >&2
import gzip, io, os, struct, sys, tarfile, zipfile, zlib

out = sys.argv[1]
T = (2021, 3, 4, 5, 6, 8)
MTIME = 1614834368

def save(sub, name, data):
    with open(os.path.join(out, sub, name), "wb") as fp:
        fp.write(data)

def text(n, seed):
    # Compressible but varied text of n bytes.
    words = [b"alpha", b"beta", b"gamma", b"delta", b"zip", b"tar", b"\x83e\x83X\x83g"]
    s = bytearray()
    i = seed
    while len(s) < n:
        s += words[i % len(words)] + b" "
        i = (i * 7 + 3) % 101
    return bytes(s[:n])

def noise(n, seed):
    s = bytearray()
    x = seed or 1
    for _ in range(n):
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        s.append(x >> 16 & 0xFF)
    return bytes(s)

# ---- ZIP ----
def zip_file(entries, comment=b"", stream=False, zip64=False):
    buf = io.BytesIO()
    class NoSeek(io.RawIOBase):
        # A stream that cannot seek makes zipfile write data descriptors.
        def writable(self): return True
        def write(self, b): buf.write(b); return len(b)
    target = NoSeek() if stream else buf
    with zipfile.ZipFile(target, "w") as zf:
        for name, data, method, extra in entries:
            zi = zipfile.ZipInfo(name, T)
            zi.compress_type = method
            zi.external_attr = 0o644 << 16
            if extra:
                zi.extra = extra
            if name.endswith("/"):
                zi.external_attr = (0o40755 << 16) | 0x10
            with zf.open(zi, "w", force_zip64=zip64) as w:
                w.write(data)
        zf.comment = comment
    return buf.getvalue()

S, D = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED
B, L = zipfile.ZIP_BZIP2, zipfile.ZIP_LZMA
ux = struct.pack("<HHBII", 0x7875, 11, 1, 1000, 1000)
ts = struct.pack("<HHBI", 0x5455, 5, 1, MTIME)
zips = {
    "empty.zip": [],
    "stored1.zip": [("a.txt", text(100, 1), S, b"")],
    "deflated1.zip": [("a.txt", text(5000, 2), D, b"")],
    "mixed.zip": [("s.txt", text(300, 3), S, b""), ("d.txt", text(3000, 4), D, b""),
                  ("dir/", b"", S, b""), ("dir/n.bin", noise(700, 5), D, b"")],
    "emptyfile.zip": [("zero", b"", S, b""), ("zero2", b"", D, b"")],
    "extra.zip": [("x.txt", text(200, 6), D, ux + ts), ("y.txt", text(20, 7), S, ts)],
    "bzip2.zip": [("b.txt", text(4000, 8), B, b"")],
    "lzma.zip": [("l.txt", text(4000, 9), L, b"")],
    "many.zip": [("f%02d.txt" % i, text(10 + i * 13, i), S if i % 2 else D, b"") for i in range(25)],
    "sjisname.zip": [("\u30c6\u30b9\u30c8.txt", text(50, 10), S, b"")],
    "bigstored.zip": [("n.bin", noise(70000, 11), S, b"")],
    "odd-name.zip": [("a<b>]c\".txt", text(30, 12), S, b"")],
}
for name, entries in zips.items():
    save("zip", name, zip_file(entries))
save("zip", "comment.zip", zip_file([("c.txt", text(80, 13), D, b"")], comment=b"archive comment ]>"))
save("zip", "stream-stored.zip", zip_file([("s.txt", text(400, 14), S, b""), ("t.txt", text(40, 15), S, b"")], stream=True))
save("zip", "stream-deflated.zip", zip_file([("d.txt", text(9000, 16), D, b""), ("e.bin", noise(300, 17), D, b"")], stream=True))
save("zip", "zip64.zip", zip_file([("z.txt", text(500, 18), D, b""), ("y.txt", text(50, 19), S, b"")], zip64=True))
save("zip", "zip64-stream.zip", zip_file([("z.txt", text(500, 20), D, b"")], stream=True, zip64=True))
# Bytes before the first entry (a self-extracting stub) and after the end record.
save("zip", "prefixed.zip", b"MZ" + noise(126, 21) + zip_file([("p.txt", text(60, 22), S, b"")]))
save("zip", "trailing.zip", zip_file([("q.txt", text(60, 23), D, b"")]) + b"\0" * 7)
# A stored entry whose CRC field does not match its data.
bad = bytearray(zip_file([("bad.txt", text(64, 24), S, b"")]))
bad[14] ^= 0x55
save("zip", "badcrc.zip", bytes(bad))

# ---- GZIP ----
def gz_member(data, flags=0, name=b"", comment=b"", extra=b"", mtime=MTIME, os_=3, xfl=0):
    hdr = bytearray(b"\x1f\x8b\x08") + bytes([flags]) + struct.pack("<I", mtime) + bytes([xfl, os_])
    if flags & 4:
        hdr += struct.pack("<H", len(extra)) + extra
    if flags & 8:
        hdr += name + b"\0"
    if flags & 16:
        hdr += comment + b"\0"
    if flags & 2:
        hdr += struct.pack("<H", zlib.crc32(bytes(hdr)) & 0xFFFF)
    co = zlib.compressobj(9, zlib.DEFLATED, -15)
    body = co.compress(data) + co.flush()
    return bytes(hdr) + body + struct.pack("<II", zlib.crc32(data), len(data) & 0xFFFFFFFF)

save("gzip", "plain.gz", gz_member(text(3000, 30)))
save("gzip", "name.gz", gz_member(text(2000, 31), 8, name=b"name.txt"))
save("gzip", "comment.gz", gz_member(text(100, 32), 16, comment=b"a comment > ] here"))
save("gzip", "extra.gz", gz_member(text(100, 33), 4, extra=b"AB\x04\x00wxyz"))
save("gzip", "hcrc.gz", gz_member(text(100, 34), 2 | 8, name=b"h.txt"))
save("gzip", "all.gz", gz_member(text(900, 35), 2 | 4 | 8 | 16 | 1, name=b"all.txt", comment=b"everything", extra=b"XY\x02\x00hi"))
save("gzip", "empty.gz", gz_member(b""))
save("gzip", "multi.gz", gz_member(text(500, 36), 8, name=b"one") + gz_member(text(700, 37), 8, name=b"two") + gz_member(b"", 0))
save("gzip", "noise.gz", gz_member(noise(5000, 38)))
save("gzip", "module.gz", gzip.compress(text(4000, 39), mtime=MTIME))
save("gzip", "trailing.gz", gz_member(text(300, 40)) + b"\0" * 10)
# A header CRC that does not match its header.
bad = bytearray(gz_member(text(100, 41), 2 | 8, name=b"b.txt"))
bad[16] ^= 0x01
save("gzip", "badhcrc.gz", bytes(bad))

# ---- TAR ----
def tar_file(fmt, members):
    buf = io.BytesIO()
    with tarfile.open(fileobj=buf, mode="w", format=fmt) as tf:
        for name, kind, data in members:
            ti = tarfile.TarInfo(name)
            ti.mtime = MTIME
            ti.uid, ti.gid, ti.uname, ti.gname = 1000, 1000, "user", "group"
            if kind == "dir":
                ti.type, ti.mode = tarfile.DIRTYPE, 0o755
                tf.addfile(ti)
            elif kind == "sym":
                ti.type, ti.linkname = tarfile.SYMTYPE, data
                tf.addfile(ti)
            elif kind == "hard":
                ti.type, ti.linkname = tarfile.LNKTYPE, data
                tf.addfile(ti)
            else:
                ti.size, ti.mode = len(data), 0o644
                tf.addfile(ti, io.BytesIO(data))
    return buf.getvalue()

basic = [("dir", "dir", None), ("dir/a.txt", "file", text(1000, 50)), ("dir/b.bin", "file", noise(512, 51)),
         ("dir/empty", "file", b""), ("link", "sym", "dir/a.txt"), ("hard", "hard", "dir/a.txt")]
longn = [("d/" + "long_name_" * 12 + ".txt", "file", text(700, 52)), ("l", "sym", "t/" + "x" * 120)]
for fmt, tag in ((tarfile.USTAR_FORMAT, "ustar"), (tarfile.GNU_FORMAT, "gnu"), (tarfile.PAX_FORMAT, "pax")):
    save("tar", tag + "-basic.tar", tar_file(fmt, basic))
    save("tar", tag + "-one.tar", tar_file(fmt, [("one.txt", "file", text(1, 53))]))
    save("tar", tag + "-empty.tar", tar_file(fmt, []))
    save("tar", tag + "-big.tar", tar_file(fmt, [("big.bin", "file", noise(40000, 54)), ("s.txt", "file", text(511, 55))]))
for fmt, tag in ((tarfile.GNU_FORMAT, "gnu"), (tarfile.PAX_FORMAT, "pax")):
    save("tar", tag + "-long.tar", tar_file(fmt, longn))
save("tar", "ustar-prefix.tar", tar_file(tarfile.USTAR_FORMAT, [("p/" * 60 + "file.txt", "file", text(30, 56))]))
save("tar", "pax-utf8.tar", tar_file(tarfile.PAX_FORMAT, [("\u00e9t\u00e9.txt", "file", text(40, 57))]))
save("tar", "odd-name.tar", tar_file(tarfile.USTAR_FORMAT, [("a>b]c<\".txt", "file", text(40, 58))]))

def v7_header(name, data, typeflag=b"\0", linkname=b""):
    # The old format: no magic, no owner names, no prefix.
    h = bytearray(512)
    h[0:len(name)] = name
    h[100:108] = b"000644 \0"
    h[108:116] = b"001750 \0"
    h[116:124] = b"001750 \0"
    h[124:136] = b"%011o " % len(data)
    h[136:148] = b"%011o " % MTIME
    h[156:157] = typeflag
    h[157:157 + len(linkname)] = linkname
    h[148:156] = b" " * 8
    h[148:156] = b"%06o\0 " % sum(h)
    return bytes(h) + data + b"\0" * (-len(data) % 512)

save("tar", "v7.tar", v7_header(b"v7.txt", text(600, 59)) + v7_header(b"v7b.bin", noise(1024, 60))
     + v7_header(b"v7link", b"", b"1", b"v7.txt") + b"\0" * 1024)
save("tar", "v7-noend.tar", v7_header(b"solo.txt", text(10, 61)))
save("tar", "badsum.tar", v7_header(b"bad.txt", text(10, 62))[:148] + b"000001\0 " + v7_header(b"bad.txt", text(10, 62))[156:] + b"\0" * 1024)
save("tar", "padded.tar", tar_file(tarfile.USTAR_FORMAT, basic) + b"\0" * 10240)

# ---- MIDI ----
def vlq(n):
    b = [n & 0x7F]
    n >>= 7
    while n:
        b.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(b))

def track(events):
    data = b"".join(vlq(d) + e for d, e in events)
    return b"MTrk" + struct.pack(">I", len(data)) + data

def meta(t, data):
    return b"\xff" + bytes([t]) + vlq(len(data)) + data

def notes(ch, n, running, seed, step=96):
    ev = []
    for i in range(n):
        key = 48 + (seed * 5 + i * 7) % 36
        on = bytes([0x90 | ch, key, 100])
        off = bytes([0x80 | ch, key, 0]) if not running else bytes([key, 0])
        if running:
            on = on if i == 0 else on[1:]
            off = bytes([key, 0])
        ev.append((0 if i == 0 else step, on))
        ev.append((step * (1 + i % 3), off))
    return ev

def smf(fmt, tracks, division=480):
    return b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks), division) + b"".join(tracks)

end = (0, meta(0x2F, b""))
tempo = (0, meta(0x51, b"\x07\xa1\x20"))
tsig = (0, meta(0x58, b"\x04\x02\x18\x08"))
ksig = (0, meta(0x59, b"\xfd\x00"))
name = lambda s: (0, meta(0x03, s))
save("midi", "f0-simple.mid", smf(0, [track([tempo, tsig] + notes(0, 16, False, 1) + [end])]))
save("midi", "f0-running.mid", smf(0, [track([tempo, ksig] + notes(1, 40, True, 2) + [end])]))
save("midi", "f0-empty.mid", smf(0, [track([end])]))
for k in range(1, 6):
    tr = [track([name(b"conductor"), tempo, tsig, end])]
    for c in range(k):
        tr.append(track([name(b"part %d" % c), (0, bytes([0xC0 | c, c * 8]))]
                        + notes(c, 10 + c * 3, c % 2 == 1, c + k) + [end]))
    save("midi", "f1-%dtracks.mid" % k, smf(1, tr, 96 * k))
ctl = [(0, b"\xb0\x07\x64"), (10, b"\x0a\x40"), (0, b"\xe0\x00\x40"), (5, b"\xd0\x30"), (5, b"\xa0\x3c\x20")]
save("midi", "f0-controls.mid", smf(0, [track(ctl + notes(0, 5, False, 3) + [end])]))
sysex = [(0, b"\xf0" + vlq(5) + b"\x7e\x7f\x09\x01\xf7"), (0, b"\xf7" + vlq(3) + b"\x43\x12\x00"),
         (100, meta(0x01, b"text event")), (0, meta(0x00, b"\x00\x01")), (0, meta(0x20, b"\x00")),
         (0, meta(0x54, b"\x60\x00\x00\x00\x00")), (0, meta(0x7F, b"\x00\x00\x41seq")), (0, meta(0x06, b"marker ]>"))]
save("midi", "f0-sysex.mid", smf(0, [track(sysex + notes(2, 4, True, 4) + [end])]))
save("midi", "smpte.mid", smf(0, [track(notes(0, 6, False, 5) + [end])], division=0xE728))
save("midi", "longdelta.mid", smf(0, [track([(0x0FFFFFFF, b"\x90\x3c\x40"), (200000, b"\x3c\x00"), end])]))
save("midi", "f2.mid", smf(2, [track(notes(0, 3, False, 6) + [end]), track(notes(1, 3, True, 7) + [end])]))
save("midi", "bigheader.mid", b"MThd" + struct.pack(">IHHH", 8, 0, 1, 240) + b"\0\0" + track(notes(0, 3, False, 8) + [end]))
save("midi", "unknownchunk.mid", smf(1, [track([end])]) + b"XFIH" + struct.pack(">I", 4) + b"abcd" + track(notes(0, 2, False, 9) + [end]))
save("midi", "trailing.mid", smf(0, [track(notes(0, 8, True, 10) + [end])]) + b"\0" * 5)
save("midi", "noend.mid", smf(0, [track(notes(0, 8, False, 11))]))
big = [track([name(b"big"), tempo])]
big[0] = track([name(b"big"), tempo] + notes(9, 800, True, 12, 24) + [end])
save("midi", "f0-big.mid", smf(0, big))
riff = smf(0, [track(notes(0, 4, False, 13) + [end])])
save("midi", "rmid.mid", b"RIFF" + struct.pack("<I", len(riff) + 12) + b"RMIDdata" + struct.pack("<I", len(riff)) + riff)
for k in range(4):
    # Tracks mixing channels, running status and meta events.
    ev = [name(b"mix %d" % k), tempo]
    for c in range(4):
        ev += notes(c + k, 6 + k, c % 2 == 0, c * 3 + k, 48 * (k + 1))
    save("midi", "mix%d.mid" % k, smf(1 if k % 2 else 0, [track(ev + [end])] * (1 + k % 2), 120 * (k + 1)))

# ZIP64 end records before the ordinary end record, its fields all ones.
z = zip_file([("a.txt", text(90, 25), D, b""), ("b.txt", text(20, 26), S, b"")])
e = z.rfind(b"PK\x05\x06")
n, cdsize, cdoff = struct.unpack("<HII", z[e + 10:e + 20])
end64 = b"PK\x06\x06" + struct.pack("<QHHIIQQQQ", 44, 45, 45, 0, 0, n, n, cdsize, cdoff)
loc = b"PK\x06\x07" + struct.pack("<IQI", 0, e, 1)
eocd = b"PK\x05\x06" + struct.pack("<HHHHIIH", 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0)
save("zip", "zip64-end.zip", z[:e] + end64 + loc + eocd)
PY
fi

# Real files: compressed documentation (gzip) and archives among Python's
# test data (zip, tar), picked in sorted order so the choice is stable.
# readable SUBDIR FILE: Python's own reader takes the file as a whole, sound
# archive. Test suites ship broken archives on purpose; those are kept, but
# named "bad-..." so the checks expect the error report for them.
readable() {
  python3 - "$1" "$2" <<'PY' 2>/dev/null
import sys, tarfile, zipfile
kind, path = sys.argv[1], sys.argv[2]
if kind == "tar":
    with tarfile.open(path) as t:
        t.getmembers()
elif kind == "zip":
    with zipfile.ZipFile(path) as z:
        sys.exit(1 if z.testzip() is not None else 0)
PY
}

add() {  # add SUBDIR PREFIX FILE...: copies files until the folder holds $limit
  local sub="$1" prefix="$2" f n
  shift 2
  for f in "$@"; do
    n=$(find "$out/$sub" -maxdepth 1 -type f | wc -l)
    [ "$n" -ge "$limit" ] && break
    [ -f "$f" ] || continue
    if readable "$sub" "$f"; then
      cp "$f" "$out/$sub/$prefix$(basename "$f")"
    else
      cp "$f" "$out/$sub/bad-$prefix$(basename "$f")"
    fi
  done
}
if [ -d /usr/share/doc ]; then
  mapfile -t docs < <(find /usr/share/doc -name '*.gz' -type f -size +1k 2>/dev/null | LC_ALL=C sort | awk 'NR % 37 == 1')
  add gzip doc- "${docs[@]}"
fi
pytest="$(python3 -c 'import os, test; print(os.path.dirname(test.__file__))' 2>/dev/null)"
if [ -n "$pytest" ] && [ -d "$pytest" ]; then
  mapfile -t pyzips < <(find "$pytest" -name '*.zip' -type f -size -2M 2>/dev/null | LC_ALL=C sort)
  add zip py- "${pyzips[@]}"
  mapfile -t pytars < <(find "$pytest" -name '*.tar' -type f -size -2M 2>/dev/null | LC_ALL=C sort)
  add tar py- "${pytars[@]}"
fi

for sub in zip gzip tar midi; do
  echo "$sub: $(find "$out/$sub" -maxdepth 1 -type f | wc -l) files"
done
exit 0
