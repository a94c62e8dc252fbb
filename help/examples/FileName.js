// FileName は開いたファイルの名前、GetExtendNo は TemplateExtend の
// 何番目の拡張子に当たるかを返します（.bmp なら 1、.dib なら 2）。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "ビットマップ";
f.TemplateExtend = ".bmp.dib";
f.Regist();

f.Print("ファイル名 " + f.FileName);
if (f.GetExtendNo() == 2) {
    f.Print("ファイルヘッダーのない DIB です");
}
f.PutAll();
