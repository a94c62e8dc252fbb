' The editor's version query.
Set c = CreateObject("Velda.Com")
WScript.Echo TypeName(c.Version) & " " & VarType(c.Version) & " " & c.Version
