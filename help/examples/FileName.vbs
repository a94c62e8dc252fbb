' FileName は開いたファイルの名前、GetExtendNo は TemplateExtend の
' 何番目の拡張子に当たるかを返します（.bmp なら 1、.dib なら 2）。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "ビットマップ"
f.TemplateExtend = ".bmp.dib"
f.Regist

f.Print "ファイル名 " & f.FileName
If f.GetExtendNo = 2 Then
    f.Print "ファイルヘッダーのない DIB です"
End If
f.PutAll
