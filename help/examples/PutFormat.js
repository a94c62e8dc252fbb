// PutFormat は書式の通りに値を 1 行に出力します。値の名前は
// < > で囲んでコメントにします。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "書式で出力";
f.TemplateExtend = ".bin";
f.Regist();

f.Endian = false;
f.PutFormat("%4C <識別子>");
f.PutFormat("%W <版> %W <件数>");
f.PutFormat("<予約> ");
f.PutFormat("%3B");
