// Reversible and big-endian; reports a format problem when the file starts
// with FF.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "判定";
f.TemplateExtend = ".fmt";
f.Version = 2.05;
f.Regist();
f.Endian = true;
var first = f.Length() > 0 ? f.GetByte(0, false) : 0;
f.Assert(first != 0xFF, "先頭が FF です");
f.PutAll();
