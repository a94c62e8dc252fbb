// Emits four bytes, then fails with an error of its own (not the library's).
var f = new ActiveXObject("Velda.File");
f.PutBytes(4);
throw new Error("テンプレートの誤り");
