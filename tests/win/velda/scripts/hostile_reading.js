// Reading members given sizes, counts and offsets no template should pass:
// each call's result (or the error it raises) goes to standard error as one
// line, so that standard output holds nothing but what the library wrote.
// Input: the 16 bytes 10 11 ... 1F.
var f = new ActiveXObject("Velda.File");

// Arrays are counted where they are received: Wine's JScript cannot keep
// one in a variable.
function describe(v) {
    return typeof v + " " + v;
}
function probe(name, call) {
    try {
        f.Message(name + " = " + describe(call()) + " at " + f.GetOffset());
    } catch (e) {
        f.Message(name + " fails " + (e.number >>> 0).toString(16) + " at " + f.GetOffset());
    }
}

// Moves that leave the file change nothing.
probe("Seek(-1,0)", function () { return f.Seek(-1, 0); });
probe("Seek(17,0)", function () { return f.Seek(17, 0); });
probe("Seek(NaN,1)", function () { return f.Seek(NaN, 1); });
probe("Seek(Infinity,0)", function () { return f.Seek(Infinity, 0); });
probe("Seek(-Infinity,2)", function () { return f.Seek(-Infinity, 2); });
probe("Seek(1e300,0)", function () { return f.Seek(1e300, 0); });
probe("Seek(4,-7)", function () { return f.Seek(4, -7); });
// Arguments the dispatcher cannot make a 32-bit number of.
probe("GetByte(NaN)", function () { return f.GetByte(NaN); });
probe("GetByte(Infinity)", function () { return f.GetByte(Infinity); });
probe("GetByte(4294967296)", function () { return f.GetByte(4294967296); });
probe("GetString(NaN,0)", function () { return f.GetString(NaN, 0); });
probe("GetBytes(-Infinity)", function () { return new VBArray(f.GetBytes(-Infinity)).toArray().length; });
// Negative sizes and counts are refused without a report.
probe("GetString(-1,0)", function () { return f.GetString(-1, 0); });
probe("GetString(-2147483648,0)", function () { return f.GetString(-2147483648, 0); });
probe("GetBytes(-1)", function () { return new VBArray(f.GetBytes(-1)).toArray().length; });
probe("GetQWords(-2147483648)", function () { return new VBArray(f.GetQWords(-2147483648)).toArray().length; });
probe("GetFormat()", function () { return new VBArray(f.GetFormat("")).toArray().length; });
probe("GetFormat(text only)", function () { return new VBArray(f.GetFormat("abc")).toArray().length; });
probe("GetFormat(NUL)", function () { return new VBArray(f.GetFormat("\u0000%B")).toArray().length; });
probe("GetFormat(%B NUL %Q)", function () { return new VBArray(f.GetFormat("%B\u0000%8Q")).toArray().length; });
// Searches and checksums past the end find nothing.
probe("FindByte(-1)", function () { return f.FindByte(-1); });
probe("FindDWord(NaN)", function () { return f.FindDWord(NaN); });
probe("FindQWord(Infinity)", function () { return f.FindQWord(Infinity); });
probe("CalcCrc32(12,1,0,1)", function () { return f.CalcCrc32(12, 1, 0, 1); });
probe("CalcCrc32(0,4294967295,0,0)", function () { return f.CalcCrc32(0, 4294967295, 0, 0); });
probe("CalcCrc32(NaN)", function () { return f.CalcCrc32(NaN, 1, 0, 0); });
probe("CalcCrc32(-2147483648,1,0,1)", function () { return f.CalcCrc32(-2147483648, 1, 0, 1); });
probe("GetByte(11)", function () { return f.GetByte(11); });
// Reads that would leave the file end the run with the error report (the
// rest of the file dumped); later ones add a report of their own.
probe("GetByte(12)", function () { return f.GetByte(12); });
probe("GetByte(-2147483648)", function () { return f.GetByte(-2147483648); });
probe("GetQWord(2147483647)", function () { return f.GetQWord(2147483647); });
probe("GetString(2147483647,0)", function () { return f.GetString(2147483647, 0); });
probe("GetBytes(2147483647)", function () { return new VBArray(f.GetBytes(2147483647)).toArray().length; });
probe("GetQWordOf", function () { return f.GetQWordOf(0); });
probe("GetFormat(%4294967295Q)", function () { return new VBArray(f.GetFormat("%4294967295Q")).toArray().length; });
probe("GetFormat(%0B)", function () { return new VBArray(f.GetFormat("%0B")).toArray().length; });
probe("GetFormat(%)", function () { return new VBArray(f.GetFormat("%")).toArray().length; });
probe("Eof", function () { return f.Eof(); });
