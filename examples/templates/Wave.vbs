' Wave template (VBScript): walks the RIFF chunks of a .wav file, decodes
' the "fmt " chunk into named values, shows the samples of the "data"
' chunk one frame per line, and writes every other chunk as hexadecimal
' lines. Whatever the walk cannot account for goes to PutAll, so the text
' always holds every byte of the file.
Option Explicit
Dim f
Set f = CreateObject("Velda.File")
f.TemplateName = "WAVE オーディオ"
f.TemplateExtend = ".wav"
f.EditorName = "Tevrin"
f.Comment = "RIFF WAVE のチャンクを解析します。"
f.HelpURI = "https://learn.microsoft.com/windows/win32/xaudio2/resource-interchange-file-format--riff-"
f.Version = 1.0
f.Regist

' RIFF sizes and samples are little-endian.
f.Endian = False

Dim bitsPerSample, blockAlign, channels
bitsPerSample = 0
blockAlign = 0
channels = 0

Sub Value(conversion, name)
    f.PutFormat conversion & " <" & name & ">"
End Sub

Sub FmtChunk(size)
    f.Indent = 1
    Value "%W", "wFormatTag 形式 (1 = PCM)"
    channels = f.GetWord(0)
    Value "%W", "nChannels チャンネル数"
    Value "%D", "nSamplesPerSec サンプリング周波数"
    Value "%D", "nAvgBytesPerSec"
    blockAlign = f.GetWord(0)
    Value "%W", "nBlockAlign"
    bitsPerSample = f.GetWord(0)
    Value "%W", "wBitsPerSample 量子化ビット数"
    If size > 16 Then
        f.Print "拡張部分"
        f.PutBytes size - 16
    End If
    f.Indent = 0
End Sub

Sub DataChunk(size)
    Dim frames, rest, i
    f.Indent = 1
    If blockAlign > 0 And (bitsPerSample = 8 Or bitsPerSample = 16 Or bitsPerSample = 32) Then
        frames = Int(size / blockAlign)
        rest = size - frames * blockAlign
        For i = 1 To frames
            Select Case bitsPerSample
                Case 8
                    f.PutBytes blockAlign
                Case 16
                    f.PutWords blockAlign / 2
                Case 32
                    f.PutDWords blockAlign / 4
            End Select
        Next
        If rest > 0 Then f.PutBytes rest
    Else
        f.PutBytes size
    End If
    f.Indent = 0
End Sub

' VBScript evaluates both sides of And: look at the names only when the
' file is long enough to hold them.
Dim isWave
isWave = False
If f.Length >= 12 Then isWave = (f.GetString(4, 0) = "RIFF" And f.GetString(4, 8) = "WAVE")
If isWave Then
    f.PrintIndex "RIFF ヘッダ"
    f.Indent = 1
    f.Print "ckID"
    f.PutString 4
    f.Print "ckSize ファイルサイズ - 8"
    f.PutDWord
    f.Print "WAVE ID"
    f.PutString 4
    f.Indent = 0

    Dim id, size
    Do While f.Length - f.GetOffset >= 8
        id = f.GetString(4, 0)
        size = f.GetDWord(1)
        f.PrintIndex "チャンク " & id & " (" & size & " バイト)"
        f.Indent = 1
        f.PutString 4
        Value "%D", "チャンクサイズ"
        f.Indent = 0
        ' A chunk longer than what is left means the file was cut off: the
        ' library's error report shows the rest.
        f.Assert size <= f.Length - f.GetOffset, "チャンク " & id & " がファイルの終端を越えています"
        If id = "fmt " And size >= 16 Then
            FmtChunk size
        ElseIf id = "data" Then
            DataChunk size
        ElseIf size > 0 Then
            f.Indent = 1
            f.PutBytes size
            f.Indent = 0
        End If
        ' Chunks are padded to an even size.
        If (size Mod 2) = 1 And f.GetOffset < f.Length Then
            f.Print "詰め物"
            f.PutByte
        End If
    Loop
Else
    f.Print "RIFF WAVE ファイルではありません"
End If

' Eof returns 1 for true, and VBScript's Not of 1 is -2 (still true):
' compare positions instead.
If f.GetOffset < f.Length Then
    f.PrintIndex "残りのデータ"
    f.PutAll
End If
