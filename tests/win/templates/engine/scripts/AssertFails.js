// Emits two bytes, then reports a fatal error through the library.
var f = new ActiveXObject("Velda.File");
f.PutBytes(2);
f.Assert(0, "壊れています");
