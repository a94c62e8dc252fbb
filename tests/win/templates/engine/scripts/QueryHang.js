// Declares its extensions, then never ends by itself (two minutes).
var f = new ActiveXObject("Velda.File");
f.TemplateName = "終わらない";
f.TemplateExtend = ".hng";
var end = new Date().getTime() + 120000;
while (new Date().getTime() < end) {
}
