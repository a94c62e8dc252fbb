// ファイルの終わりを越えて読むと、ライブラリが異常を報告して
// 解析を打ち切ります。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "短いファイル";
f.TemplateExtend = ".bin";
f.Regist();

f.Endian = false;
f.PutWord();
f.PutDWord();
f.Print("ここには来ません");
