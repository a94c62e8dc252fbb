// PutBytes(n) などは n 個の値を 16 進数の行に出力します。1 行の
// バイト数と区切り記号はエディタの「データ表示設定」に従います。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "16 進数の出力";
f.TemplateExtend = ".bin";
f.Regist();

f.Endian = false;
f.PutBytes(6);
f.PutWords(3);
f.PutDWords(2);
f.PutQWords(1);
