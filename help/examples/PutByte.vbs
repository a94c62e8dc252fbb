' PutByte などは値を 1 行に出力して、その値を返します。
' 出力した分だけ読み出し位置が進みます。
Dim f, kind, stamp
Set f = CreateObject("Velda.File")
f.TemplateName = "値の出力"
f.TemplateExtend = ".bin"
f.Regist

f.Endian = False
kind = f.PutByte()
f.Print "種類 " & kind
f.PutByte True
f.PutWord
f.PutDWord
stamp = f.PutQWord()
f.Print "時刻 " & stamp
