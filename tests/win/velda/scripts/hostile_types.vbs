' Members given VBScript values of the wrong kind: Empty, Null, Nothing,
' arrays, objects and strings that are no numbers. Each result (or error)
' goes to standard error.
Option Explicit
Dim f, a, v
Set f = CreateObject("Velda.File")
a = Array(1, 2)

Sub Probe(name, ok)
    If Err.Number <> 0 Then
        f.Message name & " fails " & Hex(Err.Number) & " at " & f.GetOffset()
        Err.Clear
    Else
        f.Message name & " = " & ok & " at " & f.GetOffset()
    End If
End Sub

On Error Resume Next
v = f.GetByte(Empty): Probe "GetByte(Empty)", VarType(v)
v = f.GetByte(Null): Probe "GetByte(Null)", VarType(v)
v = f.GetByte(a): Probe "GetByte(array)", VarType(v)
v = f.GetByte("x"): Probe "GetByte(x)", VarType(v)
v = f.GetString(2, Nothing): Probe "GetString(2,Nothing)", VarType(v)
f.Seek Null, 0: Probe "Seek(Null)", 0
f.Seek a, 0: Probe "Seek(array)", 0
f.Seek f, 0: Probe "Seek(object)", 0
f.Seek "2", 0: Probe "Seek(""2"")", 0
v = f.FindDWord(a): Probe "FindDWord(array)", VarType(v)
v = f.FindQWord(Null): Probe "FindQWord(Null)", VarType(v)
v = f.CalcCrc32(Empty, a, 0, 0): Probe "CalcCrc32(Empty,array)", VarType(v)
v = f.CalcCrc32(0, 1, Null, 0): Probe "CalcCrc32(0,1,Null)", VarType(v)
v = f.GetFormat(Null): Probe "GetFormat(Null)", VarType(v)
v = f.GetFormat(a): Probe "GetFormat(array)", VarType(v)
Dim b1, b2
f.GetByteOf b1, Array(1, 2), b2: Probe "GetByteOf(b1,array,b2)", VarType(b1) & " " & VarType(b2)
f.GetByteOf 1, 2: Probe "GetByteOf(1,2)", 0
f.TemplateName = a: Probe "TemplateName=array", f.TemplateName
f.Indent = "many": Probe "Indent=many", f.Indent
f.Assert False, a: Probe "Assert(False,array)", 0
f.PutBytes a: Probe "PutBytes(array)", 0
f.PutAll: Probe "PutAll", 0
f.Message "done"
