// Declares itself, shows the file name the editor handed over and emits
// every byte of the file.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "全体";
f.TemplateExtend = ".bin";
f.Regist();
f.Print("名前 " + f.FileName);
f.PutAll();
