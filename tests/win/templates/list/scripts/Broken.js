// Fails before it declares anything.
var f = new ActiveXObject("Velda.File");
throw new Error("壊れたテンプレート");
f.TemplateExtend = ".bad";
f.Regist();
