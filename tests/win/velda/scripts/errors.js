// A member that reports a fatal error returns E_ABORT, which reaches the
// script as an error it can catch.
var f = new ActiveXObject("Velda.File");
f.Seek(-1, 2);
try {
    f.GetWord(0);
    WScript.Echo("no error");
} catch (e) {
    WScript.Echo("caught " + (e.number >>> 0).toString(16));
}
try {
    f.Abort("中止します");
} catch (e) {
    WScript.Echo("Abort " + (e.number >>> 0).toString(16));
}
