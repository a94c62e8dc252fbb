// Output members given sizes and texts no template should pass. Results go
// to standard error; standard output holds only the produced text, which
// must still pack back to the bytes the library counted.
// Input: the 16 bytes 10 11 ... 1F.
var f = new ActiveXObject("Velda.File");

function probe(name, call) {
    try {
        var v = call();
        f.Message(name + " = " + typeof v + " " + v + " at " + f.GetOffset());
    } catch (e) {
        f.Message(name + " fails " + (e.number >>> 0).toString(16) + " at " + f.GetOffset());
    }
}

probe("Indent=2147483647", function () { f.Indent = 2147483647; return f.Indent; });
probe("PutByte", function () { return f.PutByte(); });
probe("Indent=-2147483648", function () { f.Indent = -2147483648; return f.Indent; });
probe("Indent=NaN", function () { f.Indent = NaN; return f.Indent; });
probe("PutBytes(-1)", function () { return f.PutBytes(-1); });
probe("PutString(-2147483648)", function () { return f.PutString(-2147483648); });
probe("PutWords(NaN)", function () { return f.PutWords(NaN); });
probe("PutDWords(Infinity)", function () { return f.PutDWords(Infinity); });
probe("PutBytes(0)", function () { return f.PutBytes(0); });
// Texts end at their first zero byte: no zero byte reaches the text.
// A number that is no number is still a text.
probe("Print(NaN)", function () { return f.Print(NaN); });
probe("Print(-Infinity)", function () { return f.Print(-Infinity); });
probe("Print(NUL)", function () { return f.Print("a\u0000b"); });
probe("PrintIndex(NUL)", function () { return f.PrintIndex("c\u0000d"); });
probe("PutFormat(NUL)", function () { return f.PutFormat("<e>\u0000%B"); });
probe("PutFormat(%B NUL)", function () { return f.PutFormat("%B <f>\u0000 %Q"); });
probe("Print(long)", function () { return f.Print(new Array(20001).join("\u3042")); });
probe("PutFormat(%9999999999W)", function () { return f.PutFormat("%9999999999W"); });
// The error report has dumped the rest; output after it adds no bytes.
probe("PutAll", function () { return f.PutAll(); });
probe("PutAll again", function () { return f.PutAll(); });
probe("PutBytes(2147483647)", function () { return f.PutBytes(2147483647); });
probe("PutQWord", function () { return f.PutQWord(); });
probe("PutFormat(%B)", function () { return f.PutFormat("%B"); });
probe("Print", function () { return f.Print("after"); });
probe("Abort(NUL)", function () { return f.Abort("g\u0000h"); });
probe("Assert(0,object)", function () { return f.Assert(0, f); });
probe("Eof", function () { return f.Eof(); });
