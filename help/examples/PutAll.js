// PutAll は読み出し位置からファイルの終わりまでを 16 進数の行に
// 出力します。値の幅はエディタのデータサイズに従い、半端なバイトは
// 最後に 1 バイトずつ出力されます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "残りの出力";
f.TemplateExtend = ".bin";
f.Regist();

f.PrintIndex("ヘッダー");
f.PutBytes(2);
f.PrintIndex("残りのデータ");
f.PutAll();
