// Endian = true でビッグエンディアン、false でリトルエンディアン。
// 読み出す値が変わり、エディタのバイトオーダーも最後の設定になります。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "バイトオーダー";
f.TemplateExtend = ".bin";
f.Regist();

function order() { return f.Endian ? "ビッグエンディアン" : "リトルエンディアン"; }
f.Endian = false;
f.Print(order() + " " + f.GetWord(0));
f.Endian = true;
f.Print(order() + " " + f.GetWord(0));
f.PutWords(2);
