// Declares the template and calls Regist. In the editor's information
// query (no standard input) Regist fails and ends the script, so the
// assignment after it never reaches the block.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "ビットマップ画像";
f.TemplateExtend = ".bmp.dib";
f.EditorName = "作者";
f.Comment = "コメント";
f.HelpURI = "http://example.invalid/help";
f.Version = 1.059;
f.Reversible = false;
f.Regist();
f.Comment = "after Regist";
WScript.Echo("after Regist " + f.GetExtendNo());
