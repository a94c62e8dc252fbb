// Creates the File object and says whether that worked.
try {
    var f = new ActiveXObject("Velda.File");
    WScript.Echo("created");
} catch (e) {
    WScript.Echo("not created");
}
