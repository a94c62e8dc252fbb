' Declares one extension, with periods around it, from VBScript.
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "音声"
f.TemplateExtend = "..wav."
f.Regist
f.PutAll
