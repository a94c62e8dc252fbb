// PutString(n) は n バイトを文字として出力します。表示できない
// バイトや二重引用符は 16 進数のまま出力されます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "文字の出力";
f.TemplateExtend = ".txt";
f.Regist();

f.PutString(8);
f.PutString(f.Length() - 8);
