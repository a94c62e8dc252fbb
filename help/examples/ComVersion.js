// Velda.Com はライブラリの版だけを知らせます（1.0.3 なら 103）。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "版の確認";
f.TemplateExtend = ".bin";
f.Regist();

var com = new ActiveXObject("Velda.Com");
var v = com.Version;
f.Print("Velda の版 " + Math.floor(v / 100) + "." + Math.floor(v / 10) % 10 + "." + v % 10);
if (v < 103) f.Abort("Velda 1.0.3 以降が必要です。");
f.PutAll();
