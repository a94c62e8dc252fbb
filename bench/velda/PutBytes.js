// Benchmark: emits the whole input as hexadecimal lines through PutBytes in
// 1024-byte calls, and reports the time spent inside the script.
var f = new ActiveXObject("Velda.File");
var size = f.Length();
var start = new Date().getTime();
while (size - f.GetOffset() >= 1024) f.PutBytes(1024);
f.PutBytes(size - f.GetOffset());
var ms = new Date().getTime() - start;
f.Message("PutBytes(1024) " + size + " bytes " + ms + " ms");
