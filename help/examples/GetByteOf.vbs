' 読み出し位置から続く値を、渡した変数（5 個まで）に受け取ります。
' 読み出し位置は動きません。
Dim f, a, b, c, w1, w2, d, q
Set f = CreateObject("Velda.File")
f.TemplateName = "連続した値"
f.TemplateExtend = ".bin"
f.Regist

f.Endian = False
f.GetByteOf a, b, c
f.Print "バイト " & a & ", " & b & ", " & c
f.GetWordOf w1, w2
f.Print "ワード " & w1 & ", " & w2
f.GetDWordOf d
f.GetQWordOf q
f.Print "ダブルワード " & d & " クワッドワード " & q
f.PutAll
