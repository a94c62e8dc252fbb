// What JScript sees of every ITavFile member: one line per member with the
// JScript type and value. Input: 12 34 56 78 | FF FF FF FF |
// 01 00 00 00 00 00 00 00 | 41 42 00 | 82 A0, little-endian, unit size 1.
var f = new ActiveXObject("Velda.File");

function show(name, value) {
    WScript.Echo(name + " " + typeof value + " " + value);
}
function notNumber(name, call) {
    var kind;
    try {
        kind = typeof call();
    } catch (e) {
        kind = "error";
    }
    WScript.Echo(name + " " + (kind == "number" ? "number" : "not a number"));
}
function failure(name, call) {
    try {
        call();
        WScript.Echo(name + " succeeded");
    } catch (e) {
        WScript.Echo(name + " fails " + (e.number >>> 0).toString(16));
    }
}
function array(name, value) {
    var a = new VBArray(value);
    var items = a.toArray();
    var shown = [];
    for (var i = 0; i < items.length; i++) shown.push(typeof items[i] + " " + items[i]);
    WScript.Echo(name + " dimensions " + a.dimensions() + " from " + a.lbound() + " to " + a.ubound() + " [" + shown.join(", ") + "]");
}

show("Endian", f.Endian);
f.Endian = true;
show("Endian=true", f.Endian);
show("GetWord(0) big", f.GetWord(0));
f.Endian = false;
show("Version", f.Version);
f.Version = 2.5;
show("Version=2.5", f.Version);
show("FileName", f.FileName);
show("TemplateName", f.TemplateName);
f.TemplateName = "name";
show("TemplateName=name", f.TemplateName);
show("Indent", f.Indent);
show("Reversible", f.Reversible);
show("GetExtendNo", f.GetExtendNo());

show("GetByte(0)", f.GetByte(0));
show("GetByte(4)", f.GetByte(4));
show("GetByte(4,true)", f.GetByte(4, true));
show("GetWord(0)", f.GetWord(0));
show("GetDWord(0,true)", f.GetDWord(0, true));
show("GetDWord(1,true)", f.GetDWord(1, true));
show("GetQWord(1)", f.GetQWord(1));
notNumber("GetQWord(0)", function () { return f.GetQWord(0); });
show("GetString(3,16)", f.GetString(3, 16));
show("GetString(2,19)=a", f.GetString(2, 19) == "\u3042");

array("GetBytes(2)", f.GetBytes(2));
array("GetBytes(0)", f.GetBytes(0));
array("GetWords(1)", f.GetWords(1));
array("GetDWords(2)", f.GetDWords(2));
array("GetFormat(%B%W%C)", f.GetFormat("%B%W%C"));
failure("GetQWords(1) of 2^63 and more", function () { return new VBArray(f.GetQWords(1)); });

var b1, b2;
show("GetByteOf", f.GetByteOf(b1, b2));
show("FindByte(0x41)", f.FindByte(0x41));
show("FindWord(0x4241)", f.FindWord(0x4241));
show("FindDWord(-1)", f.FindDWord(-1));
show("FindQWord(1)", f.FindQWord(1));
failure("FindDWord(abc)", function () { return f.FindDWord("abc"); });
show("Eof", f.Eof());
show("GetOffset", f.GetOffset());
show("Length", f.Length());
show("CalcCrc32", f.CalcCrc32(0, 4, 0xFFFFFFFF));
show("CalcCrc32(-1)", f.CalcCrc32(0, 4, -1));
failure("CalcCrc32(abc)", function () { return f.CalcCrc32(0, 4, "abc"); });
f.Seek(0, 2);
show("Eof at end", f.Eof());
show("Seek", f.Seek(0, 0));
show("Regist", f.Regist());

show("PutByte", f.PutByte());
show("PutWord(true)", f.PutWord(true));
show("PutString", f.PutString(1));
show("PutBytes", f.PutBytes(1));
show("PutFormat", f.PutFormat("%B"));
show("Print", f.Print("p"));
show("PrintIndex", f.PrintIndex("i"));
show("Message", f.Message("m"));
show("Assert(1)", f.Assert(1));
show("PutAll", f.PutAll());
show("GetOffset at end", f.GetOffset());
failure("GetByte(0) at end", function () { return f.GetByte(0); });
