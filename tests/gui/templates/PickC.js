// One of three templates for the same extension.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "選択C";
f.TemplateExtend = ".two";
f.Version = 0;
f.Regist();
f.PutAll();
