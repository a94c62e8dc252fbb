// The editor's version query.
var c = new ActiveXObject("Velda.Com");
WScript.Echo(typeof c.Version + " " + c.Version);
var d = new ActiveXObject("Velda.Com.1");
WScript.Echo(d.Version);
