' GetBytes(n) などは読み出し位置から n 個の値を配列で返します。
' 配列の添字は 0 から始まります。
Dim f, bytes, words, dwords, text, i
Set f = CreateObject("Velda.File")
f.TemplateName = "配列の読み出し"
f.TemplateExtend = ".bin"
f.Regist

f.Endian = True
bytes = f.GetBytes(4)
text = "バイト"
For i = 0 To UBound(bytes)
    text = text & " " & bytes(i)
Next
f.Print text
words = f.GetWords(2)
f.Print "ワード " & words(0) & " " & words(1)
dwords = f.GetDWords(1)
f.Print "ダブルワード " & dwords(0)
f.Print "クワッドワード " & (UBound(f.GetQWords(0)) + 1) & " 個"
f.PutDWords 1
