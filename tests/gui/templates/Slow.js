// Shows the first byte, then takes its time (about six seconds) before the
// rest: long enough for the progress dialog.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "低速";
f.TemplateExtend = ".slw";
f.Regist();
f.PutBytes(1);
var end = new Date().getTime() + 6000;
while (new Date().getTime() < end) {
}
f.PutAll();
