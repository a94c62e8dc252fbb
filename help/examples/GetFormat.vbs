' GetFormat は書式の通りに値を読み、配列で返します。読み出し位置は
' 動きません。%C は 1 バイトの文字になります。
Dim f, v
Set f = CreateObject("Velda.File")
f.TemplateName = "書式で読む"
f.TemplateExtend = ".bin"
f.Regist

f.Endian = False
v = f.GetFormat("%2W%C%B")
f.Print "幅 " & v(0) & " 高さ " & v(1) & " 記号 " & v(2) & " 色数 " & v(3)
f.PutFormat "%2W %C %B"
