// Indent に数を入れると、それからの各行の先頭にその数のタブが付きます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "字下げ";
f.TemplateExtend = ".bin";
f.Regist();

f.Endian = false;
var count = f.GetWord(0);
f.PrintIndex("レコード " + count + " 件");
f.PutWord();
for (var i = 1; i <= count; i++) {
    f.Indent = 1;
    f.Print("レコード " + i);
    f.Indent = 2;
    f.PutBytes(2);
}
f.Indent = 0;
f.PutAll();
