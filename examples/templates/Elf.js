// ELF template (JScript): decodes the ELF header of 32- and 64-bit files in
// either byte order, the program headers and the section headers (with the
// names from the section-name string table), then writes the section data,
// the tables and whatever lies between them as hexadecimal lines in the
// order they appear in the file, so the text always holds every byte.
var f = new ActiveXObject("Velda.File");
f.TemplateName = "ELF 実行形式";
f.TemplateExtend = ".elf.so.o";
f.EditorName = "Tevrin";
f.Comment = "ELF のヘッダ、プログラムヘッダ、セクションヘッダを解析します。";
f.HelpURI = "https://refspecs.linuxfoundation.org/elf/gabi4+/contents.html";
f.Version = 1.0;
f.Regist();

var fileSize = f.Length();

// Thrown after the library's fatal report has dumped the rest of the file:
// nothing more may be written.
var STOPPED = {};
function stop(message) {
    try { f.Assert(false, message); } catch (e) {}
    throw STOPPED;
}

// Reads a unit at an absolute offset without moving the read position.
// The caller has checked that at + size <= fileSize. 8-byte values are put
// together from two double words so that values of 2^48 and more (which the
// library returns as an error variant) still come out as numbers.
function rd(at, size) {
    var here = f.GetOffset();
    f.Seek(at, 0);
    var v;
    if (size == 1) v = f.GetByte(0);
    else if (size == 2) v = f.GetWord(0);
    else if (size == 4) v = f.GetDWord(0);
    else if (f.Endian) v = f.GetDWord(0) * 4294967296 + f.GetDWord(1);
    else v = f.GetDWord(1) * 4294967296 + f.GetDWord(0);
    f.Seek(here, 0);
    return v;
}

function hex(v, digits) {
    var s = v.toString(16).toUpperCase();
    while (s.length < digits) s = "0" + s;
    return s;
}

// Text taken from the file goes into comments: keep printable ASCII only and
// none of the characters that open or close comments, headings or quotes.
function clean(s) {
    s = s.replace(/[^\x20-\x7E]|[<>\[\]"%]/g, "?");
    return s.length > 60 ? s.substring(0, 60) + "..." : s;
}

function value(conversion, name) { f.PutFormat(conversion + " <" + name + ">"); }

function lookup(table, v) {
    var n = table[v];
    return n === undefined ? "不明" : n;
}

var classNames = { 1: "ELFCLASS32", 2: "ELFCLASS64" };
var dataNames = { 1: "ELFDATA2LSB リトルエンディアン", 2: "ELFDATA2MSB ビッグエンディアン" };
var typeNames = { 0: "ET_NONE", 1: "ET_REL 再配置可能", 2: "ET_EXEC 実行可能", 3: "ET_DYN 共有オブジェクト", 4: "ET_CORE コア" };
var machineNames = {
    0: "なし", 2: "SPARC", 3: "x86", 8: "MIPS", 20: "PowerPC", 21: "PowerPC64", 22: "S/390",
    40: "ARM", 43: "SPARC V9", 50: "IA-64", 62: "x86-64", 183: "AArch64", 243: "RISC-V",
    247: "BPF", 258: "LoongArch"
};
var phTypeNames = {
    0: "PT_NULL", 1: "PT_LOAD", 2: "PT_DYNAMIC", 3: "PT_INTERP", 4: "PT_NOTE", 5: "PT_SHLIB",
    6: "PT_PHDR", 7: "PT_TLS", 0x6474E550: "PT_GNU_EH_FRAME", 0x6474E551: "PT_GNU_STACK",
    0x6474E552: "PT_GNU_RELRO", 0x6474E553: "PT_GNU_PROPERTY", 0x70000001: "PT_PROC (unwind)",
    0x70000003: "PT_RISCV_ATTRIBUTES"
};
var shTypeNames = {
    0: "SHT_NULL", 1: "SHT_PROGBITS", 2: "SHT_SYMTAB", 3: "SHT_STRTAB", 4: "SHT_RELA",
    5: "SHT_HASH", 6: "SHT_DYNAMIC", 7: "SHT_NOTE", 8: "SHT_NOBITS", 9: "SHT_REL",
    10: "SHT_SHLIB", 11: "SHT_DYNSYM", 14: "SHT_INIT_ARRAY", 15: "SHT_FINI_ARRAY",
    16: "SHT_PREINIT_ARRAY", 17: "SHT_GROUP", 18: "SHT_SYMTAB_SHNDX", 19: "SHT_RELR",
    0x6FFFFFF5: "SHT_GNU_ATTRIBUTES", 0x6FFFFFF6: "SHT_GNU_HASH", 0x6FFFFFF7: "SHT_GNU_LIBLIST",
    0x6FFFFFFD: "SHT_GNU_verdef", 0x6FFFFFFE: "SHT_GNU_verneed", 0x6FFFFFFF: "SHT_GNU_versym",
    0x70000001: "SHT_PROC (unwind)", 0x70000003: "SHT_PROC (attributes)"
};

function phFlags(v) {
    return ((v & 4) ? "R" : "-") + ((v & 2) ? "W" : "-") + ((v & 1) ? "X" : "-");
}

function shFlags(v) {
    var names = [[1, "WRITE"], [2, "ALLOC"], [4, "EXECINSTR"], [0x10, "MERGE"], [0x20, "STRINGS"],
                 [0x40, "INFO_LINK"], [0x80, "LINK_ORDER"], [0x200, "GROUP"], [0x400, "TLS"],
                 [0x800, "COMPRESSED"]];
    var out = [];
    for (var i = 0; i < names.length; i++) if (v & names[i][0]) out.push(names[i][1]);
    return out.length ? out.join(" ") : "なし";
}

function main() {
    var isElf = fileSize >= 16 && f.GetByte(0) == 0x7F && f.GetString(3, 1) == "ELF";
    var elfClass = isElf ? f.GetByte(4) : 0;
    var elfData = isElf ? f.GetByte(5) : 0;
    var is64 = elfClass == 2;
    var headerSize = is64 ? 64 : 52;
    if (!isElf || (elfClass != 1 && elfClass != 2) || (elfData != 1 && elfData != 2)
        || fileSize < headerSize) {
        f.Print(isElf ? "対応していない ELF 識別子、またはヘッダが途中で切れています"
                      : "ELF ファイルではありません");
        return;
    }
    f.Endian = elfData == 2;
    var A = is64 ? 8 : 4;            // size of an address or file offset
    var addr = is64 ? "%Q" : "%D";

    // Header fields needed to lay out the rest.
    var phoff = rd(is64 ? 32 : 28, A);
    var shoff = rd(is64 ? 40 : 32, A);
    var ehsize = rd(is64 ? 52 : 40, 2);
    var phentsize = rd(is64 ? 54 : 42, 2);
    var phnum = rd(is64 ? 56 : 44, 2);
    var shentsize = rd(is64 ? 58 : 46, 2);
    var shnum = rd(is64 ? 60 : 48, 2);
    var shstrndx = rd(is64 ? 62 : 50, 2);
    var phSize = is64 ? 56 : 32;     // bytes of one header that are decoded
    var shSize = is64 ? 64 : 40;

    // Section 0 carries the real counts when they do not fit in the header.
    var shTableOk = shoff > 0 && shentsize >= shSize && shoff + shSize <= fileSize;
    if (shTableOk && shnum == 0) shnum = rd(shoff + (is64 ? 32 : 20), A);
    if (shTableOk && shstrndx == 0xFFFF) shstrndx = rd(shoff + (is64 ? 40 : 24), 4);
    if (shTableOk && phnum == 0xFFFF) phnum = rd(shoff + (is64 ? 44 : 28), 4);

    f.PrintIndex("ELF ヘッダ");
    f.Indent = 1;
    f.Print("e_ident 識別子");
    f.Indent = 2;
    value("%B %3C", "EI_MAG マジック番号");
    value("%B", "EI_CLASS " + classNames[elfClass]);
    value("%B", "EI_DATA " + dataNames[elfData]);
    value("%B", "EI_VERSION");
    value("%B", "EI_OSABI");
    value("%B", "EI_ABIVERSION");
    value("%7B", "EI_PAD");
    f.Indent = 1;
    value("%W", "e_type " + lookup(typeNames, rd(16, 2)));
    value("%W", "e_machine " + lookup(machineNames, rd(18, 2)));
    value("%D", "e_version");
    value(addr, "e_entry エントリポイント");
    value(addr, "e_phoff プログラムヘッダの位置");
    value(addr, "e_shoff セクションヘッダの位置");
    value("%D", "e_flags");
    value("%W", "e_ehsize ELF ヘッダのサイズ");
    value("%W", "e_phentsize プログラムヘッダ 1 個のサイズ");
    value("%W", "e_phnum プログラムヘッダの数");
    value("%W", "e_shentsize セクションヘッダ 1 個のサイズ");
    value("%W", "e_shnum セクションヘッダの数");
    value("%W", "e_shstrndx セクション名テーブルの番号");
    if (ehsize > headerSize && ehsize <= fileSize) {
        f.Print("ヘッダの拡張部分");
        f.PutBytes(ehsize - headerSize);
    }
    f.Indent = 0;

    // The parts of the file that are described, to be written in file order.
    var regions = [];
    if (phnum > 0 && phentsize >= phSize && phoff > 0)
        regions.push({ off: phoff, size: phnum * phentsize, kind: "ph" });
    if (shnum > 0 && shentsize >= shSize && shoff > 0)
        regions.push({ off: shoff, size: shnum * shentsize, kind: "sh" });

    // Section names and data, read from the section header table when the
    // whole table lies inside the file.
    var sections = [];
    if (shnum > 0 && shentsize >= shSize && shoff > 0 && shoff + shnum * shentsize <= fileSize) {
        for (var i = 0; i < shnum; i++) {
            var at = shoff + i * shentsize;
            sections.push({
                name: rd(at, 4), type: rd(at + 4, 4),
                offset: rd(at + (is64 ? 24 : 16), A), size: rd(at + (is64 ? 32 : 20), A)
            });
        }
        var strtab = shstrndx < shnum ? sections[shstrndx] : null;
        for (var i = 0; i < shnum; i++) {
            var s = sections[i];
            s.label = "";
            if (strtab && strtab.type != 8 && s.name < strtab.size
                && strtab.offset + s.name < fileSize) {
                var at = strtab.offset + s.name;
                var here = f.GetOffset();
                f.Seek(at, 0);
                s.label = clean(f.GetString(Math.min(64, fileSize - at), 0));
                f.Seek(here, 0);
            }
            if (i > 0 && s.type != 8 && s.type != 0 && s.size > 0)
                regions.push({ off: s.offset, size: s.size, kind: "data", index: i });
        }
    }

    // Stable order by offset (the index keeps equal offsets in table order).
    for (var i = 0; i < regions.length; i++) regions[i].seq = i;
    regions.sort(function (a, b) { return a.off != b.off ? a.off - b.off : a.seq - b.seq; });

    for (var r = 0; r < regions.length; r++) {
        var g = regions[r];
        var pos = f.GetOffset();
        var end = g.off + g.size;
        if (end <= pos) continue;          // wholly inside what is already written
        if (g.off > pos) {
            var gap = Math.min(g.off, fileSize) - pos;
            if (gap > 0) {
                f.PrintIndex("空き領域 (" + gap + " バイト)");
                f.Indent = 1;
                f.PutBytes(gap);
                f.Indent = 0;
            }
            pos = f.GetOffset();
        }
        if (end > fileSize) {
            stop(g.kind == "data" ? "セクション " + g.index + " がファイルの終端を越えています"
                                  : "ヘッダテーブルがファイルの終端を越えています");
        }
        if (g.off < pos) {
            // Overlaps what came before: only the part after it is written.
            f.PrintIndex("重なった領域の残り (" + (end - pos) + " バイト)");
            f.Indent = 1;
            f.PutBytes(end - pos);
            f.Indent = 0;
        } else if (g.kind == "ph") {
            programHeaders(phnum, phentsize, phSize, is64, addr);
        } else if (g.kind == "sh") {
            sectionHeaders(sections, shnum, shentsize, shSize, is64, addr);
        } else {
            var s = sections[g.index];
            f.PrintIndex("セクション " + g.index + " " + s.label + " のデータ (" + g.size + " バイト)");
            f.Indent = 1;
            f.PutBytes(g.size);
            f.Indent = 0;
        }
    }
}

function programHeaders(count, entSize, decoded, is64, addr) {
    f.PrintIndex("プログラムヘッダ (" + count + " 個)");
    for (var i = 0; i < count; i++) {
        var type = f.GetDWord(0);
        var flags = is64 ? f.GetDWord(1) : f.GetDWord(6);
        f.Indent = 1;
        f.Print("プログラムヘッダ " + i + " " + lookup(phTypeNames, type) + " " + phFlags(flags));
        f.Indent = 2;
        value("%D", "p_type 種類");
        if (is64) value("%D", "p_flags 属性 " + phFlags(flags));
        value(addr, "p_offset ファイル上の位置");
        value(addr, "p_vaddr 仮想アドレス");
        value(addr, "p_paddr 物理アドレス");
        value(addr, "p_filesz ファイル上のサイズ");
        value(addr, "p_memsz メモリ上のサイズ");
        if (!is64) value("%D", "p_flags 属性 " + phFlags(flags));
        value(addr, "p_align 境界");
        if (entSize > decoded) f.PutBytes(entSize - decoded);
    }
    f.Indent = 0;
}

function sectionHeaders(sections, count, entSize, decoded, is64, addr) {
    f.PrintIndex("セクションヘッダ (" + count + " 個)");
    for (var i = 0; i < count; i++) {
        var s = sections[i];
        // The low 32 bits of sh_flags, which hold every flag shown.
        var flags = f.GetDWord(is64 && f.Endian ? 3 : 2);
        f.Indent = 1;
        f.Print("セクション " + i + " " + s.label + " " + lookup(shTypeNames, s.type));
        f.Indent = 2;
        value("%D", "sh_name 名前の位置");
        value("%D", "sh_type 種類");
        value(addr, "sh_flags 属性 " + shFlags(flags));
        value(addr, "sh_addr アドレス");
        value(addr, "sh_offset ファイル上の位置");
        value(addr, "sh_size サイズ");
        value("%D", "sh_link");
        value("%D", "sh_info");
        value(addr, "sh_addralign 境界");
        value(addr, "sh_entsize 要素のサイズ");
        if (entSize > decoded) f.PutBytes(entSize - decoded);
    }
    f.Indent = 0;
}

try {
    main();
    if (f.GetOffset() < fileSize) {
        f.PrintIndex("残りのデータ");
        f.PutAll();
    }
} catch (e) {
    // E_ABORT comes from a report the library has already written. Any
    // other error is a fault of this template: report it so the rest of the
    // file is still written into the text.
    if (e !== STOPPED && e.number != -2147467260) {
        try { f.Abort("テンプレートの誤り: " + e.message); } catch (e2) {}
    }
}
