// 読み出し位置から数えて n 個目の値を読みます。読み出し位置は動きません。
// 第 2 引数を true にすると符号付きで読みます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "値の読み出し";
f.TemplateExtend = ".bin";
f.Regist();

f.Endian = false;
f.Print("GetByte(0) = " + f.GetByte(0));
f.Print("符号付きの GetByte(0) = " + f.GetByte(0, true));
f.Print("GetWord(1) = " + f.GetWord(1));
f.Print("GetDWord(1) = " + f.GetDWord(1));
f.Print("GetQWord(0) = " + f.GetQWord(0));
f.PutAll();
