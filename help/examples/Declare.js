// 宣言: テンプレートの名前、対応する拡張子、作成者、コメント、
// ヘルプのアドレスと版を書いてから Regist を呼びます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "得点ファイル";
f.TemplateExtend = ".scr.sco";
f.EditorName = "山田 太郎";
f.Comment = "得点表を見出しと値に分けて表示します。";
f.HelpURI = "https://example.com/score/";
f.Version = 1.25;
f.Regist();

f.Print(f.TemplateName + " Ver." + f.Version);
f.Print("拡張子 " + f.TemplateExtend);
f.PutAll();
