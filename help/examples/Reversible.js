// 数値を 10 進数で表示するだけのテンプレートは、テキストから元の
// バイトに戻せません。Reversible を false にして、上書き保存を止めます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "10 進表示";
f.TemplateExtend = ".bin";
f.Regist();

f.Reversible = false;
while (!f.Eof()) {
    f.Print("値 " + f.GetByte(0));
    f.Seek(1, 1);
}
