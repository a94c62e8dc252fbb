' 得点ファイル（手順 2）: ヘッダーを見出しと名前付きの値にします。
Dim f, count
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
f.PutAll
