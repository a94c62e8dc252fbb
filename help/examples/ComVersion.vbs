' Velda.Com はライブラリの版だけを知らせます（1.0.3 なら 103）。
Dim f, com, v
Set f = CreateObject("Velda.File")
f.TemplateName = "版の確認"
f.TemplateExtend = ".bin"
f.Regist

Set com = CreateObject("Velda.Com")
v = com.Version
f.Print "Velda の版 " & (v \ 100) & "." & ((v \ 10) Mod 10) & "." & (v Mod 10)
If v < 103 Then f.Abort "Velda 1.0.3 以降が必要です。"
f.PutAll
