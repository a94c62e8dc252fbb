' CalcCrc32(位置, バイト数, 初期値[, 基準]) はファイルの一部の CRC を
' 計算します。テキストは出力せず、読み出し位置も動きません。
' 反転しない形の CRC-32 なので、一般的な CRC-32 と比べるときは
' 初期値 &HFFFFFFFF で計算し、結果のビットを逆順にしてから反転します。
Dim f, crc, reflected, i
Set f = CreateObject("Velda.File")
f.TemplateName = "チェックサム"
f.TemplateExtend = ".bin"
f.Regist

crc = f.CalcCrc32(0, 9, 4294967295)
f.Print "CRC " & crc
reflected = 0
For i = 0 To 31
    reflected = reflected * 2 + (Fix(crc / 2 ^ i) - 2 * Fix(crc / 2 ^ (i + 1)))
Next
f.Print "一般的な CRC-32 " & (4294967295 - reflected)
f.Print "ファイルの外まで " & f.CalcCrc32(-3, 4, 0, 2)
f.PutString 9
