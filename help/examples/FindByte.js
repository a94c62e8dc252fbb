// FindByte などは読み出し位置から値を探し、何個目の値かを返します
// （見つからなければ -1）。読み出し位置は動きません。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "値の検索";
f.TemplateExtend = ".bin";
f.Regist();

f.Endian = true;
var end = f.FindByte(0);
f.Print("0 のバイトまで " + end + " バイト");
f.PutString(end + 1);
f.Print("ワード CAFE → " + f.FindWord(0xCAFE));
f.Print("ダブルワード CAFE0001 → " + f.FindDWord(0xCAFE0001 | 0));
f.Print("クワッドワード 5 → " + f.FindQWord(5));
f.PutWords(4);
f.PutQWords(1);
