// Texts cross between the script's UTF-16 and the ANSI code page 932 of
// the block, the produced text and the messages.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "テンプレート名";
WScript.Echo("TemplateName " + (f.TemplateName == "テンプレート名"));
WScript.Echo("GetString " + (f.GetString(2, 0) == "あ"));
WScript.Echo("FileName " + (f.FileName == "日本語.bin"));
f.Print("日本語のコメント");
f.PrintIndex("見出し");
f.PutString(4);
f.PutFormat("<値> %2C");
f.Message("メッセージ");
