// A template that recurses until the script engine gives up, calling
// GetFormat at every level, then writes the rest. The host must survive
// and the text must pack back.
var f = new ActiveXObject("Velda.File");
var depth = 0;
function down() {
    f.GetFormat("%B%W%C");
    depth++;
    down();
}
try {
    down();
    f.Message("no limit");
} catch (e) {
    f.Message("stopped " + (depth > 1000 ? "deep" : "at " + depth));
}
f.PutBytes(2);
f.PutAll();
f.Message("done");
