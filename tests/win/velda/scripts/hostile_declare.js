// Declaration members given over-long texts, embedded zero bytes, numbers
// that are no numbers and values of the wrong type. Results go to standard
// error; the block's fields are checked by the test.
var f = new ActiveXObject("Velda.File");

function probe(name, call) {
    try {
        var v = call();
        f.Message(name + " = " + (typeof v == "string" ? "string " + v.length : typeof v + " " + v));
    } catch (e) {
        f.Message(name + " fails " + (e.number >>> 0).toString(16));
    }
}

var long = new Array(100001).join("\u30c6");
probe("TemplateName=long", function () { f.TemplateName = long; return f.TemplateName; });
probe("Comment=long", function () { f.Comment = long + "x"; return f.Comment; });
probe("HelpURI=long", function () { f.HelpURI = new Array(5001).join("h"); return f.HelpURI; });
probe("EditorName=NUL", function () { f.EditorName = "ed\u0000itor"; return f.EditorName; });
probe("TemplateExtend=NUL", function () { f.TemplateExtend = ".a\u0000.b"; return f.TemplateExtend; });
probe("FileName=object", function () { f.FileName = f; return f.FileName; });
probe("TemplateExtend=null", function () { f.TemplateExtend = null; return f.TemplateExtend; });
probe("TemplateExtend=.x.bin", function () { f.TemplateExtend = ".x.bin"; return f.TemplateExtend; });
probe("Version=NaN", function () { f.Version = NaN; return f.Version; });
probe("Version=Infinity", function () { f.Version = Infinity; return f.Version; });
probe("Version=-1e308", function () { f.Version = -1e308; return f.Version; });
probe("Version=abc", function () { f.Version = "abc"; return f.Version; });
probe("Version=1.25", function () { f.Version = 1.25; return f.Version; });
probe("Reversible=object", function () { f.Reversible = f; return f.Reversible; });
probe("Reversible=NaN", function () { f.Reversible = NaN; return f.Reversible; });
probe("Endian=Infinity", function () { f.Endian = Infinity; return f.Endian; });
probe("Endian=string", function () { f.Endian = "yes"; return f.Endian; });
probe("GetExtendNo", function () { return f.GetExtendNo(); });
probe("Regist", function () { return f.Regist(); });
