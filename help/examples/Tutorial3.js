// 得点ファイル（手順 3）: レコードを 1 件ずつ名前と得点に分けます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "得点ファイル";
f.TemplateExtend = ".scr";
f.EditorName = "山田 太郎";
f.Comment = "得点ファイルのヘッダーとレコードを表示します。";
f.Version = 1.0;
f.Regist();

f.Endian = false;
f.Assert(f.Length() >= 8 && f.GetString(4, 0) == "SCOR", "得点ファイルではありません。");
f.PrintIndex("ヘッダー");
f.Indent = 1;
f.PutFormat("%4C <識別子>");
f.PutFormat("%W <版>");
var count = f.GetWord(0);
f.PutFormat("%W <レコード数>");
f.Indent = 0;
f.PrintIndex("レコード");
for (var i = 1; i <= count; i++) {
    f.Indent = 1;
    f.Print(i + " 件目 " + f.GetString(8, 0) + " " + f.GetWord(4) + " 点");
    f.Indent = 2;
    f.PutFormat("%8C <名前>");
    f.PutFormat("%W <得点>");
}
f.Indent = 0;
if (!f.Eof()) {
    f.Message("レコードの後に " + (f.Length() - f.GetOffset()) + " バイトあります。");
    f.PrintIndex("残りのデータ");
    f.PutAll();
}
