// Message の文はテキストではなく、エディタのアウトプット バーに出ます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "メッセージ";
f.TemplateExtend = ".bin";
f.Regist();

if (f.Length() % 4 != 0) {
    f.Message("長さが 4 の倍数ではありません（" + f.Length() + " バイト）。");
}
f.PutAll();
