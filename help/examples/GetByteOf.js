// JScript は引数で値を受け取れないので、GetByteOf、GetWordOf、GetDWordOf、
// GetQWordOf を呼んでも変数は変わりません。同じ値を GetBytes などの配列や
// GetDWord などで読みます。
var f = new ActiveXObject("Velda.File");
f.TemplateName = "連続した値";
f.TemplateExtend = ".bin";
f.Regist();

f.Endian = false;
var b = new VBArray(f.GetBytes(3)).toArray();
f.Print("バイト " + b[0] + ", " + b[1] + ", " + b[2]);
var w = new VBArray(f.GetWords(2)).toArray();
f.Print("ワード " + w[0] + ", " + w[1]);
f.Print("ダブルワード " + f.GetDWord(0) + " クワッドワード " + f.GetQWord(0));
f.PutAll();
