' Message の文はテキストではなく、エディタのアウトプット バーに出ます。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "メッセージ"
f.TemplateExtend = ".bin"
f.Regist

If f.Length() Mod 4 <> 0 Then
    f.Message "長さが 4 の倍数ではありません（" & f.Length() & " バイト）。"
End If
f.PutAll
