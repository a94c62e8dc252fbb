// Emits the first 512 bytes, then keeps running for two minutes (the host
// here has no Sleep, so it watches the clock).
var f = new ActiveXObject("Velda.File");
f.PutBytes(512);
var end = new Date().getTime() + 120000;
while (new Date().getTime() < end) {
}
