' Seek(位置, 基準) で読み出し位置を動かします。基準は 0 がファイルの
' 先頭、1 が今の位置、2 がファイルの終わりです。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "位置の操作"
f.TemplateExtend = ".bin"
f.Regist

f.Print "長さ " & f.Length() & " バイト"
f.Seek -2, 2
f.Print "末尾の 2 バイトは " & f.GetOffset() & " から"
f.Seek 0, 0
Do Until f.Eof
    f.Print "位置 " & f.GetOffset()
    f.PutBytes 4
Loop
