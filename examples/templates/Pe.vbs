' PE template (VBScript): decodes the MS-DOS header, the PE signature, the
' COFF file header, the optional header of PE32 and PE32+ images with its
' named data directories and the section table, then writes the sections'
' raw data, the certificate table and the COFF symbols as hexadecimal lines
' in the order they appear in the file. The gaps between them and anything
' after them (an overlay) go out as hexadecimal lines too, so the text
' always holds every byte of the file.
Option Explicit
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "PE 実行形式"
f.TemplateExtend = ".exe.dll.sys.ocx"
f.EditorName = "Tevrin"
f.Comment = "EXE や DLL の DOS ヘッダ、PE ヘッダ、セクションテーブルを解析します。"
f.HelpURI = "https://learn.microsoft.com/en-us/windows/win32/debug/pe-format"
f.Version = 1.0
f.Regist

' Every number in a PE file is little-endian.
f.Endian = False

Const E_ABORT = -2147467260
Dim fileSize
fileSize = f.Length

Sub Value(conversion, name)
    f.PutFormat conversion & " <" & name & ">"
End Sub

' Reads a unit at an absolute offset without moving the read position;
' the caller has checked that it lies inside the file.
Function Rd(at, size)
    Dim here
    here = f.GetOffset
    f.Seek at, 0
    Select Case size
        Case 1: Rd = f.GetByte(0)
        Case 2: Rd = f.GetWord(0)
        Case Else: Rd = f.GetDWord(0)
    End Select
    f.Seek here, 0
End Function

' Bit k of a value up to 2^32: VBScript's And and Mod stop at 2^31.
Function Bit(v, k)
    Bit = Fix(v / 2 ^ k) - 2 * Fix(v / 2 ^ (k + 1))
End Function

' Text taken from the file goes into comments: printable ASCII only, and
' none of the characters that open or close comments, headings or quotes.
Function Clean(s)
    Dim i, c, out
    out = ""
    For i = 1 To Len(s)
        c = Mid(s, i, 1)
        ' Asc, not AscW, which Wine's VBScript lacks; double-byte
        ' characters give negative codes.
        If Asc(c) < 32 Or Asc(c) > 126 Or InStr("<>[]""%", c) > 0 Then c = "?"
        out = out & c
    Next
    Clean = out
End Function

' Ends the decoding: the library reports the error and writes the rest of
' the file into the text; the error it raises unwinds to the top level.
Sub Broken(message)
    f.Assert False, message
End Sub

Function MachineName(v)
    Select Case v
        Case 0: MachineName = "不明"
        Case &H14C: MachineName = "i386"
        Case &H8664: MachineName = "x64"
        Case &H1C0: MachineName = "ARM"
        Case &H1C4: MachineName = "ARM Thumb-2"
        Case &HAA64: MachineName = "ARM64"
        Case &H200: MachineName = "IA-64"
        Case Else: MachineName = "その他"
    End Select
End Function

Function SubsystemName(v)
    Select Case v
        Case 1: SubsystemName = "ネイティブ"
        Case 2: SubsystemName = "Windows GUI"
        Case 3: SubsystemName = "Windows コンソール"
        Case 9: SubsystemName = "Windows CE"
        Case 10: SubsystemName = "EFI アプリケーション"
        Case 11: SubsystemName = "EFI ブートサービスドライバ"
        Case 12: SubsystemName = "EFI ランタイムドライバ"
        Case Else: SubsystemName = "その他"
    End Select
End Function

Function FileFlags(v)
    Dim s
    s = ""
    If Bit(v, 1) = 1 Then s = s & " 実行可能"
    If Bit(v, 5) = 1 Then s = s & " 2GB超アドレス対応"
    If Bit(v, 8) = 1 Then s = s & " 32ビット"
    If Bit(v, 13) = 1 Then s = s & " DLL"
    FileFlags = s
End Function

Function SectionFlags(v)
    Dim s
    s = ""
    If Bit(v, 5) = 1 Then s = s & " コード"
    If Bit(v, 6) = 1 Then s = s & " 初期化データ"
    If Bit(v, 7) = 1 Then s = s & " 未初期化データ"
    If Bit(v, 30) = 1 Then s = s & " R" Else s = s & " -"
    If Bit(v, 31) = 1 Then s = s & "W" Else s = s & "-"
    If Bit(v, 29) = 1 Then s = s & "X" Else s = s & "-"
    SectionFlags = s
End Function

Dim dirNames
dirNames = Array("Export エクスポート", "Import インポート", "Resource リソース", _
    "Exception 例外", "Certificate 証明書 (ファイル位置)", "Base Relocation 再配置", _
    "Debug デバッグ", "Architecture", "Global Ptr", "TLS", "Load Config", _
    "Bound Import", "IAT インポートアドレス", "Delay Import 遅延インポート", _
    "CLR ランタイムヘッダ", "Reserved")

' The described parts of the file after the headers, kept in file order.
' Declared without parentheses: Wine's VBScript crashes on ReDim of an
' array declared as "Dim a()".
Dim rOff, rSize, rName, rCount
rCount = 0
ReDim rOff(16)
ReDim rSize(16)
ReDim rName(16)

Sub AddRegion(off, size, name)
    Dim i
    If rCount > UBound(rOff) Then
        ReDim Preserve rOff(rCount * 2)
        ReDim Preserve rSize(rCount * 2)
        ReDim Preserve rName(rCount * 2)
    End If
    ' Insertion keeps equal offsets in the order they were added.
    i = rCount
    Do While i > 0
        If rOff(i - 1) <= off Then Exit Do
        rOff(i) = rOff(i - 1): rSize(i) = rSize(i - 1): rName(i) = rName(i - 1)
        i = i - 1
    Loop
    rOff(i) = off: rSize(i) = size: rName(i) = name
    rCount = rCount + 1
End Sub

Sub DosHeader()
    Dim i
    f.PrintIndex "DOS ヘッダ"
    f.Indent = 1
    Value "%2C", "e_magic 'MZ'"
    Value "%W", "e_cblp 最終ページのバイト数"
    Value "%W", "e_cp ページ数"
    Value "%W", "e_crlc 再配置数"
    Value "%W", "e_cparhdr ヘッダのパラグラフ数"
    Value "%W", "e_minalloc"
    Value "%W", "e_maxalloc"
    Value "%W", "e_ss"
    Value "%W", "e_sp"
    Value "%W", "e_csum"
    Value "%W", "e_ip"
    Value "%W", "e_cs"
    Value "%W", "e_lfarlc 再配置テーブルの位置"
    Value "%W", "e_ovno"
    Value "%4W", "e_res"
    Value "%W", "e_oemid"
    Value "%W", "e_oeminfo"
    Value "%10W", "e_res2"
    Value "%D", "e_lfanew PE ヘッダの位置"
    f.Indent = 0
End Sub

Sub Main()
    Dim lfanew, isPe
    If fileSize < 64 Then
        f.Print "MZ ヘッダより短いファイルです"
        Exit Sub
    End If
    If f.GetString(2, 0) <> "MZ" Then
        f.Print "MZ で始まるファイルではありません"
        Exit Sub
    End If
    DosHeader
    lfanew = Rd(60, 4)
    isPe = False
    If lfanew >= 64 And lfanew + 24 <= fileSize Then isPe = (Rd(lfanew, 4) = &H4550)
    If Not isPe Then
        f.Print "PE シグネチャがありません (MS-DOS プログラム)"
        Exit Sub
    End If
    If lfanew > 64 Then
        f.PrintIndex "DOS スタブ (" & (lfanew - 64) & " バイト)"
        f.Indent = 1
        f.PutBytes lfanew - 64
        f.Indent = 0
    End If

    Dim machine, nsec, symPtr, symCount, optSize, chars
    machine = Rd(lfanew + 4, 2)
    nsec = Rd(lfanew + 6, 2)
    symPtr = Rd(lfanew + 12, 4)
    symCount = Rd(lfanew + 16, 4)
    optSize = Rd(lfanew + 20, 2)
    chars = Rd(lfanew + 22, 2)
    f.PrintIndex "PE シグネチャと COFF ファイルヘッダ"
    f.Indent = 1
    Value "%2C %2B", "Signature 'PE' 00 00"
    Value "%W", "Machine " & MachineName(machine)
    Value "%W", "NumberOfSections セクション数"
    Value "%D", "TimeDateStamp 作成日時"
    Value "%D", "PointerToSymbolTable シンボルテーブルの位置"
    Value "%D", "NumberOfSymbols シンボル数"
    Value "%W", "SizeOfOptionalHeader オプションヘッダのサイズ"
    Value "%W", "Characteristics 属性" & FileFlags(chars)
    f.Indent = 0

    Dim optStart, certOff, certSize
    optStart = f.GetOffset
    certOff = 0
    certSize = 0
    If optStart + optSize > fileSize Then Broken "オプションヘッダがファイルの終端を越えています"
    If optSize > 0 Then OptionalHeader optSize, certOff, certSize

    Dim i, at, rawSize, rawPtr, name
    If nsec > 96 Then Broken "セクション数が多すぎます (" & nsec & ")"
    If f.GetOffset + nsec * 40 > fileSize Then Broken "セクションテーブルがファイルの終端を越えています"
    If nsec > 0 Then
        f.PrintIndex "セクションテーブル (" & nsec & " 個)"
        For i = 1 To nsec
            at = f.GetOffset
            name = Clean(f.GetString(8, 0))
            rawSize = Rd(at + 16, 4)
            rawPtr = Rd(at + 20, 4)
            f.Indent = 1
            f.Print "セクション " & i & " " & name & SectionFlags(Rd(at + 36, 4))
            f.Indent = 2
            Value "%8C", "Name 名前"
            Value "%D", "VirtualSize メモリ上のサイズ"
            Value "%D", "VirtualAddress RVA"
            Value "%D", "SizeOfRawData ファイル上のサイズ"
            Value "%D", "PointerToRawData ファイル上の位置"
            Value "%D", "PointerToRelocations"
            Value "%D", "PointerToLinenumbers"
            Value "%W", "NumberOfRelocations"
            Value "%W", "NumberOfLinenumbers"
            Value "%D", "Characteristics 属性"
            If rawSize > 0 And rawPtr > 0 Then AddRegion rawPtr, rawSize, "セクション " & i & " " & name & " のデータ"
        Next
        f.Indent = 0
    End If

    If certSize > 0 Then AddRegion certOff, certSize, "証明書テーブル"
    If symPtr > 0 And symCount > 0 Then
        AddRegion symPtr, symCount * 18, "COFF シンボルテーブル (" & symCount & " 個)"
        ' The string table follows the symbols and starts with its own size.
        at = symPtr + symCount * 18
        If at + 4 <= fileSize Then
            If Rd(at, 4) >= 4 Then AddRegion at, Rd(at, 4), "COFF 文字列テーブル"
        End If
    End If

    Dim r, pos, gap, regionEnd
    For r = 0 To rCount - 1
        pos = f.GetOffset
        regionEnd = rOff(r) + rSize(r)
        If regionEnd > pos Then
            If rOff(r) > pos Then
                gap = rOff(r) - pos
                If rOff(r) > fileSize Then gap = fileSize - pos
                If gap > 0 Then
                    f.PrintIndex "空き領域 (" & gap & " バイト)"
                    f.Indent = 1
                    f.PutBytes gap
                    f.Indent = 0
                End If
                pos = f.GetOffset
            End If
            If regionEnd > fileSize Then Broken rName(r) & " がファイルの終端を越えています"
            If rOff(r) < pos Then
                f.PrintIndex rName(r) & " の重なっていない部分 (" & (regionEnd - pos) & " バイト)"
            Else
                f.PrintIndex rName(r) & " (" & rSize(r) & " バイト)"
            End If
            f.Indent = 1
            f.PutBytes regionEnd - pos
            f.Indent = 0
        End If
    Next
End Sub

' The optional header: the fixed part of PE32 or PE32+, the data
' directories, and whatever else its declared size holds. Gives back the
' certificate table's place, which is a file offset, not an address.
Sub OptionalHeader(optSize, ByRef certOff, ByRef certSize)
    Dim start, magic, plus, fixedSize, addr, count, i, dirAt
    start = f.GetOffset
    magic = Rd(start, 2)
    plus = (magic = &H20B)
    If plus Then fixedSize = 112 Else fixedSize = 96
    If (magic <> &H10B And magic <> &H20B) Or optSize < fixedSize Then
        f.PrintIndex "オプションヘッダ (未対応の形式)"
        f.Indent = 1
        f.PutBytes optSize
        f.Indent = 0
        Exit Sub
    End If
    If plus Then addr = "%Q" Else addr = "%D"
    If plus Then
        f.PrintIndex "オプションヘッダ (PE32+)"
    Else
        f.PrintIndex "オプションヘッダ (PE32)"
    End If
    f.Indent = 1
    Value "%W", "Magic"
    Value "%B", "MajorLinkerVersion"
    Value "%B", "MinorLinkerVersion"
    Value "%D", "SizeOfCode"
    Value "%D", "SizeOfInitializedData"
    Value "%D", "SizeOfUninitializedData"
    Value "%D", "AddressOfEntryPoint エントリポイント RVA"
    Value "%D", "BaseOfCode"
    If Not plus Then Value "%D", "BaseOfData"
    Value addr, "ImageBase 優先ロードアドレス"
    Value "%D", "SectionAlignment"
    Value "%D", "FileAlignment"
    Value "%W", "MajorOperatingSystemVersion"
    Value "%W", "MinorOperatingSystemVersion"
    Value "%W", "MajorImageVersion"
    Value "%W", "MinorImageVersion"
    Value "%W", "MajorSubsystemVersion"
    Value "%W", "MinorSubsystemVersion"
    Value "%D", "Win32VersionValue"
    Value "%D", "SizeOfImage"
    Value "%D", "SizeOfHeaders"
    Value "%D", "CheckSum"
    Value "%W", "Subsystem " & SubsystemName(f.GetWord(0))
    Value "%W", "DllCharacteristics"
    Value addr, "SizeOfStackReserve"
    Value addr, "SizeOfStackCommit"
    Value addr, "SizeOfHeapReserve"
    Value addr, "SizeOfHeapCommit"
    Value "%D", "LoaderFlags"
    count = f.GetDWord(0)
    Value "%D", "NumberOfRvaAndSizes データディレクトリ数"
    If count > Int((optSize - fixedSize) / 8) Then count = Int((optSize - fixedSize) / 8)
    If count > 0 Then
        f.Print "データディレクトリ (RVA, サイズ)"
        f.Indent = 2
        For i = 0 To count - 1
            dirAt = f.GetOffset
            If i = 4 Then
                certOff = Rd(dirAt, 4)
                certSize = Rd(dirAt + 4, 4)
            End If
            If i <= UBound(dirNames) Then
                Value "%D %D", i & " " & dirNames(i)
            Else
                Value "%D %D", i & " 不明"
            End If
        Next
        f.Indent = 1
    End If
    If start + optSize > f.GetOffset Then
        f.Print "オプションヘッダの残り"
        f.PutBytes start + optSize - f.GetOffset
    End If
    f.Indent = 0
End Sub

' Main stops early through the error that Assert raises; the library has
' then already written the rest of the file. Any other error is a fault of
' this template: report it the same way so no byte is lost.
On Error Resume Next
Main
If Err.Number <> 0 Then
    If Err.Number <> E_ABORT Then
        Dim problem
        problem = "テンプレートの誤り: " & Err.Description
        Err.Clear
        f.Abort problem
    End If
    Err.Clear
ElseIf f.GetOffset < fileSize Then
    On Error GoTo 0
    f.PrintIndex "残りのデータ (オーバーレイ)"
    f.PutAll
End If
