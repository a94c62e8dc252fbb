// Icon template (JScript): decodes the ICONDIR header of an icon (.ico) or
// cursor (.cur) file and each of its ICONDIRENTRY records (the hotspot for
// cursors, planes and colour depth for icons), then shows the images in file
// order: a PNG image as hexadecimal lines, a bitmap image with its
// BITMAPINFOHEADER decoded and the colour table, pixels and mask as
// hexadecimal lines. An entry whose image does not fit the file, or that
// overlaps another, stops the walk with Assert; the library's error report
// then dumps the rest, so the text always holds every byte.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "アイコン / カーソル";
f.TemplateExtend = ".ico.cur";
f.EditorName = "Tevrin";
f.Comment = "ICONDIR と ICONDIRENTRY を解析し、各画像を表示します。";
f.HelpURI = "https://learn.microsoft.com/en-us/previous-versions/ms997538(v=msdn.10)";
f.Version = 1.0;
f.Regist();

// Every number in an icon file is little-endian.
f.Endian = false;

// A value line followed by its name as a comment, on one line.
function value(conversion, name) { f.PutFormat(conversion + " <" + name + ">"); }

var fileSize = f.Length();
var kind = fileSize >= 6 ? f.GetWord(1) : 0;
var count = fileSize >= 6 ? f.GetWord(2) : 0;
if (fileSize < 6 || f.GetWord(0) != 0 || (kind != 1 && kind != 2))
    f.Assert(false, "ICONDIR ヘッダがありません。");
var cursor = kind == 2;

f.PrintIndex("ICONDIR");
f.Indent = 1;
value("%W", "予約 (0)");
value("%W", "種類 (1 = アイコン, 2 = カーソル)");
value("%W", "画像数");
f.Indent = 0;
if (count * 16 > fileSize - 6) f.Assert(false, "ICONDIRENTRY がファイルの終端を越えています。");

var images = [];
for (var i = 0; i < count; i++) {
    // A width or height of 0 stands for 256 pixels.
    var width = f.GetByte(0) || 256, height = f.GetByte(1) || 256;
    images.push({ index: i, width: width, height: height,
                  size: f.GetDWord(2), offset: f.GetDWord(3) });
    f.PrintIndex("ICONDIRENTRY " + i + " (" + width + " x " + height + ")");
    f.Indent = 1;
    value("%B", "幅 (0 = 256)");
    value("%B", "高さ (0 = 256)");
    value("%B", "色数 (0 = 256 色以上)");
    value("%B", "予約");
    if (cursor) {
        value("%W", "ホットスポットの X 座標");
        value("%W", "ホットスポットの Y 座標");
    } else {
        value("%W", "カラープレーン数");
        value("%W", "1 画素のビット数");
    }
    value("%D", "画像のバイト数");
    value("%D", "画像の位置");
    f.Indent = 0;
}

function bitmapImage(size) {
    f.Print("BITMAPINFOHEADER");
    value("%D", "biSize");
    value("%D", "biWidth 幅");
    value("%D", "biHeight 高さ (画像とマスクで 2 倍)");
    value("%W", "biPlanes");
    value("%W", "biBitCount 色深度");
    value("%D", "biCompression 圧縮形式");
    value("%D", "biSizeImage");
    value("%D", "biXPelsPerMeter");
    value("%D", "biYPelsPerMeter");
    value("%D", "biClrUsed 使用色数");
    value("%D", "biClrImportant");
    if (size > 40) {
        f.Print("カラーテーブル, 画素と AND マスク");
        f.PutBytes(size - 40);
    }
}

// The images follow the entries in the order of their positions; the text
// must hold the bytes in file order, so the entries are walked sorted.
images.sort(function (a, b) { return a.offset - b.offset; });
var previous = null;
for (var i = 0; i < images.length; i++) {
    var image = images[i];
    if (previous && image.offset == previous.offset && image.size == previous.size) {
        f.Print("画像 " + image.index + " は画像 " + previous.index + " と同じデータを使います");
        continue;
    }
    if (image.offset < f.GetOffset() || image.size > fileSize - image.offset)
        f.Assert(false, "画像 " + image.index + " の位置と大きさがファイルに合いません。");
    if (image.offset > f.GetOffset()) {
        f.Print("画像の前の空き");
        f.PutBytes(image.offset - f.GetOffset());
    }
    var isPng = image.size >= 8 && f.GetDWord(0) == 0x474E5089 && f.GetDWord(1) == 0x0A1A0A0D;
    var isBitmap = !isPng && image.size >= 40 && f.GetDWord(0) == 40;
    f.PrintIndex("画像 " + image.index + " (" + image.width + " x " + image.height +
                 (isPng ? ", PNG" : isBitmap ? ", ビットマップ" : "") + ")");
    f.Indent = 1;
    if (isBitmap) bitmapImage(image.size);
    else if (image.size > 0) f.PutBytes(image.size);
    f.Indent = 0;
    previous = image;
}

if (f.GetOffset() < fileSize) {
    f.PrintIndex("残りのデータ");
    f.PutAll();
}
