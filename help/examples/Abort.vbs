' Abort は解析を異常として打ち切ります。残りのバイトはそのまま
' 16 進数で出力されるので、テキストはファイルのすべてのバイトを保ちます。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "打ち切り"
f.TemplateExtend = ".bin"
f.Regist

f.PutString 2
If f.GetByte(0) > 1 Then
    f.Abort "この版には対応していません。"
End If
f.PutAll
