' What VBScript sees of every ITavFile member: one line per member with
' TypeName, VarType and value. Input: 12 34 56 78 | FF FF FF FF |
' 01 00 00 00 00 00 00 00 | 41 42 00 | 82 A0, little-endian, unit size 1.
Option Explicit
Dim f, a, b, c, d, x
Set f = CreateObject("Velda.File")

Sub Show(name, value)
    WScript.Echo name & " " & TypeName(value) & " " & VarType(value) & " " & CStr(value)
End Sub

Sub ShowBool(name, value)
    WScript.Echo name & " " & TypeName(value) & " " & VarType(value) & " " & CInt(value)
End Sub

Sub ShowArray(name, value)
    Dim i, text
    text = name & " " & VarType(value) & " from " & LBound(value) & " to " & UBound(value) & " ["
    For i = LBound(value) To UBound(value)
        If i > LBound(value) Then text = text & ", "
        text = text & VarType(value(i)) & " " & CStr(value(i))
    Next
    WScript.Echo text & "]"
End Sub

ShowBool "Endian", f.Endian
f.Endian = True
ShowBool "Endian=True", f.Endian
f.Endian = 1
ShowBool "Endian=1", f.Endian
f.Endian = False
Show "Version", f.Version
Show "FileName", f.FileName
Show "Indent", f.Indent
ShowBool "Reversible", f.Reversible
f.Reversible = True
ShowBool "Reversible=True", f.Reversible
Show "GetExtendNo", f.GetExtendNo

Show "GetByte(0)", f.GetByte(0)
Show "GetByte(4)", f.GetByte(4)
Show "GetByte(4,True)", f.GetByte(4, True)
Show "GetQWord(1)", f.GetQWord(1)
x = f.GetQWord(0)
WScript.Echo "GetQWord(0) " & VarType(x)
x = f.GetQWord(0, True)
WScript.Echo "GetQWord(0,True) " & VarType(x)
Show "GetString(3,16)", f.GetString(3, 16)

f.GetByteOf a, b, , d
WScript.Echo "GetByteOf a " & VarType(a) & " " & a & " b " & VarType(b) & " " & b & " c " & VarType(c) & " d " & VarType(d) & " " & d
f.GetWordOf a
WScript.Echo "GetWordOf " & VarType(a) & " " & a
f.GetDWordOf a, b
WScript.Echo "GetDWordOf " & VarType(a) & " " & a & " " & VarType(b) & " " & b
f.Seek 8, 0
f.GetQWordOf a
WScript.Echo "GetQWordOf " & VarType(a) & " " & a
f.Seek 0, 0

ShowArray "GetBytes(2)", f.GetBytes(2)
ShowArray "GetWords(1)", f.GetWords(1)
ShowArray "GetDWords(1)", f.GetDWords(1)
f.Seek 8, 0
ShowArray "GetQWords(1)", f.GetQWords(1)
f.Seek 0, 0
ShowArray "GetFormat(%B%W%C%D)", f.GetFormat("%B%W%C%D")
x = f.GetBytes(0)
WScript.Echo "GetBytes(0) " & VarType(x) & " " & UBound(x)

Show "FindByte(&H41)", f.FindByte(&H41)
Show "FindDWord(&HFFFFFFFF)", f.FindDWord(&HFFFFFFFF)
ShowBool "Eof", f.Eof
Show "GetOffset", f.GetOffset
Show "Length", f.Length
Show "CalcCrc32", f.CalcCrc32(0, 4, &HFFFFFFFF)
Show "CalcCrc32(mode)", f.CalcCrc32(4, 4, 0, 0)
f.Seek 0, 2
ShowBool "Eof at end", f.Eof
f.Seek 0, 0
Show "PutByte", f.PutByte
Show "PutByte(True)", f.PutByte(True)
f.Seek 0, 0
x = f.PutQWord
WScript.Echo "PutQWord over FF " & VarType(x)
x = f.PutQWord
WScript.Echo "PutQWord " & VarType(x) & " " & x
f.Seek 2, 0
f.Print "p"
f.PrintIndex "i"
Show "PutDWord(True)", f.PutDWord(True)
f.PutAll
Show "GetOffset at end", f.GetOffset
