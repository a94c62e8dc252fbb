' TAR template (VBScript): walks the 512-byte blocks of a tar archive
' (ustar, GNU and the old v7 layout). Each header block is decoded field by
' field, with its checksum computed and compared with the stored one; the
' member's data follows as hexadecimal lines (long names and extended
' headers as text) with the padding to the next block; the zero blocks that
' end the archive and whatever follows them close the text. Whatever the
' walk cannot account for goes to PutAll, so the text holds every byte.
Option Explicit
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "TAR アーカイブ"
f.TemplateExtend = ".tar"
f.EditorName = "Tevrin"
f.Comment = "TAR (ustar, GNU, v7) のヘッダブロックとデータを解析します。"
f.HelpURI = "https://www.gnu.org/software/tar/manual/html_node/Standard.html"
f.Version = 1.0
f.Regist

' Tar numbers are octal text; the order only matters for PutAll.
f.Endian = False

Const BLOCK = 512

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

' The number in a numeric field of the header block held in h (an array of
' its 512 bytes): octal digits, leading spaces allowed, ended by a space or
' zero; or, when the first byte has its top bit set, a big-endian binary
' number in the remaining bytes (the GNU form for large values). -1 when the
' field holds something else.
Function Number(h, at, size)
    Dim i, b, n, seen
    n = 0
    If h(at) >= &H80 Then
        n = h(at) And &H7F
        For i = at + 1 To at + size - 1
            n = n * 256 + h(i)
        Next
        Number = n
        Exit Function
    End If
    seen = False
    For i = at To at + size - 1
        b = h(i)
        If b >= &H30 And b <= &H37 Then
            n = n * 8 + b - &H30
            seen = True
        ElseIf b = 0 Or b = &H20 Then
            If seen Then Exit For
        Else
            Number = -1
            Exit Function
        End If
    Next
    Number = n
End Function

Sub Field(size, name)
    f.PutFormat "%" & size & "C <" & name & ">"
End Sub

Sub NumberField(h, at, size, name)
    Dim n
    n = Number(h, at, size)
    If n >= 0 Then
        Field size, name & " = " & n & " (" & Oct8(n) & ")"
    Else
        Field size, name
    End If
End Sub

' An octal text of a number that may exceed 32 bits.
Function Oct8(n)
    Dim r, v, d
    v = n
    r = ""
    Do
        d = v - Int(v / 8) * 8
        r = CStr(d) & r
        v = Int(v / 8)
    Loop While v > 0
    Oct8 = "8進 " & r
End Function

Function TypeName_(t)
    Select Case t
        Case "0", "": TypeName_ = "通常ファイル"
        Case "1": TypeName_ = "ハードリンク"
        Case "2": TypeName_ = "シンボリックリンク"
        Case "3": TypeName_ = "キャラクタデバイス"
        Case "4": TypeName_ = "ブロックデバイス"
        Case "5": TypeName_ = "ディレクトリ"
        Case "6": TypeName_ = "FIFO"
        Case "7": TypeName_ = "連続ファイル"
        Case "x": TypeName_ = "拡張ヘッダ (pax, 次のメンバー)"
        Case "g": TypeName_ = "拡張ヘッダ (pax, 全体)"
        Case "L": TypeName_ = "長い名前 (GNU)"
        Case "K": TypeName_ = "長いリンク名 (GNU)"
        Case "D": TypeName_ = "ディレクトリ一覧 (GNU)"
        Case "S": TypeName_ = "疎ファイル (GNU)"
        Case "V": TypeName_ = "ボリュームラベル (GNU)"
        Case Else: TypeName_ = "不明"
    End Select
End Function

' Sum of the header bytes with the checksum field counted as eight spaces,
' the unsigned sum that ustar defines and the signed one of old programs.
Function UnsignedSum(h)
    Dim i, s
    s = 0
    For i = 0 To BLOCK - 1
        If i >= 148 And i < 156 Then s = s + 32 Else s = s + h(i)
    Next
    UnsignedSum = s
End Function

Function SignedSum(h)
    Dim i, s
    s = 0
    For i = 0 To BLOCK - 1
        If i >= 148 And i < 156 Then
            s = s + 32
        ElseIf h(i) >= 128 Then
            s = s + h(i) - 256
        Else
            s = s + h(i)
        End If
    Next
    SignedSum = s
End Function

Function IsZero(h)
    Dim i
    IsZero = False
    For i = 0 To UBound(h)
        If h(i) <> 0 Then Exit Function
    Next
    IsZero = True
End Function

' The size a pax extended header ("x") gives the member after it, or -1.
' Its "size" record replaces the header's size field, which cannot hold
' sizes from 8 GiB on.
Dim paxSize
paxSize = -1

' The value of the "size" record among the pax records of n bytes at the
' read position ("<length> size=<digits>" and a line feed), or -1.
Function PaxRecordSize(n)
    Dim text, at, digits, c
    PaxRecordSize = -1
    text = f.GetString(n, 0)
    at = InStr(text, " size=")
    If at = 0 Then Exit Function
    at = at + 6
    digits = ""
    Do While at <= Len(text)
        c = Mid(text, at, 1)
        If c < "0" Or c > "9" Then Exit Do
        digits = digits & c
        at = at + 1
    Loop
    If digits <> "" And Len(digits) <= 15 Then PaxRecordSize = CDbl(digits)
End Function

Sub Header(h, n)
    Dim name, magic, typeflag, size, stored, sum, padding, fromPax
    name = Safe(f.GetString(100, 0))
    ' "ustar" and a zero for POSIX, "ustar  " and a zero for GNU, anything
    ' else (zeros) for v7. GetString stops at the first zero.
    magic = f.GetString(8, 257)
    typeflag = f.GetString(1, 156)
    stored = Number(h, 148, 8)
    sum = UnsignedSum(h)
    size = Number(h, 124, 12)

    f.PrintIndex "ヘッダ " & n & ": " & name
    f.Indent = 1
    Field 100, "name 名前"
    NumberField h, 100, 8, "mode 許可"
    NumberField h, 108, 8, "uid 所有者"
    NumberField h, 116, 8, "gid グループ"
    NumberField h, 124, 12, "size サイズ"
    NumberField h, 136, 12, "mtime 更新日時 (1970 年からの秒)"
    If stored = sum Or stored = SignedSum(h) Then
        Field 8, "chksum チェックサム (計算値 " & sum & " と一致)"
    Else
        Field 8, "chksum チェックサム (計算値 " & sum & " と不一致)"
    End If
    Field 1, "typeflag 種類: " & TypeName_(typeflag)
    Field 100, "linkname リンク先"
    If Left(magic, 5) = "ustar" Then
        Field 6, "magic"
        Field 2, "version"
        Field 32, "uname 所有者名"
        Field 32, "gname グループ名"
        NumberField h, 329, 8, "devmajor"
        NumberField h, 337, 8, "devminor"
        If magic = "ustar  " Then
            ' "ustar  " with a space version: the GNU layout, whose
            ' times and sparse map take the place of the prefix.
            NumberField h, 345, 12, "atime 参照日時 (GNU)"
            NumberField h, 357, 12, "ctime 変更日時 (GNU)"
            f.Print "GNU 拡張領域 (offset, longnames, sparse, isextended, realsize)"
            f.PutBytes 143
        Else
            Field 155, "prefix 名前の前半"
            f.Print "未使用"
            f.PutBytes 12
        End If
    Else
        f.Print "未使用 (v7 形式)"
        f.PutBytes 255
    End If
    f.Indent = 0
    ' A wrong checksum means this block is no header: the walk cannot go on.
    f.Assert stored = sum Or stored = SignedSum(h), "ヘッダのチェックサムが一致しません"
    f.Assert size >= 0, "サイズが 8 進数ではありません"

    ' A GNU sparse file whose map did not fit in the header continues it
    ' in whole blocks before the data, each flagging whether another one
    ' follows (byte 482 of the header, byte 504 of each extension).
    Dim more, ext
    more = (typeflag = "S" And magic = "ustar  " And h(482) <> 0)
    ext = 0
    Do While more
        f.Assert f.Length - f.GetOffset >= BLOCK, "疎ファイルの拡張ヘッダが途中で切れています"
        ext = ext + 1
        more = (f.GetByte(504) <> 0)
        f.PrintIndex "疎ファイルの拡張ヘッダ " & n & "-" & ext
        f.Indent = 1
        f.Print "21 組の offset, numbytes"
        f.PutBytes 504
        f.Print "isextended 続きの有無"
        f.PutBytes 8
        f.Indent = 0
    Loop

    ' Links, devices, directories and FIFOs carry no data whatever size says.
    If InStr("123456", typeflag) > 0 And typeflag <> "" Then size = 0
    ' A pax "size" record before this member overrides the size field.
    fromPax = ""
    If typeflag <> "x" And typeflag <> "g" Then
        If paxSize >= 0 And (InStr("123456", typeflag) = 0 Or typeflag = "") Then
            size = paxSize
            fromPax = ", pax の size による"
        End If
        paxSize = -1
    End If
    ' Sizes can pass 2^31, where Mod overflows: round up with doubles.
    padding = Int((size + BLOCK - 1) / BLOCK) * BLOCK - size
    f.Assert size + padding <= f.Length - f.GetOffset, "データがファイルの終端を越えています"
    If size > 0 Then
        f.PrintIndex "データ " & n & " (" & size & " バイト" & fromPax & ")"
        f.Indent = 1
        If typeflag = "x" And size <= 65536 Then paxSize = PaxRecordSize(size)
        If InStr("LKxg", typeflag) > 0 And typeflag <> "" And size <= 65536 Then
            ' Names and pax records are text.
            f.PutString size
        Else
            f.PutBytes size
        End If
        If padding > 0 Then
            f.Print "詰め物 (512 バイト境界まで)"
            f.PutBytes padding
        End If
        f.Indent = 0
    End If
End Sub

Dim h, n, zeros, ended
n = 0
ended = False
Do While f.Length - f.GetOffset >= BLOCK
    h = f.GetBytes(BLOCK)
    ended = IsZero(h)
    If ended Then
        ' Zero blocks end the archive (two of them, then padding to the
        ' record size); a single one may also sit between members.
        zeros = 0
        Do While f.Length - f.GetOffset >= BLOCK
            h = f.GetBytes(BLOCK)
            If Not IsZero(h) Then Exit Do
            If zeros = 0 Then f.PrintIndex "終端のゼロブロック"
            f.Indent = 1
            f.PutBytes BLOCK
            f.Indent = 0
            zeros = zeros + 1
        Loop
        If zeros >= 2 Then Exit Do
    Else
        n = n + 1
        Header h, n
    End If
Loop
If n = 0 Then f.Print "メンバーがありません"
' Readers take an archive without its closing zero blocks, but not one
' that ends inside a block: unless the archive has ended, a last piece
' shorter than a block that is not zero padding means the file was cut off
' (the library's error report shows what is left).
If Not ended And f.GetOffset < f.Length Then
    f.Assert IsZero(f.GetBytes(f.Length - f.GetOffset)), "最後のブロックが途中で切れています (ファイルが途中で切れています)"
End If

' Eof returns 1 for true, and VBScript's Not of 1 is -2 (still true):
' compare positions instead.
If f.GetOffset < f.Length Then
    f.PrintIndex "残りのデータ"
    f.PutAll
End If
