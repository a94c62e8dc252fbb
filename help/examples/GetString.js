// GetString(バイト数, 位置) は文字列を読みます。位置はバイト単位で、
// 0 のバイトがあればそこで終わります。読み出し位置は動きません。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "文字列の読み出し";
f.TemplateExtend = ".bin";
f.Regist();

if (f.GetString(4, 0) != "SCOR") f.Abort("得点ファイルではありません。");
f.Print("名前 " + f.GetString(8, 4));
f.PutString(4);
f.PutFormat("%8C");
