// Declares two extensions in one text.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "ビットマップ画像";
f.TemplateExtend = ".bmp.dib";
f.Regist();
f.PutAll();
