// Creates no File object and writes nothing.
var nothing = 0;
