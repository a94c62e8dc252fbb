// A second template for the same extension, in upper case.
var f = new ActiveXObject("Velda.File");
f.TemplateExtend = ".BMP";
f.Regist();
f.PutAll();
