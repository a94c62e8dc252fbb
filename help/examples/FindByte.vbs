' FindByte などは読み出し位置から値を探し、何個目の値かを返します
' （見つからなければ -1）。読み出し位置は動きません。
Dim f, last
Set f = CreateObject("Velda.File")
f.TemplateName = "値の検索"
f.TemplateExtend = ".bin"
f.Regist

f.Endian = True
last = f.FindByte(0)
f.Print "0 のバイトまで " & last & " バイト"
f.PutString last + 1
f.Print "ワード CAFE → " & f.FindWord(&HCAFE&)
f.Print "ダブルワード CAFE0001 → " & f.FindDWord(&HCAFE0001)
f.Print "クワッドワード 5 → " & f.FindQWord(5)
f.PutWords 4
f.PutQWords 1
