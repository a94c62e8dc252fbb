' Declares the template and calls Regist, as declare.js does.
Set f = CreateObject("Velda.File")
f.TemplateName = "WAVE オーディオ"
f.TemplateExtend = "..bin..dat."
f.EditorName = "作者"
f.Comment = "コメント"
f.HelpURI = "http://example.invalid/help"
f.Version = 2.5
f.Regist
f.Comment = "after Regist"
WScript.Echo "after Regist " & f.GetExtendNo
