// Bitmap template (JScript): decodes the file header, the information
// header and the colour table of a Windows bitmap (.bmp, .dib) into
// headings, values with their names and comments, shows the pixel rows one
// line group per row, and hands everything it does not know to PutAll so
// the text always holds every byte of the file. A file cut short ends with
// the library's error report, which holds the bytes that are left.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "ビットマップ画像";
f.TemplateExtend = ".bmp.dib";
f.EditorName = "Tevrin";
f.Comment = "BITMAPFILEHEADER と BITMAPINFOHEADER を解析します。";
f.HelpURI = "https://learn.microsoft.com/windows/win32/gdi/bitmap-storage";
f.Version = 1.0;
f.Regist();

// Every number in a bitmap is little-endian.
f.Endian = false;

// A value line followed by its name as a comment, on one line.
function dword(name) { f.PutFormat("%D <" + name + ">"); }
function word(name) { f.PutFormat("%W <" + name + ">"); }

var fileSize = f.Length();
var isFile = fileSize >= 14 && f.GetString(2, 0) == "BM";
if (isFile) {
    f.PrintIndex("BITMAPFILEHEADER");
    f.Indent = 1;
    // The file header as comment lines and plain value lines.
    f.Print("bfType 'BM'");
    f.PutString(2);
    f.Print("bfSize ファイルサイズ");
    var bfSize = f.PutDWord();
    f.Print("bfReserved1, bfReserved2");
    f.PutWord();
    f.PutWord();
    f.Print("bfOffBits 画素データの位置");
    var offBits = f.PutDWord();
    f.Indent = 0;
} else {
    // A .dib without file header starts with the information header; the
    // pixels follow the colour table directly.
    var offBits = -1;
}

var headerStart = f.GetOffset();
var headerSize = fileSize - headerStart >= 4 ? f.GetDWord(0) : 0;
var width = 0, height = 0, bitCount = 0, colours = 0, compression = 0;
var rowBytes = 0;
if (headerSize == 12 && headerStart + 12 <= fileSize) {
    f.PrintIndex("BITMAPCOREHEADER");
    f.Indent = 1;
    dword("bcSize");
    width = f.GetWord(0);
    word("bcWidth 幅");
    height = f.GetWord(0, true);
    word("bcHeight 高さ");
    word("bcPlanes");
    bitCount = f.GetWord(0);
    word("bcBitCount 色深度");
    f.Indent = 0;
    if (bitCount <= 8) colours = 1 << bitCount;
    var entrySize = 3;
} else if (headerSize >= 40 && headerStart + headerSize <= fileSize) {
    f.PrintIndex("BITMAPINFOHEADER");
    f.Indent = 1;
    dword("biSize");
    width = f.GetDWord(0, true);
    dword("biWidth 幅");
    height = f.GetDWord(0, true);
    dword("biHeight 高さ (負なら上から下)");
    word("biPlanes");
    bitCount = f.GetWord(0);
    word("biBitCount 色深度");
    compression = f.GetDWord(0);
    dword("biCompression 圧縮形式");
    dword("biSizeImage");
    dword("biXPelsPerMeter");
    dword("biYPelsPerMeter");
    colours = f.GetDWord(0);
    dword("biClrUsed 使用色数");
    dword("biClrImportant");
    if (headerSize > 40) {
        f.Print("拡張ヘッダ");
        f.PutBytes(headerSize - 40);
    }
    f.Indent = 0;
    if (colours == 0 && bitCount <= 8) colours = 1 << bitCount;
    var entrySize = 4;
} else if (headerSize == 12 || (headerSize >= 40 && headerSize <= 124)) {
    f.Assert(false, "情報ヘッダが途中で切れています。");
} else {
    f.Print("未知のヘッダ形式");
}

if (colours > 0 && f.GetOffset() + colours * entrySize <= fileSize) {
    f.PrintIndex("カラーテーブル (" + colours + " 色)");
    f.Indent = 1;
    for (var i = 0; i < colours; i++) {
        // Blue, green, red (and a reserved byte) in file order.
        f.PutFormat("%" + entrySize + "B <" + i + ">");
    }
    f.Indent = 0;
}

if (offBits > f.GetOffset() && offBits <= fileSize) {
    f.Print("画素データまでの空き");
    f.PutBytes(offBits - f.GetOffset());
}

if (width > 0 && compression == 0 && bitCount > 0) {
    rowBytes = Math.floor((width * bitCount + 31) / 32) * 4;
    var rows = Math.abs(height);
    f.PrintIndex("画素データ (" + width + " x " + rows + ", " + bitCount + " ビット)");
    f.Indent = 1;
    for (var row = 0; row < rows && f.GetOffset() + rowBytes <= fileSize; row++) {
        if (rows <= 256) f.Print("行 " + row);
        f.PutBytes(rowBytes);
    }
    f.Indent = 0;
    if (row < rows) f.Assert(false, "画素データが途中で切れています (" + row + " / " + rows + " 行)。");
}

// A file shorter than its own header says was cut off: the library's error
// report shows what is left.
if (offBits >= 0 && bfSize > fileSize) {
    f.Assert(false, "ファイルが途中で切れています (bfSize " + bfSize + "、実際は " + fileSize + " バイト)。");
}

if (!f.Eof()) {
    f.PrintIndex("残りのデータ");
    f.PutAll();
}
