// Declares a name but no extension.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "拡張子なし";
f.Regist();
f.PutAll();
