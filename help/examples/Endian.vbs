' Endian = True でビッグエンディアン、False でリトルエンディアン。
' 読み出す値が変わり、エディタのバイトオーダーも最後の設定になります。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "バイトオーダー"
f.TemplateExtend = ".bin"
f.Regist

Function Order()
    If f.Endian Then Order = "ビッグエンディアン" Else Order = "リトルエンディアン"
End Function
f.Endian = False
f.Print Order() & " " & f.GetWord(0)
f.Endian = True
f.Print Order() & " " & f.GetWord(0)
f.PutWords 2
