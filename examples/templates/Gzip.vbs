' GZIP template (VBScript): walks the members of a .gz file one after the
' other, decodes each header (magic, method, flags, time, optional extra
' field, name, comment and header CRC) into named values, shows the
' compressed data as hexadecimal lines and decodes the trailer (CRC-32 and
' size of the uncompressed data). The data is not inflated, so where a
' member ends is found from the next member's header, and the CRC-32 of
' the uncompressed data cannot be computed here (the header CRC is). A
' trailer whose size the data cannot produce marks a member cut off.
' Whatever the walk cannot account for goes to PutAll, so the text always
' holds every byte.
Option Explicit
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "GZIP 圧縮ファイル"
f.TemplateExtend = ".gz.tgz"
f.EditorName = "Tevrin"
f.Comment = "GZIP のメンバーのヘッダとトレーラを解析します。"
f.HelpURI = "https://www.rfc-editor.org/rfc/rfc1952"
f.Version = 1.0
f.Regist

' Every number in a gzip header and trailer is little-endian.
f.Endian = False

Sub Value(conversion, name)
    f.PutFormat conversion & " <" & name & ">"
End Sub

' Eight hexadecimal digits of an unsigned 32-bit value held in a double
' (Hex works on signed 32-bit numbers only).
Function Hex8(v)
    Dim hi
    hi = Int(v / 65536)
    Hex8 = Right("0000" & Hex(hi), 4) & Right("0000" & Hex(v - hi * 65536), 4)
End Function

' Text from the file made safe for a comment line: a ">", "]" or line end
' would end the comment early and turn the rest into data. Asc gives the
' code page 932 code (negative for a double-byte character); AscW is not
' available in every script host.
Function Safe(s)
    Dim i, c, a, r
    r = ""
    For i = 1 To Len(s)
        c = Mid(s, i, 1)
        a = Asc(c)
        If (a >= 32 And a < 127 And InStr("<>[]"";", c) = 0) Or a < 0 Or (a >= &HA1 And a <= &HDF) Then
            r = r & c
        Else
            r = r & "?"
        End If
        If i >= 60 Then
            r = r & "..."
            Exit For
        End If
    Next
    Safe = r
End Function

' Seconds since 1970-01-01 (UTC) as a date and time text.
Function UnixTime(t)
    Dim days, secs, d
    If t = 0 Then
        UnixTime = "なし"
        Exit Function
    End If
    days = Int(t / 86400)
    secs = t - days * 86400
    d = CDate(25569 + days)
    UnixTime = Year(d) & "-" & Right("0" & Month(d), 2) & "-" & Right("0" & Day(d), 2) & " " & _
        Right("0" & Int(secs / 3600), 2) & ":" & Right("0" & Int((secs Mod 3600) / 60), 2) & ":" & _
        Right("0" & (secs Mod 60), 2) & " UTC"
End Function

' The usual (reflected) CRC-32 of the n bytes from offset at. CalcCrc32
' shifts the polynomial out at the top and feeds each byte's low bit
' first, so its register is the usual register with the bits reversed and
' without the final complement. The read position is kept.
Function Crc32At(at, n)
    Dim back, r, i, rev
    back = f.GetOffset
    f.Seek at, 0
    r = f.CalcCrc32(0, n, 4294967295, 1)
    f.Seek back, 0
    rev = 0
    For i = 1 To 32
        rev = rev * 2 + (r - Int(r / 2) * 2)
        r = Int(r / 2)
    Next
    Crc32At = 4294967295 - rev
End Function

Function OsName(n)
    Select Case n
        Case 0: OsName = "FAT (MS-DOS, Windows)"
        Case 1: OsName = "Amiga"
        Case 2: OsName = "VMS"
        Case 3: OsName = "Unix"
        Case 4: OsName = "VM/CMS"
        Case 5: OsName = "Atari TOS"
        Case 6: OsName = "HPFS (OS/2)"
        Case 7: OsName = "Macintosh"
        Case 8: OsName = "Z-System"
        Case 9: OsName = "CP/M"
        Case 10: OsName = "TOPS-20"
        Case 11: OsName = "NTFS"
        Case 12: OsName = "QDOS"
        Case 13: OsName = "Acorn RISCOS"
        Case 255: OsName = "不明"
        Case Else: OsName = "未定義"
    End Select
End Function

' True when a member header starts at the read position plus k bytes:
' the magic, method 8 (deflate) and no reserved flag bits.
Function HeaderAt(k)
    HeaderAt = False
    If f.GetOffset + k + 10 > f.Length Then Exit Function
    If f.GetByte(k) <> &H1F Then Exit Function
    If f.GetByte(k + 1) <> &H8B Then Exit Function
    If f.GetByte(k + 2) <> 8 Then Exit Function
    If (f.GetByte(k + 3) And &HE0) <> 0 Then Exit Function
    HeaderAt = True
End Function

' Where the compressed data that starts at the read position ends: just
' before the trailer that precedes the next member's header, or before the
' last eight bytes of the file. Deflate data is not decoded, so a header
' found inside it cannot be told from a real one; the split then falls at
' the wrong place but every byte is still shown.
Function DataEnd()
    Dim start, pos, k
    start = f.GetOffset
    DataEnd = f.Length - 8
    pos = start + 2
    Do While pos + 18 <= f.Length
        f.Seek pos, 0
        k = f.FindByte(&H1F)
        If k < 0 Then Exit Do
        pos = pos + k
        f.Seek pos, 0
        If pos >= start + 10 And HeaderAt(0) Then
            DataEnd = pos - 8
            Exit Do
        End If
        pos = pos + 1
    Loop
    f.Seek start, 0
End Function

' A zero-terminated field (name or comment): its bytes and the zero on one
' character line.
Sub ZeroTerminated(name)
    Dim k
    k = f.FindByte(0)
    f.Assert k >= 0, name & "の終端 (0) がありません"
    f.Print name & ": " & Safe(f.GetString(k, 0))
    f.PutString k + 1
End Sub

Sub Member(n)
    Dim flags, xlen, text, size, mtime, start, need, stored
    start = f.GetOffset
    f.PrintIndex "メンバー " & n & " ヘッダ"
    f.Indent = 1
    Value "%B", "ID1 (1F)"
    Value "%B", "ID2 (8B)"
    Value "%B", "CM 圧縮方式 (8 = deflate)"
    flags = f.GetByte(0)
    text = ""
    If flags And 1 Then text = text & " FTEXT"
    If flags And 2 Then text = text & " FHCRC"
    If flags And 4 Then text = text & " FEXTRA"
    If flags And 8 Then text = text & " FNAME"
    If flags And 16 Then text = text & " FCOMMENT"
    If flags And &HE0 Then text = text & " 予約ビット"
    If text = "" Then text = " なし"
    Value "%B", "FLG フラグ:" & text
    mtime = f.GetDWord(0)
    Value "%D", "MTIME 更新日時 " & UnixTime(mtime)
    Value "%B", "XFL 追加フラグ (2 = 最大圧縮, 4 = 最速)"
    Value "%B", "OS " & OsName(f.GetByte(0))
    If flags And 4 Then
        f.Assert f.Length - f.GetOffset >= 2, "FEXTRA の長さがありません"
        xlen = f.GetWord(0)
        Value "%W", "XLEN 追加フィールドの長さ"
        f.Assert f.Length - f.GetOffset >= xlen, "追加フィールドがファイルの終端を越えています"
        ExtraField xlen
    End If
    If flags And 8 Then ZeroTerminated "FNAME 元のファイル名"
    If flags And 16 Then ZeroTerminated "FCOMMENT コメント"
    If flags And 2 Then
        ' The header CRC covers the header up to itself: the value it needs
        ' is shown beside the stored one, and a mismatch stops the walk so
        ' that a header edited without its CRC is not saved unnoticed.
        f.Assert f.Length - f.GetOffset >= 2, "ヘッダ CRC がありません"
        need = Crc32At(start, f.GetOffset - start)
        need = need - Int(need / 65536) * 65536
        stored = f.GetWord(0)
        Value "%W", "CRC16 ヘッダの CRC-32 の下位 16 ビット (計算値 " & Right(Hex8(need), 4) & ")"
        f.Assert stored = need, "ヘッダ CRC が一致しません (格納値 " & Right(Hex8(stored), 4) & "、計算値 " & Right(Hex8(need), 4) & ")"
    End If
    f.Indent = 0

    f.Assert f.Length - f.GetOffset >= 8, "トレーラがありません (ファイルが途中で切れています)"
    size = DataEnd() - f.GetOffset
    f.PrintIndex "メンバー " & n & " 圧縮データ (" & size & " バイト)"
    f.Indent = 1
    f.PutBytes size
    f.Indent = 0

    f.PrintIndex "メンバー " & n & " トレーラ"
    f.Indent = 1
    Value "%D", "CRC32 元のデータの CRC-32"
    text = f.GetDWord(0)
    Value "%D", "ISIZE 元のデータのサイズ mod 2^32 = " & text
    f.Indent = 0
    ' Deflate turns each byte of its data into at most 1032 bytes, so a
    ' larger size means the last eight bytes are not a trailer: the member
    ' was cut off inside its data.
    f.Assert text <= 1032 * size + 1032, "ISIZE が圧縮データの大きさと矛盾します (ファイルが途中で切れているか壊れています)"
End Sub

' The extra field: subfields of two identifier bytes, a length and data;
' what does not parse as subfields is shown as it is.
Sub ExtraField(xlen)
    Dim left, slen
    left = xlen
    Do While left >= 4
        slen = f.GetWord(1)
        If slen > left - 4 Then Exit Do
        f.Print "サブフィールド " & Safe(f.GetString(2, 0))
        f.PutString 2
        Value "%W", "LEN"
        If slen > 0 Then f.PutBytes slen
        left = left - 4 - slen
    Loop
    If left > 0 Then
        f.Print "追加フィールドの残り"
        f.PutBytes left
    End If
End Sub

Dim count
count = 0
Do While HeaderAt(0)
    count = count + 1
    Member count
Loop
f.Assert count > 0, "GZIP ファイルではありません"

' Eof returns 1 for true, and VBScript's Not of 1 is -2 (still true):
' compare positions instead.
If f.GetOffset < f.Length Then
    f.PrintIndex "残りのデータ"
    f.PutAll
End If
