// Declares itself not reversible and shows the bytes followed by one more
// number: its text does not pack back to the file, and nobody checks that.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "検査なし";
f.TemplateExtend = ".nrv";
f.Regist();
f.Reversible = false;
f.PutAll();
WScript.Echo("FF");
