' Assert(条件, 文) は条件が成り立たないときだけ Abort と同じように
' 打ち切ります。文を省くと決まった文が報告されます。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "条件の確認"
f.TemplateExtend = ".bin"
f.Regist

f.Assert f.Length() >= 4, "ファイルが短すぎます。"
f.PutString 2
f.Assert f.GetByte(0) = 0
f.PutAll
