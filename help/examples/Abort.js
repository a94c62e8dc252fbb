// Abort は解析を異常として打ち切ります。残りのバイトはそのまま
// 16 進数で出力されるので、テキストはファイルのすべてのバイトを保ちます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "打ち切り";
f.TemplateExtend = ".bin";
f.Regist();

f.PutString(2);
if (f.GetByte(0) > 1) {
    f.Abort("この版には対応していません。");
}
f.PutAll();
