// TrueType template (JScript): decodes the offset table and the table
// directory of a TrueType or OpenType font, computes each table's checksum
// and shows it beside the stored one, decodes the 'head' and 'maxp' tables
// and writes every other table, and the padding between them, as
// hexadecimal lines in the order they appear in the file. A font collection
// gets its header decoded and the rest as hexadecimal lines.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "TrueType フォント";
f.TemplateExtend = ".ttf.otf.ttc";
f.EditorName = "Tevrin";
f.Comment = "TrueType/OpenType フォントのテーブルディレクトリとチェックサムを解析します。";
f.HelpURI = "https://learn.microsoft.com/en-us/typography/opentype/spec/otff";
f.Version = 1.0;
f.Regist();

// Every number in a font file is big-endian.
f.Endian = true;

var fileSize = f.Length();

// Thrown after the library's fatal report has dumped the rest of the file:
// nothing more may be written.
var STOPPED = {};
function stop(message) {
    try { f.Assert(false, message); } catch (e) {}
    throw STOPPED;
}

// Reads a double word at an absolute offset without moving the read
// position; the caller has checked that it lies inside the file.
function rd32(at) {
    var here = f.GetOffset();
    f.Seek(at, 0);
    var v = f.GetDWord(0);
    f.Seek(here, 0);
    return v;
}

function hex(v, digits) {
    var s = v.toString(16).toUpperCase();
    while (s.length < digits) s = "0" + s;
    return s;
}

// Text taken from the file goes into comments: keep printable ASCII only and
// none of the characters that open or close comments, headings or quotes.
function clean(s) {
    return s.replace(/[^\x20-\x7E]|[<>\[\]"%]/g, "?");
}

function value(conversion, name) { f.PutFormat(conversion + " <" + name + ">"); }

// Sum of the big-endian double words of a table, its last double word padded
// with zeros; bytes beyond the end of the file count as zeros. The double
// words are fetched in large arrays: one library call per 16384 of them.
function tableChecksum(offset, length) {
    var here = f.GetOffset();
    var sum = 0;
    var end = Math.min(offset + length, fileSize);
    var whole = offset < end ? Math.floor((end - offset) / 4) : 0;
    f.Seek(offset, 0);
    for (var done = 0; done < whole; ) {
        var n = Math.min(16384, whole - done);
        var words = new VBArray(f.GetDWords(n)).toArray();
        for (var i = 0; i < n; i++) sum += words[i];
        sum %= 4294967296;
        done += n;
        f.Seek(n * 4, 1);
    }
    var tail = offset + whole * 4;
    if (tail < end) {
        var last = 0;
        for (var k = 0; k < 4; k++) last = last * 256 + (tail + k < end ? f.GetByte(k) : 0);
        sum = (sum + last) % 4294967296;
    }
    f.Seek(here, 0);
    return sum;
}

function fixed(v) {
    return (v / 65536).toFixed(4);
}

function collection() {
    f.PrintIndex("TrueType コレクションヘッダ");
    f.Indent = 1;
    value("%4C", "ttcTag 'ttcf'");
    var major = f.GetWord(0);
    value("%W", "majorVersion");
    value("%W", "minorVersion");
    var count = f.GetDWord(0);
    value("%D", "numFonts フォント数");
    if (f.GetOffset() + count * 4 > fileSize) stop("フォントの位置の表がファイルの終端を越えています");
    for (var i = 0; i < count; i++) value("%D", "tableDirectoryOffset " + i + " フォント " + i + " の位置");
    if (major >= 2 && f.GetOffset() + 12 <= fileSize) {
        value("%4C", "ulDsigTag 署名のタグ");
        value("%D", "ulDsigLength 署名の長さ");
        value("%D", "ulDsigOffset 署名の位置");
    }
    f.Indent = 0;
}

function head(length) {
    f.Indent = 1;
    value("%W", "majorVersion");
    value("%W", "minorVersion");
    value("%D", "fontRevision " + fixed(f.GetDWord(0)));
    value("%D", "checkSumAdjustment");
    var magic = f.GetDWord(0);
    value("%D", "magicNumber 5F0F3CF5" + (magic == 0x5F0F3CF5 ? "" : " (不一致)"));
    value("%W", "flags");
    value("%W", "unitsPerEm 1 em の単位数");
    value("%Q", "created 作成日時 (1904 年からの秒)");
    value("%Q", "modified 更新日時");
    value("%W", "xMin");
    value("%W", "yMin");
    value("%W", "xMax");
    value("%W", "yMax");
    value("%W", "macStyle");
    value("%W", "lowestRecPPEM 最小可読サイズ");
    value("%W", "fontDirectionHint");
    value("%W", "indexToLocFormat loca の形式 (0 = 16 ビット, 1 = 32 ビット)");
    value("%W", "glyphDataFormat");
    if (length > 54) f.PutBytes(length - 54);
    f.Indent = 0;
}

function maxp(length) {
    var version = f.GetDWord(0);
    f.Indent = 1;
    value("%D", "version " + fixed(version));
    value("%W", "numGlyphs グリフ数");
    var used = 6;
    if (version == 0x00010000 && length >= 32) {
        var names = ["maxPoints", "maxContours", "maxCompositePoints", "maxCompositeContours",
                     "maxZones", "maxTwilightPoints", "maxStorage", "maxFunctionDefs",
                     "maxInstructionDefs", "maxStackElements", "maxSizeOfInstructions",
                     "maxComponentElements", "maxComponentDepth"];
        for (var i = 0; i < names.length; i++) value("%W", names[i]);
        used = 32;
    }
    if (length > used) f.PutBytes(length - used);
    f.Indent = 0;
}

function main() {
    if (fileSize < 12) {
        f.Print("フォントのヘッダより短いファイルです");
        return;
    }
    var version = f.GetDWord(0);
    if (version == 0x74746366) {        // 'ttcf'
        collection();
        return;
    }
    var known = version == 0x00010000 || version == 0x4F54544F || version == 0x74727565
        || version == 0x74797031;        // 1.0, 'OTTO', 'true', 'typ1'
    if (!known) {
        f.Print("TrueType/OpenType フォントではありません");
        return;
    }
    var numTables = f.GetWord(2);
    f.PrintIndex("オフセットテーブル");
    f.Indent = 1;
    value("%D", "sfntVersion " + (version == 0x4F54544F ? "'OTTO' (CFF)" : version == 0x00010000 ? "1.0 (TrueType)" : "'" + clean(f.GetString(4, 0)) + "'"));
    value("%W", "numTables テーブル数");
    value("%W", "searchRange");
    value("%W", "entrySelector");
    value("%W", "rangeShift");
    f.Indent = 0;
    if (12 + numTables * 16 > fileSize) stop("テーブルディレクトリがファイルの終端を越えています");

    // The directory entries, read before they are written so each line can
    // carry the checksum computed over its table.
    var tables = [];
    for (var i = 0; i < numTables; i++) {
        var at = 12 + i * 16;
        f.Seek(at, 0);
        var t = {
            tag: clean(f.GetString(4, 0)), stored: f.GetDWord(1),
            off: f.GetDWord(2), size: f.GetDWord(3), seq: i
        };
        var sum = tableChecksum(t.off, t.size);
        // 'head' counts with its checkSumAdjustment (at offset 8) as zero.
        if (t.tag == "head" && t.size >= 12 && t.off + 12 <= fileSize)
            sum = (sum - rd32(t.off + 8) + 4294967296) % 4294967296;
        t.sum = sum;
        tables.push(t);
    }
    f.Seek(12, 0);

    f.PrintIndex("テーブルディレクトリ (" + numTables + " 個)");
    f.Indent = 1;
    for (var i = 0; i < numTables; i++) {
        var t = tables[i];
        var check = t.off + t.size > fileSize ? "ファイルの外にはみ出しています"
                  : t.sum == t.stored ? "一致" : "計算値 " + hex(t.sum, 8) + " 不一致";
        f.Print("テーブル " + t.tag);
        f.Indent = 2;
        value("%4C", "tag");
        value("%D", "checksum チェックサム " + check);
        value("%D", "offset 位置");
        value("%D", "length 長さ");
        f.Indent = 1;
    }
    f.Indent = 0;

    tables.sort(function (a, b) { return a.off != b.off ? a.off - b.off : a.seq - b.seq; });
    for (var r = 0; r < tables.length; r++) {
        var t = tables[r];
        var pos = f.GetOffset();
        var end = t.off + t.size;
        if (t.size == 0 || end <= pos) continue;
        if (t.off > pos) {
            var gap = Math.min(t.off, fileSize) - pos;
            if (gap > 0) {
                f.PrintIndex(gap < 4 ? "詰め物 (" + gap + " バイト)" : "空き領域 (" + gap + " バイト)");
                f.Indent = 1;
                f.PutBytes(gap);
                f.Indent = 0;
            }
            pos = f.GetOffset();
        }
        if (end > fileSize) stop("テーブル " + t.tag + " がファイルの終端を越えています");
        if (t.off < pos) {
            f.PrintIndex("テーブル " + t.tag + " の重なっていない部分 (" + (end - pos) + " バイト)");
            f.Indent = 1;
            f.PutBytes(end - pos);
            f.Indent = 0;
            continue;
        }
        f.PrintIndex("テーブル " + t.tag + " (" + t.size + " バイト)");
        if (t.tag == "head" && t.size >= 54) {
            head(t.size);
        } else if (t.tag == "maxp" && t.size >= 6) {
            maxp(t.size);
        } else {
            f.Indent = 1;
            f.PutBytes(t.size);
            f.Indent = 0;
        }
    }
}

try {
    main();
    if (f.GetOffset() < fileSize) {
        f.PrintIndex("残りのデータ");
        f.PutAll();
    }
} catch (e) {
    // E_ABORT comes from a report the library has already written. Any
    // other error is a fault of this template: report it so the rest of the
    // file is still written into the text.
    if (e !== STOPPED && e.number != -2147467260) {
        try { f.Abort("テンプレートの誤り: " + e.message); } catch (e2) {}
    }
}
