' 得点ファイル（手順 1）: 宣言して、ファイル全体を 16 進数で出力します。
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "得点ファイル"
f.TemplateExtend = ".scr"
f.EditorName = "山田 太郎"
f.Comment = "得点ファイルのヘッダーとレコードを表示します。"
f.Version = 1.0
f.Regist

f.PutAll
