// PutByte などは値を 1 行に出力して、その値を返します。
// 出力した分だけ読み出し位置が進みます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "値の出力";
f.TemplateExtend = ".bin";
f.Regist();

f.Endian = false;
var kind = f.PutByte();
f.Print("種類 " + kind);
f.PutByte(true);
f.PutWord();
f.PutDWord();
var stamp = f.PutQWord();
f.Print("時刻 " + stamp);
