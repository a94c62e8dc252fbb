' GetString(バイト数, 位置) は文字列を読みます。位置はバイト単位で、
' 0 のバイトがあればそこで終わります。読み出し位置は動きません。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "文字列の読み出し"
f.TemplateExtend = ".bin"
f.Regist

If f.GetString(4, 0) <> "SCOR" Then f.Abort "得点ファイルではありません。"
f.Print "名前 " & f.GetString(8, 4)
f.PutString 4
f.PutFormat "%8C"
