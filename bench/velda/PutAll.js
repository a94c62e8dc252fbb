// Benchmark: emits the whole input as hexadecimal lines with one PutAll.
var f = new ActiveXObject("Velda.File");
var size = f.Length();
var start = new Date().getTime();
f.PutAll();
var ms = new Date().getTime() - start;
f.Message("PutAll " + size + " bytes " + ms + " ms");
