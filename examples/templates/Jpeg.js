// JPEG template (JScript): walks the markers and segments of a JPEG/JFIF
// image: SOI, the APPn segments with their identification (JFIF decoded,
// Exif and others named), quantization tables, frame headers (SOFn) and
// Huffman tables decoded, the scan header (SOS), the entropy-coded data up
// to the next marker as hexadecimal lines, restart markers and EOI. A segment
// that does not fit the file, or a byte where a marker must be, stops the
// walk with Assert; the library's error report then dumps the rest, so the
// text always holds every byte.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "JPEG 画像";
f.TemplateExtend = ".jpg.jpeg.jfif";
f.EditorName = "Tevrin";
f.Comment = "JPEG/JFIF のマーカーとセグメントを解析します。";
f.HelpURI = "https://www.w3.org/Graphics/JPEG/itu-t81.pdf";
f.Version = 1.0;
f.Regist();

// Every number in a JPEG file is big-endian.
f.Endian = true;

// A value line followed by its name as a comment, on one line.
function value(conversion, name) { f.PutFormat(conversion + " <" + name + ">"); }

var fileSize = f.Length();
function left() { return fileSize - f.GetOffset(); }

function markerName(m) {
    if (m >= 0xD0 && m <= 0xD7) return "RST" + (m - 0xD0);
    if (m >= 0xE0 && m <= 0xEF) return "APP" + (m - 0xE0);
    if (m >= 0xF0 && m <= 0xFD) return "JPG" + (m - 0xF0);
    var names = { 0x01: "TEM", 0xC4: "DHT", 0xC8: "JPG", 0xCC: "DAC", 0xD8: "SOI", 0xD9: "EOI",
                  0xDA: "SOS", 0xDB: "DQT", 0xDC: "DNL", 0xDD: "DRI", 0xDE: "DHP", 0xDF: "EXP",
                  0xFE: "COM" };
    if (names[m]) return names[m];
    if (m >= 0xC0 && m <= 0xCF) return "SOF" + (m - 0xC0);
    return "マーカー " + m.toString(16).toUpperCase();
}
function isFrame(m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

// APPn: an identifying text ended by a zero byte, then the application's
// data. JFIF's fixed fields are decoded; the rest is shown as hexadecimal.
function application(size) {
    var zero = f.FindByte(0);
    if (zero <= 0 || zero >= size || zero > 40) return;
    var id = f.GetString(zero, 0);
    if (!/^[\x20-\x7E]+$/.test(id)) return;
    f.Print("識別子");
    f.PutString(zero + 1);
    size -= zero + 1;
    if ((id == "JFIF") && size >= 9) {
        value("%2B", "版 (主, 副)");
        value("%B", "密度の単位 (0 = 縦横比, 1 = dpi, 2 = dpcm)");
        value("%W", "水平密度");
        value("%W", "垂直密度");
        var thumbnail = f.GetByte(0) * f.GetByte(1) * 3;
        value("%B", "サムネイルの幅");
        value("%B", "サムネイルの高さ");
        if (thumbnail > 0 && thumbnail <= size - 9) {
            f.Print("サムネイル (RGB)");
            f.PutBytes(thumbnail);
        }
    } else if (id == "Exif" && size >= 1) {
        value("%B", "詰め物");
        if (size > 1) f.Print("TIFF 形式の Exif データ");
    }
}

function quantization(size) {
    var end = f.GetOffset() + size;
    while (end - f.GetOffset() >= 1) {
        var pq = f.GetByte(0) >> 4;
        var tableSize = pq ? 128 : 64;
        if (end - f.GetOffset() < 1 + tableSize) return;
        value("%B", "精度 " + (pq ? 16 : 8) + " ビット, テーブル番号 " + (f.GetByte(0) & 15));
        f.Print("量子化テーブル (ジグザグ順)");
        for (var row = 0; row < 8; row++) f.PutFormat(pq ? "%8W" : "%8B");
    }
}

function frame(size) {
    if (size < 6 || size != 6 + 3 * f.GetByte(5)) return;
    var components = f.GetByte(5);
    value("%B", "サンプル精度");
    value("%W", "高さ (ライン数)");
    value("%W", "幅");
    value("%B", "成分数");
    for (var i = 0; i < components; i++) {
        var sampling = f.GetByte(1);
        value("%3B", "成分 " + f.GetByte(0) + ": 水平 " + (sampling >> 4) + " 垂直 " + (sampling & 15) +
                     ", 量子化テーブル " + f.GetByte(2));
    }
}

function huffman(size) {
    var end = f.GetOffset() + size;
    while (end - f.GetOffset() >= 17) {
        var symbols = 0;
        for (var i = 1; i <= 16; i++) symbols += f.GetByte(i);
        if (end - f.GetOffset() < 17 + symbols) return;
        var kind = f.GetByte(0);
        value("%B", ((kind >> 4) ? "AC" : "DC") + " テーブル " + (kind & 15));
        value("%16B", "符号長 1 から 16 ごとの符号数");
        if (symbols > 0) {
            f.Print("シンボル (" + symbols + " 個)");
            f.PutBytes(symbols);
        }
    }
}

function scanHeader(size) {
    if (size < 4 || size != 4 + 2 * f.GetByte(0)) return;
    var components = f.GetByte(0);
    value("%B", "成分数");
    for (var i = 0; i < components; i++) {
        var tables = f.GetByte(1);
        value("%2B", "成分 " + f.GetByte(0) + ": DC テーブル " + (tables >> 4) + ", AC テーブル " + (tables & 15));
    }
    value("%B", "スペクトル選択の開始");
    value("%B", "スペクトル選択の終了");
    value("%B", "逐次近似 (上位, 下位)");
}

function segment(m) {
    if (left() < 4) f.Assert(false, markerName(m) + " のセグメント長が途中で切れています。");
    var length = f.GetWord(1);
    if (length < 2 || length > left() - 2) {
        f.Print(markerName(m) + " のセグメント長 " + length + " がファイルに合いません");
        f.Assert(false, markerName(m) + " のセグメントがファイルの終端を越えています。");
    }
    f.PrintIndex(markerName(m) + " (" + length + " バイト)");
    f.Indent = 1;
    value("%W", "マーカー");
    value("%W", "セグメント長");
    var size = length - 2;
    var end = f.GetOffset() + size;
    if (m >= 0xE0 && m <= 0xEF) application(size);
    else if (m == 0xDB) quantization(size);
    else if (isFrame(m)) frame(size);
    else if (m == 0xC4) huffman(size);
    else if (m == 0xDA) scanHeader(size);
    else if (m == 0xDD && size == 2) value("%W", "リスタート間隔 (MCU 数)");
    else if (m == 0xFE && size > 0) f.PutString(size);
    // Whatever the decoder above did not take is shown as hexadecimal.
    if (end > f.GetOffset()) f.PutBytes(end - f.GetOffset());
    f.Indent = 0;
}

// The entropy-coded data run up to the next marker: a 0xFF followed by
// anything but a stuffed zero byte. Searching moves the read position, so it
// goes back to the start of the data before the data is written.
function entropyData() {
    var start = f.GetOffset(), at = start, end = fileSize;
    for (;;) {
        f.Seek(at, 0);
        var k = f.FindByte(0xFF);
        if (k < 0 || at + k + 1 >= fileSize) break;
        if (f.GetByte(k + 1) != 0) {
            end = at + k;
            break;
        }
        at += k + 2;
    }
    f.Seek(start, 0);
    f.Indent = 1;
    f.Print("エントロピー符号化データ (" + (end - start) + " バイト)");
    f.PutBytes(end - start);
    f.Indent = 0;
}

if (fileSize < 2 || f.GetWord(0) != 0xFFD8) f.Assert(false, "JPEG の SOI マーカーがありません。");

// Each step consumes at least one byte, so the walk always ends.
var inScan = false, ended = false;
while (!ended && left() > 0) {
    var first = f.GetByte(0);
    var m = left() >= 2 ? f.GetByte(1) : -1;
    if (inScan && (first != 0xFF || m == 0 || m == -1)) {
        entropyData();
        continue;
    }
    if (first != 0xFF || m <= 0) f.Assert(false, "マーカーがあるべき位置に別のデータがあります。");
    if (m == 0xFF) {
        // Any marker may be preceded by fill bytes.
        f.Indent = 1;
        value("%B", "詰め物");
        f.Indent = 0;
    } else if (m >= 0xD0 && m <= 0xD7) {
        f.Indent = 1;
        value("%W", markerName(m) + " リスタートマーカー");
        f.Indent = 0;
    } else if (m == 0xD8 || m == 0xD9 || m == 0x01) {
        f.PrintIndex(markerName(m) + (m == 0xD8 ? " 画像の開始" : m == 0xD9 ? " 画像の終了" : ""));
        f.Indent = 1;
        value("%W", "マーカー");
        f.Indent = 0;
        ended = m == 0xD9;
        inScan = false;
    } else {
        segment(m);
        inScan = m == 0xDA;
    }
}
if (!ended) f.Assert(false, "EOI マーカーがありません。");

if (f.GetOffset() < fileSize) {
    f.PrintIndex("EOI の後のデータ");
    f.PutAll();
}
