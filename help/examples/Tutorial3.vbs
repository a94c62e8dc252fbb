' 得点ファイル（手順 3）: レコードを 1 件ずつ名前と得点に分けます。
Dim f, count, i
Set f = CreateObject("Velda.File")
f.TemplateName = "得点ファイル"
f.TemplateExtend = ".scr"
f.EditorName = "山田 太郎"
f.Comment = "得点ファイルのヘッダーとレコードを表示します。"
f.Version = 1.0
f.Regist

f.Endian = False
If f.Length() < 8 Then f.Abort "得点ファイルではありません。"
f.Assert f.GetString(4, 0) = "SCOR", "得点ファイルではありません。"
f.PrintIndex "ヘッダー"
f.Indent = 1
f.PutFormat "%4C <識別子>"
f.PutFormat "%W <版>"
count = f.GetWord(0)
f.PutFormat "%W <レコード数>"
f.Indent = 0
f.PrintIndex "レコード"
For i = 1 To count
    f.Indent = 1
    f.Print i & " 件目 " & f.GetString(8, 0) & " " & f.GetWord(4) & " 点"
    f.Indent = 2
    f.PutFormat "%8C <名前>"
    f.PutFormat "%W <得点>"
Next
f.Indent = 0
If f.Eof = 0 Then
    f.Message "レコードの後に " & (f.Length() - f.GetOffset()) & " バイトあります。"
    f.PrintIndex "残りのデータ"
    f.PutAll
End If
