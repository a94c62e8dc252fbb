// GetBytes(n) などは読み出し位置から n 個の値を配列で返します。
// JScript では VBArray で JScript の配列に直してから使います。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "配列の読み出し";
f.TemplateExtend = ".bin";
f.Regist();

f.Endian = true;
var bytes = new VBArray(f.GetBytes(4)).toArray();
f.Print("バイト " + bytes.join(" "));
var words = new VBArray(f.GetWords(2)).toArray();
f.Print("ワード " + words.join(" "));
var dwords = new VBArray(f.GetDWords(1)).toArray();
f.Print("ダブルワード " + dwords[0]);
f.Print("クワッドワード " + new VBArray(f.GetQWords(0)).toArray().length + " 個");
f.PutDWords(1);
