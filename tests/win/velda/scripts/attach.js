// Attaching: what a File object takes from the block and the process, and
// that a second object resets the shared read position.
var f = new ActiveXObject("Velda.File");
f.FileName = "assigned.txt";
WScript.Echo("FileName " + f.FileName);
f.Seek(3, 0);
WScript.Echo("first at " + f.GetOffset());
var g = new ActiveXObject("Velda.File");
WScript.Echo("after second " + f.GetOffset() + " " + g.GetOffset());
g.Seek(2, 0);
WScript.Echo("shared " + f.GetOffset());
f = null;
g = null;
CollectGarbage();
// The library never closes the standard handles it writes through.
WScript.Echo("after release");
