// GIF template (JScript): decodes the header and the logical screen
// descriptor of a GIF87a or GIF89a image, lists the global colour table one
// entry per line, then walks the blocks: image descriptors with their local
// colour table and LZW data sub-blocks, the graphic control, comment,
// application and plain text extensions, and the trailer. A block that does
// not fit the file stops the walk with Assert; the library's error report
// then dumps the rest, so the text always holds every byte.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "GIF 画像";
f.TemplateExtend = ".gif";
f.EditorName = "Tevrin";
f.Comment = "GIF87a/89a のヘッダ、カラーテーブルとブロックを解析します。";
f.HelpURI = "https://www.w3.org/Graphics/GIF/spec-gif89a.txt";
f.Version = 1.0;
f.Regist();

// Every number in a GIF file is little-endian.
f.Endian = false;

// A value line followed by its name as a comment, on one line.
function value(conversion, name) { f.PutFormat(conversion + " <" + name + ">"); }

var fileSize = f.Length();
function left() { return fileSize - f.GetOffset(); }
// A little-endian word at a distance in bytes (GetWord counts its distance
// in words, and the fields of a block are not aligned to them).
function wordAt(distance) { return f.GetByte(distance) + 256 * f.GetByte(distance + 1); }
function need(size, what) {
    if (left() < size) f.Assert(false, what + "がファイルの終端を越えています。");
}

// A colour table of 2^(n+1) entries, red, green and blue each.
function colourTable(packed, title) {
    var entries = 1 << ((packed & 7) + 1);
    need(entries * 3, title);
    f.PrintIndex(title + " (" + entries + " 色)");
    f.Indent = 1;
    for (var i = 0; i < entries; i++) value("%3B", i + " R G B");
    f.Indent = 0;
}

// Data sub-blocks: a size byte and that many bytes, up to a size of 0.
// Each step consumes at least the size byte, so the loop always ends.
function subBlocks(asText) {
    for (;;) {
        need(1, "サブブロック");
        var size = f.GetByte(0);
        if (size == 0) {
            value("%B", "ブロック終端");
            return;
        }
        need(1 + size, "サブブロック");
        value("%B", "サブブロック長");
        if (asText) f.PutString(size);
        else f.PutBytes(size);
    }
}

function imageDescriptor() {
    need(10, "イメージ記述子");
    var width = wordAt(5), height = wordAt(7);
    var packed = f.GetByte(9);
    f.PrintIndex("イメージ記述子 (" + width + " x " + height + ")");
    f.Indent = 1;
    value("%B", "イメージ区切り 2C");
    value("%W", "左端");
    value("%W", "上端");
    value("%W", "幅");
    value("%W", "高さ");
    value("%B", "フラグ: 局所カラーテーブル " + ((packed >> 7) & 1) + ", インターレース " +
                ((packed >> 6) & 1) + ", テーブルサイズ " + (packed & 7));
    f.Indent = 0;
    if (packed & 0x80) colourTable(packed, "局所カラーテーブル");
    need(1, "LZW 最小符号長");
    f.PrintIndex("画像データ");
    f.Indent = 1;
    value("%B", "LZW 最小符号長");
    subBlocks(false);
    f.Indent = 0;
}

function extension() {
    need(2, "拡張ブロック");
    var label = f.GetByte(1);
    var names = { 0xF9: "グラフィック制御拡張", 0xFE: "コメント拡張",
                  0xFF: "アプリケーション拡張", 0x01: "プレーンテキスト拡張" };
    f.PrintIndex(names[label] ? names[label] : "拡張ブロック " + label);
    f.Indent = 1;
    value("%B", "拡張導入子 21");
    value("%B", "ラベル");
    // The fixed part of each known extension is a sub-block of a known size;
    // with another size it is shown as plain sub-blocks.
    var size = left() > 0 ? f.GetByte(0) : -1;
    if (label == 0xF9 && size == 4 && left() >= 6) {
        var packed = f.GetByte(1);
        value("%B", "ブロック長");
        value("%B", "フラグ: 廃棄方法 " + ((packed >> 2) & 7) + ", ユーザ入力 " +
                    ((packed >> 1) & 1) + ", 透過色 " + (packed & 1));
        value("%W", "遅延時間 (1/100 秒)");
        value("%B", "透過色番号");
        subBlocks(false);
    } else if (label == 0xFE) {
        subBlocks(true);
    } else if (label == 0xFF && size == 11 && left() >= 12) {
        value("%B", "ブロック長");
        f.Print("アプリケーション識別子と認証符号");
        f.PutString(8);
        f.PutString(3);
        subBlocks(false);
    } else if (label == 0x01 && size == 12 && left() >= 13) {
        value("%B", "ブロック長");
        value("%W", "テキスト格子の左端");
        value("%W", "テキスト格子の上端");
        value("%W", "テキスト格子の幅");
        value("%W", "テキスト格子の高さ");
        value("%B", "文字セルの幅");
        value("%B", "文字セルの高さ");
        value("%B", "前景色番号");
        value("%B", "背景色番号");
        subBlocks(true);
    } else {
        subBlocks(false);
    }
    f.Indent = 0;
}

var version = fileSize >= 6 ? f.GetString(6, 0) : "";
if (version != "GIF87a" && version != "GIF89a") f.Assert(false, "GIF のシグネチャがありません。");

f.PrintIndex("ヘッダ");
f.Indent = 1;
f.PutString(6);
f.Indent = 0;

need(7, "論理画面記述子");
var screenPacked = f.GetByte(4);
f.PrintIndex("論理画面記述子");
f.Indent = 1;
value("%W", "論理画面の幅");
value("%W", "論理画面の高さ");
value("%B", "フラグ: 大域カラーテーブル " + ((screenPacked >> 7) & 1) + ", 色解像度 " +
            (((screenPacked >> 4) & 7) + 1) + " ビット, ソート " + ((screenPacked >> 3) & 1) +
            ", テーブルサイズ " + (screenPacked & 7));
value("%B", "背景色番号");
value("%B", "画素の縦横比");
f.Indent = 0;
if (screenPacked & 0x80) colourTable(screenPacked, "大域カラーテーブル");

// Every block starts with its introducer byte; each branch consumes it, so
// the walk always moves on.
var ended = false;
while (!ended && left() > 0) {
    var introducer = f.GetByte(0);
    if (introducer == 0x2C) imageDescriptor();
    else if (introducer == 0x21) extension();
    else if (introducer == 0x3B) {
        f.PrintIndex("トレーラ");
        f.Indent = 1;
        value("%B", "トレーラ 3B");
        f.Indent = 0;
        ended = true;
    } else f.Assert(false, "不明なブロック " + introducer + " があります。");
}
if (!ended) f.Assert(false, "トレーラがありません。");

if (f.GetOffset() < fileSize) {
    f.PrintIndex("トレーラの後のデータ");
    f.PutAll();
}
