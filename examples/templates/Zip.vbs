' ZIP template (VBScript): walks the records of a .zip file in file order:
' local file headers with their names and extra fields, the file data as
' hexadecimal lines (not decompressed; a stored entry's CRC-32 is computed
' and compared with the stored one), data descriptors, central directory
' headers, the ZIP64 end records and the end of central directory record.
' Entries written with a data descriptor leave their sizes out of the local
' header: the sizes then come from the central directory, read before the
' walk, or from the descriptor itself when the directory is missing.
' Whatever the walk cannot account for goes to PutAll, so the text always
' holds every byte of the file.
Option Explicit
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "ZIP アーカイブ"
f.TemplateExtend = ".zip.jar"
f.EditorName = "Tevrin"
f.Comment = "ZIP のローカルヘッダ、ファイルデータ、セントラルディレクトリを解析します。"
f.HelpURI = "https://pkware.cachefly.net/webdocs/casestudies/APPNOTE.TXT"
f.Version = 1.0
f.Regist

' Every number in a ZIP file is little-endian.
f.Endian = False

Const SIG_LOCAL = &H04034B50
Const SIG_CENTRAL = &H02014B50
Const SIG_END = &H06054B50
Const SIG_DESCRIPTOR = &H08074B50
Const SIG_END64 = &H06064B50
Const SIG_LOCATOR64 = &H07064B50
Const SIG_SIGNATURE = &H05054B50
Const SIG_EXTRA_DATA = &H08064B50
Const NONE = 4294967295

Sub Value(conversion, name)
    f.PutFormat conversion & " <" & name & ">"
End Sub

' Reads at a distance in bytes from the read position (GetWord and GetDWord
' count their distance in units, and ZIP fields sit at odd places). Beyond
' the end they give -1 instead of stopping the script.
Function RB(k)
    RB = -1
    If f.GetOffset + k + 1 <= f.Length Then RB = f.GetByte(k)
End Function

Function RW(k)
    Dim at
    RW = -1
    at = f.GetOffset
    If at + k + 2 > f.Length Then Exit Function
    f.Seek at + k, 0
    RW = f.GetWord(0)
    f.Seek at, 0
End Function

Function RD(k)
    Dim at
    RD = -1
    at = f.GetOffset
    If at + k + 4 > f.Length Then Exit Function
    f.Seek at + k, 0
    RD = f.GetDWord(0)
    f.Seek at, 0
End Function

' A 64-bit size or offset: values that do not fit a double exactly (or
' that GetQWord refuses) come back as -1, which no length check accepts.
Function RQ(k)
    Dim lo, hi
    RQ = -1
    lo = RD(k)
    hi = RD(k + 4)
    If lo < 0 Or hi < 0 Or hi >= 2097152 Then Exit Function
    RQ = hi * 4294967296 + lo
End Function

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

' The usual (reflected) CRC-32 of n bytes at the read position. CalcCrc32
' shifts the polynomial out at the top and feeds each byte's low bit
' first, so its register is the usual register with the bits reversed and
' without the final complement.
Function Crc32(n)
    Dim r, i, rev
    r = f.CalcCrc32(0, n, 4294967295, 1)
    rev = 0
    For i = 1 To 32
        rev = rev * 2 + (r - Int(r / 2) * 2)
        r = Int(r / 2)
    Next
    Crc32 = 4294967295 - rev
End Function

Function MethodName(m)
    Select Case m
        Case 0: MethodName = "無圧縮 (stored)"
        Case 1: MethodName = "shrink"
        Case 2, 3, 4, 5: MethodName = "reduce"
        Case 6: MethodName = "implode"
        Case 8: MethodName = "deflate"
        Case 9: MethodName = "deflate64"
        Case 12: MethodName = "bzip2"
        Case 14: MethodName = "LZMA"
        Case 93: MethodName = "Zstandard"
        Case 95: MethodName = "XZ"
        Case 98: MethodName = "PPMd"
        Case 99: MethodName = "AES 暗号化"
        Case Else: MethodName = "不明"
    End Select
End Function

Function FlagText(g)
    Dim t
    t = ""
    If g And 1 Then t = t & " 暗号化"
    If g And 8 Then t = t & " データ記述子あり"
    If g And 64 Then t = t & " 強い暗号化"
    If g And 2048 Then t = t & " 名前は UTF-8"
    If t = "" Then t = " なし"
    FlagText = t
End Function

Function Two(n)
    Two = Right("0" & n, 2)
End Function

Sub DosTimeDate()
    Dim t, d
    t = f.GetWord(0)
    Value "%W", "最終更新時刻 " & Two(t \ 2048) & ":" & Two((t \ 32) And 63) & ":" & Two((t And 31) * 2)
    d = f.GetWord(0)
    Value "%W", "最終更新日付 " & (1980 + d \ 512) & "-" & Two((d \ 32) And 15) & "-" & Two(d And 31)
End Sub

Function VersionText(v)
    VersionText = ((v And 255) \ 10) & "." & ((v And 255) Mod 10)
End Function

' Sizes of the entries, keyed by the position of their local header, read
' from the central directory before the walk: an entry with a data
' descriptor has no size in its local header.
Dim sizes
Set sizes = CreateObject("Scripting.Dictionary")

' The ZIP64 extended information field holds, in this order, those of the
' uncompressed size, compressed size, local header offset and disk number
' whose ordinary fields are all ones. These are the names of the fields
' present; a local header always has both sizes.
Dim want64(3)

' Reads the central directory: the last end record in the file whose
' comment fits gives the directory's size, and the directory ends where
' the end record (or the ZIP64 end record) starts; the offsets recorded in
' it are then shifted by the bytes found before the archive.
Sub ReadDirectory()
    Dim from, pos, k, e, cdSize, cdOffset, cdStart, delta, loc, e64, count
    Dim csize, usize, offset, nlen, xlen, clen, x, xend, id, sz, q
    e = -1
    from = f.Length - 22 - 65535
    If from < 0 Then from = 0
    pos = from
    Do While pos + 22 <= f.Length
        f.Seek pos, 0
        k = f.FindByte(&H50)
        If k < 0 Then Exit Do
        pos = pos + k
        f.Seek pos, 0
        If pos + 22 <= f.Length Then
            If RD(0) = SIG_END Then
                If pos + 22 + RW(20) <= f.Length Then e = pos
            End If
        End If
        pos = pos + 1
    Loop
    f.Seek 0, 0
    If e < 0 Then Exit Sub

    f.Seek e, 0
    cdSize = RD(12)
    cdOffset = RD(16)
    cdStart = e - cdSize
    If e >= 20 Then
        f.Seek e - 20, 0
        If RD(0) = SIG_LOCATOR64 Then
            ' The locator gives the ZIP64 end record's position; when that
            ' does not hold the record (a shifted archive), the ordinary
            ' end record's values stay in use.
            loc = e - 20
            e64 = RQ(8)
            If e64 >= 0 And e64 + 56 <= loc Then
                f.Seek e64, 0
                If RD(0) = SIG_END64 Then
                    cdSize = RQ(40)
                    cdOffset = RQ(48)
                    cdStart = e64 - cdSize
                End If
            End If
        End If
    End If
    delta = cdStart - cdOffset
    If cdSize < 0 Or cdStart < 0 Then
        f.Seek 0, 0
        Exit Sub
    End If

    pos = cdStart
    count = 0
    Do While pos + 46 <= f.Length And count < 1000000
        f.Seek pos, 0
        If RD(0) <> SIG_CENTRAL Then Exit Do
        csize = RD(20)
        usize = RD(24)
        nlen = RW(28)
        xlen = RW(30)
        clen = RW(32)
        offset = RD(42)
        ' Sizes and offset that did not fit come from the ZIP64 field.
        x = pos + 46 + nlen
        xend = x + xlen
        Do While x + 4 <= xend And xend <= f.Length
            f.Seek x, 0
            id = RW(0)
            sz = RW(2)
            If id = 1 Then
                q = 4
                If usize = NONE And q + 8 <= sz + 4 Then
                    usize = RQ(q)
                    q = q + 8
                End If
                If csize = NONE And q + 8 <= sz + 4 Then
                    csize = RQ(q)
                    q = q + 8
                End If
                If offset = NONE And q + 8 <= sz + 4 Then offset = RQ(q)
            End If
            x = x + 4 + sz
        Loop
        If csize >= 0 And offset >= 0 Then sizes(offset + delta) = csize
        pos = pos + 46 + nlen + xlen + clen
        count = count + 1
    Loop
    f.Seek 0, 0
End Sub

' An extra field of xlen bytes: subfields of an identifier, a length and
' data. Returns True when a ZIP64 field was present; csize64 receives the
' compressed size it holds (or -1).
Dim csize64
Function ExtraField(xlen)
    Dim left, id, sz, name, q, i
    ExtraField = False
    csize64 = -1
    left = xlen
    Do While left >= 4
        id = RW(0)
        sz = RW(2)
        If sz > left - 4 Then Exit Do
        Select Case id
            Case 1: name = "ZIP64 拡張情報"
            Case 7: name = "AV 情報"
            Case 10: name = "NTFS 時刻"
            Case 13: name = "UNIX"
            Case &H5455: name = "拡張タイムスタンプ"
            Case &H7855: name = "UNIX (uid, gid)"
            Case &H7875: name = "UNIX (uid, gid, 可変長)"
            Case &H7075: name = "Unicode パス"
            Case &H6375: name = "Unicode コメント"
            Case &H9901: name = "AES 暗号化"
            Case &HCAFE: name = "JAR マーカー"
            Case Else: name = "不明"
        End Select
        Value "%W", "追加フィールド ID " & Right("000" & Hex(id), 4) & " " & name
        Value "%W", "データサイズ"
        If id = 1 Then
            ExtraField = True
            q = 0
            For i = 0 To 3
                If want64(i) <> "" And q + 8 <= sz And i < 3 Then
                    If i = 1 Then csize64 = RQ(0)
                    Value "%Q", want64(i)
                    q = q + 8
                ElseIf want64(i) <> "" And q + 4 <= sz And i = 3 Then
                    Value "%D", want64(i)
                    q = q + 4
                End If
            Next
            If sz > q Then f.PutBytes sz - q
        ElseIf sz > 0 Then
            f.PutBytes sz
        End If
        left = left - 4 - sz
    Loop
    If left > 0 Then
        f.Print "追加フィールドの残り"
        f.PutBytes left
    End If
End Function

Sub NameField(size, what)
    If size > 0 Then
        f.Print what & ": " & Safe(f.GetString(size, 0))
        f.PutString size
    End If
End Sub

' Where the data descriptor of an entry whose data starts at the read
' position begins, found by its signature and the compressed size it
' records; -1 when none fits.
Function FindDescriptor(is64)
    Dim start, pos, k, size
    FindDescriptor = -1
    start = f.GetOffset
    pos = start
    Do While pos + 16 <= f.Length
        f.Seek pos, 0
        k = f.FindByte(&H50)
        If k < 0 Then Exit Do
        pos = pos + k
        f.Seek pos, 0
        If RD(0) = SIG_DESCRIPTOR Then
            If is64 Then size = RQ(8) Else size = RD(8)
            If size = pos - start Then
                FindDescriptor = pos - start
                Exit Do
            End If
        End If
        pos = pos + 1
    Loop
    f.Seek start, 0
End Function

Sub LocalHeader(n)
    Dim at, flags, method, crc, csize, usize, nlen, xlen, is64, size, calc, expected, k
    at = f.GetOffset
    f.Assert f.Length - at >= 30, "ローカルファイルヘッダが途中で切れています"
    flags = RW(6)
    method = RW(8)
    crc = RD(14)
    csize = RD(18)
    usize = RD(22)
    nlen = RW(26)
    xlen = RW(28)
    f.PrintIndex "ローカルファイルヘッダ " & n & ": " & Safe(f.GetString(nlen, 30))
    f.Indent = 1
    Value "%D", "シグネチャ PK 03 04"
    Value "%W", "展開に必要なバージョン " & VersionText(RW(0))
    Value "%W", "汎用フラグ:" & FlagText(flags)
    Value "%W", "圧縮方式 " & method & " " & MethodName(method)
    DosTimeDate
    Value "%D", "CRC-32"
    Value "%D", "圧縮サイズ"
    Value "%D", "非圧縮サイズ"
    Value "%W", "ファイル名の長さ"
    Value "%W", "追加フィールドの長さ"
    f.Assert nlen + xlen <= f.Length - f.GetOffset, "ファイル名か追加フィールドがファイルの終端を越えています"
    NameField nlen, "ファイル名"
    want64(0) = "非圧縮サイズ (64 ビット)"
    want64(1) = "圧縮サイズ (64 ビット)"
    want64(2) = ""
    want64(3) = ""
    is64 = ExtraField(xlen)
    f.Indent = 0

    ' The size of the data: from the header, its ZIP64 field, the central
    ' directory, or the descriptor behind the data.
    size = -1
    If (flags And 8) = 0 Then
        size = csize
        If csize = NONE And csize64 >= 0 Then size = csize64
    ElseIf sizes.Exists(at) Then
        size = sizes(at)
    Else
        size = FindDescriptor(is64)
    End If
    f.Assert size >= 0, "ファイルデータのサイズが分かりません"
    f.Assert size <= f.Length - f.GetOffset, "ファイルデータがファイルの終端を越えています"

    ' A stored, unencrypted entry holds its data as it is: its CRC-32 can
    ' be checked against the one recorded (in the descriptor when flagged).
    calc = -1
    If method = 0 And (flags And 1) = 0 Then calc = Crc32(size)
    f.PrintIndex "ファイルデータ " & n & " (" & size & " バイト)"
    f.Indent = 1
    f.PutBytes size
    f.Indent = 0

    expected = crc
    If flags And 8 Then
        ' The descriptor: an optional signature, the CRC-32 and the two
        ' sizes, 8 bytes each when the entry has a ZIP64 field.
        f.PrintIndex "データ記述子 " & n
        f.Indent = 1
        k = 0
        If RD(0) = SIG_DESCRIPTOR Then k = 4
        If is64 Then
            f.Assert f.Length - f.GetOffset >= k + 20, "データ記述子が途中で切れています"
        Else
            f.Assert f.Length - f.GetOffset >= k + 12, "データ記述子が途中で切れています"
        End If
        expected = RD(k)
        If k = 4 Then Value "%D", "シグネチャ PK 07 08"
        Value "%D", "CRC-32"
        If is64 Then
            Value "%Q", "圧縮サイズ"
            Value "%Q", "非圧縮サイズ"
        Else
            Value "%D", "圧縮サイズ"
            Value "%D", "非圧縮サイズ"
        End If
        f.Indent = 0
    End If
    If calc >= 0 Then
        If calc = expected Then
            f.Print "データから計算した CRC-32 " & Hex8(calc) & " (記録と一致)"
        Else
            f.Print "データから計算した CRC-32 " & Hex8(calc) & " (記録 " & Hex8(expected) & " と不一致)"
        End If
        f.Assert calc = expected, "無圧縮データの CRC-32 が一致しません"
    End If
End Sub

Sub CentralHeader(n)
    Dim nlen, xlen, clen, made
    f.Assert f.Length - f.GetOffset >= 46, "セントラルディレクトリヘッダが途中で切れています"
    nlen = RW(28)
    xlen = RW(30)
    clen = RW(32)
    want64(0) = ""
    want64(1) = ""
    want64(2) = ""
    want64(3) = ""
    If RD(24) = NONE Then want64(0) = "非圧縮サイズ (64 ビット)"
    If RD(20) = NONE Then want64(1) = "圧縮サイズ (64 ビット)"
    If RD(42) = NONE Then want64(2) = "ローカルヘッダの位置 (64 ビット)"
    If RW(34) = 65535 Then want64(3) = "開始ディスク番号 (32 ビット)"
    f.PrintIndex "セントラルディレクトリヘッダ " & n & ": " & Safe(f.GetString(nlen, 46))
    f.Indent = 1
    Value "%D", "シグネチャ PK 01 02"
    made = RW(0)
    Value "%W", "作成バージョン " & VersionText(made) & " OS " & (made \ 256)
    Value "%W", "展開に必要なバージョン " & VersionText(RW(0))
    Value "%W", "汎用フラグ:" & FlagText(RW(0))
    Value "%W", "圧縮方式 " & RW(0) & " " & MethodName(RW(0))
    DosTimeDate
    Value "%D", "CRC-32"
    Value "%D", "圧縮サイズ"
    Value "%D", "非圧縮サイズ"
    Value "%W", "ファイル名の長さ"
    Value "%W", "追加フィールドの長さ"
    Value "%W", "コメントの長さ"
    Value "%W", "開始ディスク番号"
    Value "%W", "内部属性 (bit 0 = テキスト)"
    Value "%D", "外部属性"
    Value "%D", "ローカルヘッダの位置"
    f.Assert nlen + xlen + clen <= f.Length - f.GetOffset, "名前、追加フィールドかコメントがファイルの終端を越えています"
    NameField nlen, "ファイル名"
    ExtraField xlen
    NameField clen, "コメント"
    f.Indent = 0
End Sub

Sub End64()
    Dim size
    f.Assert f.Length - f.GetOffset >= 56, "ZIP64 終端レコードが途中で切れています"
    size = RQ(4)
    f.Assert size >= 44 And size <= f.Length - f.GetOffset - 12, "ZIP64 終端レコードのサイズが不正です"
    f.PrintIndex "ZIP64 セントラルディレクトリ終端レコード"
    f.Indent = 1
    Value "%D", "シグネチャ PK 06 06"
    Value "%Q", "レコードサイズ (この後の長さ)"
    Value "%W", "作成バージョン"
    Value "%W", "展開に必要なバージョン"
    Value "%D", "このディスクの番号"
    Value "%D", "セントラルディレクトリ開始ディスク"
    Value "%Q", "このディスクのエントリ数"
    Value "%Q", "エントリ総数"
    Value "%Q", "セントラルディレクトリのサイズ"
    Value "%Q", "セントラルディレクトリの位置"
    If size > 44 Then
        f.Print "拡張データ"
        f.PutBytes size - 44
    End If
    f.Indent = 0
End Sub

Sub Locator64()
    f.Assert f.Length - f.GetOffset >= 20, "ZIP64 終端ロケータが途中で切れています"
    f.PrintIndex "ZIP64 セントラルディレクトリ終端ロケータ"
    f.Indent = 1
    Value "%D", "シグネチャ PK 06 07"
    Value "%D", "ZIP64 終端レコードのディスク"
    Value "%Q", "ZIP64 終端レコードの位置"
    Value "%D", "ディスク総数"
    f.Indent = 0
End Sub

Sub EndRecord()
    Dim clen
    f.Assert f.Length - f.GetOffset >= 22, "セントラルディレクトリ終端レコードが途中で切れています"
    clen = RW(20)
    f.PrintIndex "セントラルディレクトリ終端レコード"
    f.Indent = 1
    Value "%D", "シグネチャ PK 05 06"
    Value "%W", "このディスクの番号"
    Value "%W", "セントラルディレクトリ開始ディスク"
    Value "%W", "このディスクのエントリ数"
    Value "%W", "エントリ総数"
    Value "%D", "セントラルディレクトリのサイズ"
    Value "%D", "セントラルディレクトリの位置"
    Value "%W", "コメントの長さ"
    f.Assert clen <= f.Length - f.GetOffset, "コメントがファイルの終端を越えています"
    NameField clen, "アーカイブのコメント"
    f.Indent = 0
End Sub

Sub LengthRecord(title, lenIsDWord)
    Dim size
    f.PrintIndex title
    f.Indent = 1
    Value "%D", "シグネチャ"
    If lenIsDWord Then
        f.Assert f.Length - f.GetOffset >= 4, title & "が途中で切れています"
        size = RD(0)
        Value "%D", "データの長さ"
    Else
        f.Assert f.Length - f.GetOffset >= 2, title & "が途中で切れています"
        size = RW(0)
        Value "%W", "データの長さ"
    End If
    f.Assert size <= f.Length - f.GetOffset, title & "がファイルの終端を越えています"
    If size > 0 Then f.PutBytes size
    f.Indent = 0
End Sub

Function KnownSignature(s)
    Select Case s
        Case SIG_LOCAL, SIG_CENTRAL, SIG_END, SIG_END64, SIG_LOCATOR64, SIG_SIGNATURE, SIG_EXTRA_DATA
            KnownSignature = True
        Case Else
            KnownSignature = False
    End Select
End Function

' Where the first local header or end record lies at or after the read
' position (bytes before the archive, such as a self-extracting program);
' -1 when there is none.
Function FindStart()
    Dim start, pos, k, s
    FindStart = -1
    start = f.GetOffset
    pos = start
    Do While pos + 4 <= f.Length
        f.Seek pos, 0
        k = f.FindByte(&H50)
        If k < 0 Then Exit Do
        pos = pos + k
        f.Seek pos, 0
        s = RD(0)
        If s = SIG_LOCAL Or s = SIG_END Then
            FindStart = pos
            Exit Do
        End If
        pos = pos + 1
    Loop
    f.Seek start, 0
End Function

ReadDirectory

Dim sig, locals, centrals, start, ended
locals = 0
centrals = 0
ended = False
If RD(0) = SIG_DESCRIPTOR Then
    ' A split archive starts with the descriptor signature alone.
    f.PrintIndex "分割アーカイブのマーカー"
    f.Indent = 1
    Value "%D", "シグネチャ PK 07 08"
    f.Indent = 0
End If
If Not KnownSignature(RD(0)) Then
    start = FindStart()
    If start > 0 Then
        f.PrintIndex "アーカイブの前のデータ (" & start & " バイト)"
        f.Indent = 1
        f.PutBytes start
        f.Indent = 0
    End If
End If
If KnownSignature(RD(0)) Then
    Do While Not ended And f.Length - f.GetOffset >= 4
        sig = RD(0)
        Select Case sig
            Case SIG_LOCAL
                locals = locals + 1
                LocalHeader locals
            Case SIG_CENTRAL
                centrals = centrals + 1
                CentralHeader centrals
            Case SIG_END64
                End64
            Case SIG_LOCATOR64
                Locator64
            Case SIG_END
                EndRecord
                ended = True
            Case SIG_SIGNATURE
                LengthRecord "デジタル署名", False
            Case SIG_EXTRA_DATA
                LengthRecord "アーカイブ追加データレコード", True
            Case Else
                f.Assert False, "不明なシグネチャ " & Hex8(sig) & " (構造が壊れています)"
        End Select
    Loop
    ' Without its end record the archive was cut off (or is not whole):
    ' the library's error report shows what is left.
    f.Assert ended, "セントラルディレクトリ終端レコードがありません (ファイルが途中で切れています)"
Else
    f.Assert False, "ZIP ファイルではありません"
End If

' Eof returns 1 for true, and VBScript's Not of 1 is -2 (still true):
' compare positions instead.
If f.GetOffset < f.Length Then
    f.PrintIndex "残りのデータ"
    f.PutAll
End If
