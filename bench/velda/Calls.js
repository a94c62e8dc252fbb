// Benchmark: the cost of one late-bound call of a trivial member.
var f = new ActiveXObject("Velda.File");
var calls = 200000;
var start = new Date().getTime();
for (var i = 0; i < calls; i++) f.GetOffset();
var ms = new Date().getTime() - start;
var loopStart = new Date().getTime();
var x = 0;
for (var j = 0; j < calls; j++) x += j;
var loopMs = new Date().getTime() - loopStart;
f.Message("GetOffset " + calls + " calls " + ms + " ms (empty loop " + loopMs + " ms)");
