#!/usr/bin/env python3
"""Edit round trips of the template library over a gathered corpus:

    tests/corpus/check-edits.py CORPUS_DIR [FORMAT...]

For each format, the first corpus file that has the field is run through
its template the way the editor does (velda_run.exe under Wine). One decoded
value is changed in the text, as a user would type over it (its lowest bit
flipped), and the text is packed as the editor saves it (the native
prmconv). The packed file must be the original with exactly that field
changed, at the offset the format puts it, in the format's byte order.

The template is then run over the saved file, as the editor's pre-save run
does. Where the field is covered by a checksum the format carries (a PNG
chunk's CRC, a GZIP header CRC, a TAR header checksum, a ZIP entry's CRC-32)
the template must show the value the edited data needs and stop with the
error report, so that the editor asks before writing a stale checksum;
elsewhere the edited file must decode without an error.

Prints one line per edit and exits non-zero when one failed. Environment as
check-template.sh: PRAMEL_BUILD_ROOT, PRAMEL_PREFIX, PRAMEL_RUN_TIMEOUT.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
BUILD = os.environ.get("PRAMEL_BUILD_ROOT", os.path.join(ROOT, "build"))
PREFIX = os.environ.get("PRAMEL_PREFIX", os.path.join(BUILD, "win", "wineprefix"))
TIMEOUT = int(os.environ.get("PRAMEL_RUN_TIMEOUT", "60"))
VELDA_RUN = os.path.join(BUILD, "win", "tests", "win", "velda", "velda_run.exe")
PRMCONV = os.path.join(BUILD, "native", "tools", "prmconv", "prmconv")
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")


def u16(b, at, order="<"):
    return struct.unpack_from(order + "H", b, at)[0] if len(b) >= at + 2 else -1


def u32(b, at, order="<"):
    return struct.unpack_from(order + "I", b, at)[0] if len(b) >= at + 4 else -1


def winpath(path):
    return "Z:" + os.path.realpath(path).replace("/", "\\")


class Edit:
    """One value to type over: the first line whose comment starts with
    `label` (or, with `after`, the first data line after a heading holding
    `after`); `where(file)` gives the field's offset, or None when the file
    lacks the field; `order` is the byte order of the field."""

    def __init__(self, fmt, template, label, where, order, checksum=None, after=None, chars=False):
        self.fmt, self.template, self.label, self.where = fmt, template, label, where
        self.order, self.checksum, self.after, self.chars = order, checksum, after, chars


def png_crc(b):
    return "計算値 %08X" % zlib.crc32(b[12:29])


def gzip_where(want_hcrc):
    def where(b):
        if b[:3] != b"\x1f\x8b\x08" or len(b) < 18 or bool(b[3] & 2) != want_hcrc:
            return None
        return 4
    return where


def gzip_crc(b):
    end = 10
    flags = b[3]
    if flags & 4:
        end += 2 + u16(b, 10)
    for bit in (8, 16):
        if flags & bit:
            end = b.index(b"\0", end) + 1
    return "計算値 %04X" % (zlib.crc32(b[:end]) & 0xFFFF)


def tar_sum(b):
    header = bytearray(b[:512])
    header[148:156] = b" " * 8
    return "計算値 %d " % sum(header)


def zip_data(b):
    # A stored, unencrypted first entry with data and no descriptor.
    if b[:4] != b"PK\x03\x04" or u16(b, 8) != 0 or u16(b, 6) & 9 or u32(b, 18) == 0:
        return None
    return 30 + u16(b, 26) + u16(b, 28)


def zip_crc(b):
    start = zip_data(b)
    return "データから計算した CRC-32 %08X" % zlib.crc32(b[start:start + u32(b, 18)])


def wav_fmt(b):
    if b[:4] != b"RIFF" or b[8:12] != b"WAVE" or b[12:16] != b"fmt ":
        return None
    return 24


EDITS = [
    Edit("png", "Png.js", "幅", lambda b: 16 if b[:8] == b"\x89PNG\r\n\x1a\n" else None, ">", png_crc),
    Edit("gif", "Gif.js", "論理画面の幅", lambda b: 6 if b[:4] == b"GIF8" else None, "<"),
    Edit("jpeg", "Jpeg.js", "水平密度", lambda b: 14 if b[6:11] == b"JFIF\0" else None, ">"),
    Edit("ico", "Icon.js", "予約>", lambda b: 9 if b[:4] == b"\0\0\1\0" and u16(b, 4) > 0 else None, "<"),
    Edit("bmp", "Bitmap.js", "biXPelsPerMeter",
         lambda b: 38 if b[:2] == b"BM" and 40 <= u32(b, 14) <= 124 else None, "<"),
    Edit("wav", "Wave.vbs", "nSamplesPerSec", wav_fmt, "<"),
    Edit("zip", "Zip.vbs", "最終更新時刻", lambda b: 10 if b[:4] == b"PK\x03\x04" else None, "<"),
    Edit("zip", "Zip.vbs", None, zip_data, "<", zip_crc, after="ファイルデータ 1 ("),
    Edit("gzip", "Gzip.vbs", "MTIME", gzip_where(False), "<"),
    Edit("gzip", "Gzip.vbs", "MTIME", gzip_where(True), "<", gzip_crc),
    Edit("tar", "Tar.vbs", "mode 許可",
         lambda b: 106 if len(b) >= 512 and re.fullmatch(rb"[0-7]{7}\0", b[100:108]) else None, "<",
         tar_sum, chars=True),
    Edit("midi", "Midi.vbs", "時間単位", lambda b: 12 if b[:8] == b"MThd\0\0\0\x06" else None, ">"),
    Edit("elf", "Elf.js", "e_entry", lambda b: 24 if b[:4] == b"\x7fELF" and b[5] == 1 else None, "<"),
    Edit("pe", "Pe.vbs", "TimeDateStamp",
         lambda b: u32(b, 0x3C) + 8 if b[:2] == b"MZ" and b[u32(b, 0x3C):u32(b, 0x3C) + 4] == b"PE\0\0" else None,
         "<"),
    Edit("ttf", "TrueType.js", "searchRange", lambda b: 6 if b[:4] in (b"\0\1\0\0", b"OTTO", b"true") else None, ">"),
]


class Runner:
    def __init__(self, work):
        self.work = work

    def template(self, name):
        path = os.path.join(self.work, name)
        if not os.path.exists(path):
            with open(os.path.join(ROOT, "examples", "templates", name), encoding="utf-8") as source:
                text = source.read()
            with open(path, "wb") as out:
                out.write(text.encode("cp932"))
        return path

    def run(self, template, path):
        """Runs a template over a file: (status, big-endian?, text bytes)."""
        run_dir = os.path.join(self.work, "run")
        os.makedirs(run_dir, exist_ok=True)
        for name in os.listdir(run_dir):
            os.remove(os.path.join(run_dir, name))
        done = subprocess.run([WINE_RUN, "--prefix", PREFIX, VELDA_RUN, "--quiet", "--work", winpath(run_dir),
                               winpath(self.template(template)), winpath(path)],
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=TIMEOUT)
        line = re.search(rb"status (-?\d+) .* dataFormat (\d+)", done.stdout + done.stderr)
        if not line:
            raise RuntimeError("no result from velda_run")
        with open(os.path.join(run_dir, "output.txt"), "rb") as out:
            return int(line.group(1)), bool(int(line.group(2)) & 1), out.read()

    def pack(self, text, big):
        source = os.path.join(self.work, "edited.txt")
        packed = os.path.join(self.work, "packed.bin")
        with open(source, "wb") as out:
            out.write(text)
        subprocess.run([PRMCONV, "pack", "-e", "big" if big else "little", source, packed], check=True)
        with open(packed, "rb") as result:
            return result.read()


def type_over(edit, text):
    """The text with the edit's value changed, and the value's new bytes."""
    lines = text.split(b"\n")
    label = edit.label.encode("cp932") if edit.label else None
    after = edit.after.encode("cp932") if edit.after else None
    seen = False
    for i, line in enumerate(lines):
        if after is not None:
            if not seen:
                seen = after in line and line.lstrip().startswith(b"[")
                continue
            m = re.match(rb"(\s*)([0-9A-F]{2})( |\r|$)", line)
        elif edit.chars:
            m = re.match(rb'(\s*")([0-7]{7})(" 00 <' + re.escape(label) + b")", line)
        else:
            m = re.match(rb"(\s*)([0-9A-F]+)( <" + re.escape(label) + b")", line)
        if not m:
            continue
        token = m.group(2)
        if edit.chars:
            # The last octal digit of the field, as typed between the quotes.
            digit = token[-1:]
            new_digit = b"%d" % ((int(digit) + 1) % 8)
            new_token = token[:-1] + new_digit
            new_bytes = new_digit
        else:
            value = int(token, 16) ^ 1
            width = len(token) // 2
            new_token = b"%0*X" % (len(token), value)
            new_bytes = value.to_bytes(width, "big" if edit.order == ">" else "little")
            if after is not None:
                new_bytes = new_bytes[:1]
        lines[i] = line[:m.start(2)] + new_token + line[m.end(2):]
        return b"\n".join(lines), new_bytes
    return None, None


def check(runner, edit, path):
    original = open(path, "rb").read()
    offset = edit.where(original)
    status, big, text = runner.run(edit.template, path)
    if status != 0:
        return "the file does not decode cleanly (status %d)" % status
    edited_text, new_bytes = type_over(edit, text)
    if edited_text is None:
        return "no value to type over (%s)" % (edit.label or edit.after)
    saved = runner.pack(edited_text, big)
    expected = original[:offset] + new_bytes + original[offset + len(new_bytes):]
    if saved != expected:
        changed = [i for i in range(min(len(saved), len(original))) if saved[i] != original[i]]
        return "the save changed bytes %s (size %d), not %d..%d" % (
            changed[:8], len(saved), offset, offset + len(new_bytes) - 1)
    saved_path = os.path.join(runner.work, "saved." + edit.fmt)
    with open(saved_path, "wb") as out:
        out.write(saved)
    status, _, text = runner.run(edit.template, saved_path)
    if edit.checksum:
        need = edit.checksum(saved).encode("cp932")
        if need not in text:
            return "the text does not show the value the data needs (%s)" % need.decode("cp932")
        if status == 0:
            return "the pre-save run passes a stale checksum"
    elif status != 0:
        return "the edited file no longer decodes cleanly (status %d)" % status
    return None


def main():
    corpus = sys.argv[1]
    formats = sys.argv[2:]
    failed = 0
    with tempfile.TemporaryDirectory(prefix="pramel-edits.") as work:
        runner = Runner(work)
        for edit in EDITS:
            if formats and edit.fmt not in formats:
                continue
            folder = os.path.join(corpus, edit.fmt)
            names = sorted(n for n in os.listdir(folder) if not n.startswith("bad")) if os.path.isdir(folder) else []
            what = "%s %s" % (edit.fmt, edit.label or "data after " + edit.after)
            candidates = [n for n in names if edit.where(open(os.path.join(folder, n), "rb").read()) is not None]
            if not candidates:
                print("SKIP %s: no file has the field" % what)
                continue
            try:
                problem = check(runner, edit, os.path.join(folder, candidates[0]))
            except (RuntimeError, subprocess.SubprocessError, OSError) as error:
                problem = str(error)
            if problem:
                print("FAIL %s (%s): %s" % (what, candidates[0], problem))
                failed += 1
            else:
                print("OK   %s (%s)%s" % (what, candidates[0], ", stale checksum questioned" if edit.checksum else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
