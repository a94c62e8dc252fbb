' Print はコメント行 < … >、PrintIndex は番号付きの見出し行
' [ 番号.… ] を出力します。どちらもファイルのバイトにはなりません。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "コメントと見出し"
f.TemplateExtend = ".bin"
f.Regist

f.PrintIndex "ヘッダー"
f.Print "識別子"
f.PutString 2
f.PrintIndex "データ"
f.PutAll
