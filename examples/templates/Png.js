// PNG template (JScript): shows the signature, then walks the chunks of a
// PNG image: each chunk's length, its type as characters, its data (IHDR and
// a few small chunks decoded into named values, the rest as hexadecimal
// lines) and its CRC. Beside the stored CRC the template writes the CRC that
// the chunk's type and data need; when the two differ it stops with Assert,
// so the editor warns before a stale checksum is saved. A chunk that runs
// past the end of the file stops the walk the same way; the library's error
// report then dumps the rest, so the text always holds every byte.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "PNG 画像";
f.TemplateExtend = ".png";
f.EditorName = "Tevrin";
f.Comment = "PNG のシグネチャとチャンクを解析し、CRC を検査します。";
f.HelpURI = "https://www.w3.org/TR/png/";
f.Version = 1.0;
f.Regist();

// Every number in a PNG file is big-endian.
f.Endian = true;

// A value line followed by its name as a comment, on one line.
function value(conversion, name) { f.PutFormat(conversion + " <" + name + ">"); }

function hex8(v) {
    var s = (v >>> 0).toString(16).toUpperCase();
    while (s.length < 8) s = "0" + s;
    return s;
}

// The library's CalcCrc32 shifts the register out at the top and feeds each
// byte's bits least significant first; with the register started at all
// ones, its result is the bit-reversed register of the reflected CRC-32 that
// PNG uses, before that CRC's final complement.
function reverse32(v) {
    var r = 0;
    for (var i = 0; i < 32; i++) {
        r = (r << 1) | (v & 1);
        v >>>= 1;
    }
    return r >>> 0;
}
function pngCrc(distance, size) {
    var r = f.CalcCrc32(distance, size, 0xFFFFFFFF, 1);
    return (~reverse32(r)) >>> 0;
}

// Chunk types are four ASCII letters; anything else is not put into a
// heading, where a stray bracket would end the heading early.
function typeLabel(type) { return /^[A-Za-z]{4}$/.test(type) ? type : "????"; }

var colourTypes = { 0: "グレースケール", 2: "トゥルーカラー", 3: "インデックスカラー",
                    4: "グレースケール + アルファ", 6: "トゥルーカラー + アルファ" };

function ihdr() {
    value("%D", "幅");
    value("%D", "高さ");
    value("%B", "ビット深度");
    var colourType = f.GetByte(0);
    var name = colourTypes[colourType] ? " " + colourTypes[colourType] : "";
    value("%B", "カラータイプ" + name);
    value("%B", "圧縮方式 (0 = deflate)");
    value("%B", "フィルタ方式");
    value("%B", "インターレース (1 = Adam7)");
}

function plte(size) {
    var entries = Math.floor(size / 3);
    for (var i = 0; i < entries; i++) value("%3B", i + " R G B");
    if (size % 3 > 0) f.PutBytes(size % 3);
}

// tEXt: a keyword, a zero byte and the text, all Latin-1 characters.
function text(size) {
    var zero = f.FindByte(0);
    if (zero < 0 || zero >= size || size > 4096) {
        f.PutBytes(size);
        return;
    }
    f.Print("キーワード");
    f.PutString(zero);
    f.PutByte();
    if (size - zero - 1 > 0) {
        f.Print("テキスト");
        f.PutString(size - zero - 1);
    }
}

function chunkData(type, size) {
    if (type == "IHDR" && size == 13) ihdr();
    else if (type == "PLTE") plte(size);
    else if (type == "tEXt") text(size);
    else if (type == "gAMA" && size == 4) value("%D", "ガンマ値 x 100000");
    else if (type == "pHYs" && size == 9) {
        value("%D", "X 方向の画素密度");
        value("%D", "Y 方向の画素密度");
        value("%B", "単位 (1 = メートル)");
    } else if (type == "tIME" && size == 7) {
        value("%W", "年");
        value("%5B", "月 日 時 分 秒");
    } else if (size > 0) f.PutBytes(size);
}

var fileSize = f.Length();
var isPng = fileSize >= 8 && f.GetDWord(0) == 0x89504E47 && f.GetDWord(1) == 0x0D0A1A0A;
if (!isPng) f.Assert(false, "PNG のシグネチャがありません。");

f.PrintIndex("シグネチャ");
f.Indent = 1;
value("%8B", "89 'PNG' CR LF 1A LF");
f.Indent = 0;

var ended = false;
while (!ended && f.GetOffset() < fileSize) {
    var left = fileSize - f.GetOffset();
    if (left < 12) f.Assert(false, "チャンクが途中で切れています。");
    var size = f.GetDWord(0);
    var type = f.GetString(4, 4);
    var label = typeLabel(type);
    if (size > left - 12) {
        f.Print("チャンク " + label + " の長さ " + size + " がファイルの終端を越えています");
        f.Assert(false, "チャンク " + label + " がファイルの終端を越えています。");
    }
    var need = pngCrc(4, size + 4);
    f.PrintIndex("チャンク " + label + " (" + size + " バイト)");
    f.Indent = 1;
    value("%D", "データ長");
    f.PutString(4);
    chunkData(type, size);
    var stored = f.GetDWord(0);
    value("%D", "CRC 計算値 " + hex8(need));
    f.Indent = 0;
    if (stored != need) {
        f.Assert(false, "チャンク " + label + " の CRC が一致しません (格納値 " + hex8(stored) +
                        "、計算値 " + hex8(need) + ")。");
    }
    ended = type == "IEND";
}

if (f.GetOffset() < fileSize) {
    f.PrintIndex("IEND の後のデータ");
    f.PutAll();
}
