' PutFormat は書式の通りに値を 1 行に出力します。値の名前は
' < > で囲んでコメントにします。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "書式で出力"
f.TemplateExtend = ".bin"
f.Regist

f.Endian = False
f.PutFormat "%4C <識別子>"
f.PutFormat "%W <版> %W <件数>"
f.PutFormat "<予約> "
f.PutFormat "%3B"
