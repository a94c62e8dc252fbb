' ファイルの終わりを越えて読むと、ライブラリが異常を報告して
' 解析を打ち切ります。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "短いファイル"
f.TemplateExtend = ".bin"
f.Regist

f.Endian = False
f.PutWord
f.PutDWord
f.Print "ここには来ません"
