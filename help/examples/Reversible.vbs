' 数値を 10 進数で表示するだけのテンプレートは、テキストから元の
' バイトに戻せません。Reversible を False にして、上書き保存を止めます。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "10 進表示"
f.TemplateExtend = ".bin"
f.Regist

f.Reversible = False
Do Until f.Eof
    f.Print "値 " & f.GetByte(0)
    f.Seek 1, 1
Loop
