' Indent に数を入れると、それからの各行の先頭にその数のタブが付きます。
Dim f, count, i
Set f = CreateObject("Velda.File")
f.TemplateName = "字下げ"
f.TemplateExtend = ".bin"
f.Regist

f.Endian = False
count = f.GetWord(0)
f.PrintIndex "レコード " & count & " 件"
f.PutWord
For i = 1 To count
    f.Indent = 1
    f.Print "レコード " & i
    f.Indent = 2
    f.PutBytes 2
Next
f.Indent = 0
f.PutAll
