' MIDI template (VBScript): walks the chunks of a Standard MIDI File. The
' header chunk MThd is decoded into format, track count and time division;
' each track chunk MTrk is decoded event by event, one line per event with
' its delta-time (a variable-length quantity) and its meaning, following
' running status; meta events and system exclusive messages show their data
' on a line of their own. A file wrapped in a RIFF "RMID" container has its
' wrapper shown before the chunks. Whatever the walk cannot account for goes
' to PutAll, so the text always holds every byte of the file.
Option Explicit
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "MIDI シーケンス"
f.TemplateExtend = ".mid.midi"
f.EditorName = "Tevrin"
f.Comment = "スタンダード MIDI ファイルのチャンクとイベントを解析します。"
f.HelpURI = "https://www.loc.gov/preservation/digital/formats/fdd/fdd000119.shtml"
f.Version = 1.0
f.Regist

' Every number in a MIDI file is big-endian.
f.Endian = True

Sub Value(conversion, name)
    f.PutFormat conversion & " <" & name & ">"
End Sub

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

Function NoteName(k)
    NoteName = Mid("C C#D D#E F F#G G#A A#B ", (k Mod 12) * 2 + 1, 2)
    NoteName = Trim(NoteName) & (k \ 12 - 1)
End Function

Function MetaName(t)
    Select Case t
        Case 0: MetaName = "シーケンス番号"
        Case 1: MetaName = "テキスト"
        Case 2: MetaName = "著作権表示"
        Case 3: MetaName = "シーケンス名 / トラック名"
        Case 4: MetaName = "楽器名"
        Case 5: MetaName = "歌詞"
        Case 6: MetaName = "マーカー"
        Case 7: MetaName = "キューポイント"
        Case 8: MetaName = "プログラム名"
        Case 9: MetaName = "デバイス名"
        Case &H20: MetaName = "MIDI チャンネルプリフィックス"
        Case &H21: MetaName = "ポート"
        Case &H2F: MetaName = "トラック終端"
        Case &H51: MetaName = "テンポ"
        Case &H54: MetaName = "SMPTE オフセット"
        Case &H58: MetaName = "拍子"
        Case &H59: MetaName = "調"
        Case &H7F: MetaName = "シーケンサ固有"
        Case Else: MetaName = "不明なメタイベント"
    End Select
End Function

' The track's bytes, read once into an array so the events are decoded
' without a call into the library per byte; pos is the index of the next
' byte, last the index past the track's end.
Dim t, pos, last

' A variable-length quantity at pos: seven bits per byte, the top bit set
' on every byte but the last, at most four bytes. Returns its value and
' leaves in vlqSize how many bytes it took (0 when it is broken or cut).
Dim vlqSize
Function Vlq()
    Dim v, b
    v = 0
    vlqSize = 0
    Do
        If pos + vlqSize >= last Or vlqSize >= 4 Then
            vlqSize = 0
            Vlq = -1
            Exit Function
        End If
        b = t(pos + vlqSize)
        vlqSize = vlqSize + 1
        v = v * 128 + (b And 127)
    Loop While b >= 128
    Vlq = v
End Function

Function ChannelText(status, d1, d2)
    Dim ch
    ch = " ch" & ((status And 15) + 1)
    Select Case status \ 16
        Case 8: ChannelText = "ノートオフ" & ch & " " & NoteName(d1) & " ベロシティ " & d2
        Case 9
            If d2 = 0 Then
                ChannelText = "ノートオン (ベロシティ 0 = オフ)" & ch & " " & NoteName(d1)
            Else
                ChannelText = "ノートオン" & ch & " " & NoteName(d1) & " ベロシティ " & d2
            End If
        Case 10: ChannelText = "ポリフォニックキープレッシャー" & ch & " " & NoteName(d1) & " " & d2
        Case 11: ChannelText = "コントロールチェンジ" & ch & " " & d1 & " = " & d2
        Case 12: ChannelText = "プログラムチェンジ" & ch & " " & d1
        Case 13: ChannelText = "チャンネルプレッシャー" & ch & " " & d1
        Case 14: ChannelText = "ピッチベンド" & ch & " " & (d2 * 128 + d1 - 8192)
    End Select
End Function

Sub Track(n, size)
    Dim delta, dsize, status, running, b, need, d1, d2, kind, length, lsize, text, count, ended
    f.PrintIndex "トラック " & n & " MTrk (" & size & " バイト)"
    f.Indent = 1
    f.PutString 4
    Value "%D", "チャンクの長さ"
    If size = 0 Then
        f.Indent = 0
        Exit Sub
    End If
    t = f.GetBytes(size)
    pos = 0
    last = size
    running = 0
    count = 0
    ended = False
    Do While pos < last And Not ended
        delta = Vlq()
        dsize = vlqSize
        f.Assert dsize > 0, "デルタタイムが壊れています (トラック " & n & ")"
        f.Assert pos + dsize < last, "イベントがトラックの終端を越えています (トラック " & n & ")"
        status = t(pos + dsize)
        count = count + 1
        If status < &H80 Then
            ' Running status: the data bytes follow the delta-time directly.
            f.Assert running <> 0, "ランニングステータスの前にステータスがありません (トラック " & n & ")"
            need = 1
            If running \ 16 <> 12 And running \ 16 <> 13 Then need = 2
            f.Assert pos + dsize + need <= last, "イベントがトラックの終端を越えています (トラック " & n & ")"
            d1 = t(pos + dsize)
            d2 = 0
            If need = 2 Then d2 = t(pos + dsize + 1)
            Value "%" & dsize & "B %" & need & "B", "Δ" & delta & " (継続) " & ChannelText(running, d1, d2)
            pos = pos + dsize + need
        ElseIf status < &HF0 Then
            running = status
            need = 1
            If status \ 16 <> 12 And status \ 16 <> 13 Then need = 2
            f.Assert pos + dsize + 1 + need <= last, "イベントがトラックの終端を越えています (トラック " & n & ")"
            d1 = t(pos + dsize + 1)
            d2 = 0
            If need = 2 Then d2 = t(pos + dsize + 2)
            Value "%" & dsize & "B %" & (1 + need) & "B", "Δ" & delta & " " & ChannelText(status, d1, d2)
            pos = pos + dsize + 1 + need
        ElseIf status = &HFF Then
            ' Meta event: type, length (variable-length) and data.
            f.Assert pos + dsize + 2 < last, "メタイベントがトラックの終端を越えています (トラック " & n & ")"
            kind = t(pos + dsize + 1)
            b = pos
            pos = pos + dsize + 2
            length = Vlq()
            lsize = vlqSize
            pos = b
            f.Assert lsize > 0, "メタイベントの長さが壊れています (トラック " & n & ")"
            f.Assert pos + dsize + 2 + lsize + length <= last, "メタイベントがトラックの終端を越えています (トラック " & n & ")"
            text = ""
            If kind = &H51 And length = 3 Then
                text = " " & (t(pos + dsize + 3) * 65536 + t(pos + dsize + 4) * 256 + t(pos + dsize + 5)) & " マイクロ秒/四分音符"
            ElseIf kind = &H58 And length = 4 Then
                text = " " & t(pos + dsize + 3) & "/" & (2 ^ t(pos + dsize + 4))
            ElseIf kind >= 1 And kind <= 9 And length > 0 Then
                f.Seek f.GetOffset + dsize + 2 + lsize, 0
                text = " " & Safe(f.GetString(length, 0))
                f.Seek f.GetOffset - dsize - 2 - lsize, 0
            End If
            Value "%" & dsize & "B %2B %" & lsize & "B", "Δ" & delta & " メタ " & MetaName(kind) & text
            If length > 0 Then
                If kind >= 1 And kind <= 9 Then f.PutString length Else f.PutBytes length
            End If
            pos = pos + dsize + 2 + lsize + length
            ' Meta events and system exclusive cancel running status.
            running = 0
            If kind = &H2F Then ended = True
        ElseIf status = &HF0 Or status = &HF7 Then
            ' System exclusive (F0) or escaped bytes (F7): length and data.
            b = pos
            pos = pos + dsize + 1
            length = Vlq()
            lsize = vlqSize
            pos = b
            f.Assert lsize > 0, "システムエクスクルーシブの長さが壊れています (トラック " & n & ")"
            f.Assert pos + dsize + 1 + lsize + length <= last, "システムエクスクルーシブがトラックの終端を越えています (トラック " & n & ")"
            If status = &HF0 Then text = "システムエクスクルーシブ" Else text = "エスケープ (F7)"
            Value "%" & dsize & "B %" & (1 + lsize) & "B", "Δ" & delta & " " & text & " " & length & " バイト"
            If length > 0 Then f.PutBytes length
            pos = pos + dsize + 1 + lsize + length
            running = 0
        Else
            f.Assert False, "不明なステータスバイト " & Hex(status) & " (トラック " & n & ")"
        End If
    Loop
    If pos < last Then
        f.Print "トラック終端の後のデータ"
        f.PutBytes last - pos
    ElseIf Not ended Then
        f.Print "トラック終端のメタイベントがありません"
    End If
    f.Indent = 0
End Sub

Sub HeaderChunk(size)
    Dim division
    f.PrintIndex "ヘッダ MThd (" & size & " バイト)"
    f.Indent = 1
    f.PutString 4
    Value "%D", "チャンクの長さ"
    If size >= 6 Then
        Value "%W", "フォーマット (0 = 単一トラック, 1 = 同時, 2 = 独立)"
        declaredTracks = f.GetWord(0)
        Value "%W", "トラック数"
        division = f.GetWord(0)
        If division >= 32768 Then
            Value "%W", "時間単位 SMPTE " & (256 - division \ 256) & " フレーム/秒, " & (division And 255) & " 単位/フレーム"
        Else
            Value "%W", "時間単位 " & division & " ティック/四分音符"
        End If
        If size > 6 Then
            f.Print "拡張部分"
            f.PutBytes size - 6
        End If
    ElseIf size > 0 Then
        f.PutBytes size
    End If
    f.Indent = 0
End Sub

' A RIFF "RMID" wrapper: its header and the "data" chunk header are shown
' (their sizes are little-endian, shown here as stored), then the MIDI
' chunks inside are walked up to the end of the "data" chunk.
Dim stopAt, riffCut, declaredTracks, k
stopAt = f.Length
riffCut = False
declaredTracks = 0
If f.Length >= 20 Then
    If f.GetString(4, 0) = "RIFF" And f.GetString(4, 8) = "RMID" And f.GetString(4, 12) = "data" Then
        f.PrintIndex "RIFF RMID ラッパー"
        f.Indent = 1
        f.PutString 4
        f.Print "RIFF サイズ (リトルエンディアン)"
        f.PutBytes 4
        f.PutString 4
        f.PutString 4
        f.Print "data チャンクのサイズ (リトルエンディアン)"
        stopAt = f.GetByte(0) + f.GetByte(1) * 256 + f.GetByte(2) * 65536 + f.GetByte(3) * 16777216 + 20
        f.PutBytes 4
        f.Indent = 0
        riffCut = stopAt > f.Length
        If riffCut Then stopAt = f.Length
    End If
End If

Dim id, size, tracks, isMidi
tracks = 0
isMidi = False
If stopAt - f.GetOffset >= 8 Then isMidi = (f.GetString(4, 0) = "MThd")
If isMidi Then
    Do While stopAt - f.GetOffset >= 8
        id = f.GetString(4, 0)
        size = f.GetDWord(1)
        f.Assert size <= stopAt - f.GetOffset - 8, "チャンク " & Safe(id) & " がファイルの終端を越えています"
        If id = "MThd" Then
            HeaderChunk size
        ElseIf id = "MTrk" Then
            tracks = tracks + 1
            Track tracks, size
        Else
            f.PrintIndex "不明なチャンク " & Safe(id) & " (" & size & " バイト)"
            f.Indent = 1
            f.PutString 4
            Value "%D", "チャンクの長さ"
            If size > 0 Then f.PutBytes size
            f.Indent = 0
        End If
    Loop
    ' A file cut off ends with the library's error report, which shows the
    ' rest.
    ' Zero padding may follow the last chunk; anything else is a chunk
    ' header cut off.
    For k = 0 To stopAt - f.GetOffset - 1
        f.Assert f.GetByte(k) = 0, "チャンクヘッダが途中で切れています"
    Next
    f.Assert tracks >= declaredTracks, "トラックが " & declaredTracks & " 個のはずが " & tracks & " 個しかありません (ファイルが途中で切れています)"
    f.Assert Not riffCut, "RIFF の data チャンクがファイルの終端を越えています"
Else
    f.Print "スタンダード MIDI ファイルではありません"
End If

' Eof returns 1 for true, and VBScript's Not of 1 is -2 (still true):
' compare positions instead.
If f.GetOffset < f.Length Then
    f.PrintIndex "残りのデータ"
    f.PutAll
End If
