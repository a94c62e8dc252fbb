// Claims to be reversible but prints one number behind the library's back:
// the text packs to one byte more than the template emitted.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "不一致";
f.TemplateExtend = ".bad";
f.Regist();
f.PutAll();
WScript.Echo("FF");
