// CalcCrc32(位置, バイト数, 初期値[, 基準]) はファイルの一部の CRC を
// 計算します。テキストは出力せず、読み出し位置も動きません。
// 反転しない形の CRC-32 なので、一般的な CRC-32 と比べるときは
// 初期値 0xFFFFFFFF で計算し、結果のビットを逆順にしてから反転します。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "チェックサム";
f.TemplateExtend = ".bin";
f.Regist();

var crc = f.CalcCrc32(0, 9, 0xFFFFFFFF);
f.Print("CRC " + crc);
var reflected = 0;
for (var i = 0; i < 32; i++) {
    reflected = reflected * 2 + (Math.floor(crc / Math.pow(2, i)) % 2);
}
f.Print("一般的な CRC-32 " + (0xFFFFFFFF - reflected));
f.Print("ファイルの外まで " + f.CalcCrc32(-3, 4, 0, 2));
f.PutString(9);
