// Declares the template; in an information query Regist ends the script.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "ビットマップ画像";
f.TemplateExtend = ".bmp.dib";
f.Regist();
f.TemplateExtend = ".after";
