// The template list's file format and look-ups: what a line reads as, what
// a scanned template writes, which templates a file gets, and the open
// dialog's filter texts at their size limit.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "MemoryListFile.h"
#include "templates/core/ListFileReader.h"
#include "templates/core/ListFileText.h"
#include "templates/core/TemplateListFormat.h"

using namespace template_list;
using template_list_test::MemoryListFile;
using Texts = std::vector<std::string>;

namespace {

// "表" in code page 932: its second byte is a backslash.
const std::string kHyo = "\x95\x5c";

Texts ReadLines(const std::string& bytes) {
    MemoryListFile file(bytes);
    Texts lines;
    std::string line;
    while (ReadListLine(file, line)) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(TemplatePaths, AbsoluteExtensionAndKey) {
    struct Case {
        std::string path;
        bool absolute;
        bool isTemplate;
        std::string key;
    } cases[] = {
        {"sub\\bmp.js", false, true, "JS"},
        {"C:\\t\\Wave.VBS", true, true, "VBS"},
        {"\\\\server\\share\\x.Ps1", true, true, "PS1"},
        {"a\\\\b.js", true, true, "JS"},
        {kHyo + "\\x.js", false, true, "JS"},  // a trail byte is no backslash
        {"dir.js\\readme", false, false, ""},  // the period is in the folder
        {"x.jsx", false, false, "JSX"},
        {"x.", false, false, ""},
        {"x.b" + kHyo + "mp", false, false, "B" + kHyo + "MP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsAbsoluteTemplatePath(c.path), c.absolute);
        EXPECT_EQ(HasTemplateExtension(c.path), c.isTemplate);
        EXPECT_EQ(FileExtensionKey(c.path), c.key);
    }
    std::string full;
    EXPECT_TRUE(ResolveTemplatePath("C:\\lib\\", "sub\\a.js", full));
    EXPECT_EQ(full, "C:\\lib\\sub\\a.js");
    EXPECT_TRUE(ResolveTemplatePath("C:\\lib\\", "D:\\a.js", full));
    EXPECT_EQ(full, "D:\\a.js");
    const std::string folder = "C:\\" + std::string(250, 'f') + "\\";
    EXPECT_TRUE(ResolveTemplatePath(folder, "ab.js", full));  // 259 bytes
    EXPECT_FALSE(ResolveTemplatePath(folder, "abc.js", full));
    EXPECT_EQ(full, "");
}

TEST(ScannedTemplate, DeclarationsBecomeEntries) {
    struct Case {
        long exitCode;
        std::string declared;
        Texts entries;
    } cases[] = {
        {0, ".bmp.dib", {"BMP=sub\\b.js", "DIB=sub\\b.js"}},
        {0, ".bmp..wav.", {"BMP=sub\\b.js", "WAV=sub\\b.js"}},
        {0, "Raw. b " + kHyo + "x", {"RAW=sub\\b.js", " B " + kHyo + "X=sub\\b.js"}},
        {0, ".b=x.wav.a\r\nb", {"WAV=sub\\b.js"}},
        {0, ".a|b.c;d.e*.f?.png", {"PNG=sub\\b.js"}},
        // "ポ" ends in the byte of "|": a double-byte character is kept.
        {0, ".\x83\x7C.x", {"\x83\x7C=sub\\b.js", "X=sub\\b.js"}},
        {0, "", {"# ?=sub\\b.js"}},
        {0, "...", {"# ?=sub\\b.js"}},
        {1, ".bmp", {"# ?=sub\\b.js"}},
        {-1, ".bmp", {"# ?=sub\\b.js"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.declared);
        Texts list{"OLD=x.js"};
        AppendScannedTemplate("sub\\b.js", c.exitCode, c.declared, list);
        Texts expected{"OLD=x.js"};
        expected.insert(expected.end(), c.entries.begin(), c.entries.end());
        EXPECT_EQ(list, expected);
    }
    Texts pieces;
    EXPECT_EQ(SplitExtensions(". a..b .", pieces), 2u);
    EXPECT_EQ(pieces, (Texts{" a", "b "}));
}

TEST(ListLines, ReadAcrossChunksAndLineEnds) {
    const std::string l257(257, 'k');
    const std::string l258(258, 'k');
    struct Case {
        const char* name;
        std::string bytes;
        Texts lines;
    } cases[] = {
        {"empty", "", {}},
        {"crlf", "A=a.js\r\n\r\nB=b.js\r\n", {"A=a.js", "", "B=b.js"}},
        {"lf only, last without lf", "A=a.js\nB=b.js", {"A=a.js", "B=b.js"}},
        {"one cr removed", "a\r\r\nb\r", {"a\r", "b"}},
        {"lone cr is no line end", "a\rb\n", {"a\rb"}},
        {"chunk edges", std::string(49, 'x') + "\n" + std::string(50, 'y') + "\n" + std::string(51, 'z'),
         {std::string(49, 'x'), std::string(50, 'y'), std::string(51, 'z')}},
        {"259 bytes with crlf", l257 + "\r\nnext\r\n", {l257, "next"}},
        {"260 bytes with crlf skipped", l258 + "\r\nnext\r\n", {"next"}},
        {"259 bytes with lf", l258 + "\nnext", {l258, "next"}},
        {"259 bytes at the end", "a\n" + l258 + "k", {"a", l258 + "k"}},
        {"260 bytes at the end skipped", "a\n" + l258 + "kk", {"a"}},
        {"long line skipped whole", "a\n" + std::string(10000, '=') + "\r\nB=b.js\n", {"a", "B=b.js"}},
        {"zero byte ends the text", std::string("A=a.js\0junk\r\nB\n", 15), {"A=a.js", "B"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadLines(c.bytes), c.lines);
    }
}

TEST(TemplateLookup, FileExtensionAgainstKeysInListOrder) {
    const Texts list{"BMP=a.js", "bmp=lower.js", "WAV=w.vbs", "BMP=sub\\d.js", "=empty.js", "B=x=y.js"};
    struct Case {
        std::string file;
        Texts templates;
    } cases[] = {
        {"C:\\pics\\a.bmp", {"a.js", "sub\\d.js"}},
        {"X.Bmp", {"a.js", "sub\\d.js"}},
        {"sound.wav", {"w.vbs"}},
        {"C:\\dir.bmp\\noext", {}},
        {"noext", {}},
        {"trailing.", {}},
        {"a.b", {"x=y.js"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Texts found{"stale"};
        EXPECT_EQ(FindTemplatesForFile(list, c.file, found), c.templates.size());
        EXPECT_EQ(found, c.templates);
    }
}

TEST(OpenFilters, KeysRepeatedAndCutAtTheBufferSize) {
    std::string extensions, patterns;
    BuildOpenFilters({"BMP=a.js", "WAV=b.js", "BMP=c.js"}, extensions, patterns);
    EXPECT_EQ(extensions, "BMP;WAV;BMP");
    EXPECT_EQ(patterns, "*.BMP;*.WAV;*.BMP");
    BuildOpenFilters({}, extensions, patterns);
    EXPECT_EQ(patterns, "");

    // The first key takes "*." + 100 + ";" = 103 bytes; "*." + 154 more and
    // the terminating zero fill the 260 bytes exactly.
    const std::string k100(100, 'A');
    const std::string k154(154, 'B');
    struct Case {
        const char* name;
        Texts list;
        std::string extensions;
        std::string patterns;
    } cases[] = {
        {"last key fits exactly", {k100 + "=a.js", k154 + "=b.js"}, k100 + ";" + k154,
         "*." + k100 + ";*." + k154},
        {"one byte too many", {k100 + "=a.js", k154 + "B=b.js", "C=c.js"}, k100 + ";", "*." + k100 + ";"},
        {"no room for the separator", {k100 + "=a.js", k154 + "=b.js", "C=c.js"}, k100 + ";" + k154,
         "*." + k100 + ";*." + k154},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildOpenFilters(c.list, extensions, patterns);
        EXPECT_EQ(extensions, c.extensions);
        EXPECT_EQ(patterns, c.patterns);
        EXPECT_LT(patterns.size(), kFilterSize);
    }
}

TEST(ListFile, WrittenBytesAndReadBack) {
    const ListTime when{2024, 3, 5, 7, 8, 9};
    const std::string text = ListFileText(when, {"BMP=sub\\b.js", "# ?=bad.vbs"});
    // The header in code page 932, byte for byte.
    const std::string header =
        "# \x96\x7b\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x81\x43\x83\x65\x83\x93\x83\x76\x83\x8c\x81\x5b"
        "\x83\x67\x82\xc6\x8a\x67\x92\xa3\x8e\x71\x82\xcc\x8a\xd6\x98\x41\x95\x74\x82\xaf\x82\xf0\x92\xe8"
        "\x8b\x60\x82\xb5\x82\xdc\x82\xb7\x81\x42\r\n"
        "# \x83\x74\x83\x40\x83\x43\x83\x8b\x8d\xec\x90\xac\x93\xfa\x81\x46" "2024/03/05 07:08:09\r\n"
        "#\r\n";
    EXPECT_EQ(text, header + "BMP=sub\\b.js\r\n# ?=bad.vbs\r\n");

    // Read back after hand edits: blanks, keys as written, comments, lines
    // without "=", missing templates, paths holding "=".
    const std::set<std::string> existing{"sub\\b.js", "b.vbs", "C:\\abs\\c.js", "a=b.js"};
    MemoryListFile file(text + " \t bmp \t =  \t b.vbs \t \r\n#BMP=b.vbs\nnote b.vbs\nWAV=missing.js\n"
                               "TXT=C:\\abs\\c.js\nA=a=b.js\n=b.vbs");
    Texts list;
    ReadListEntries(file, [&](const std::string& path) { return existing.count(path) != 0; }, list);
    EXPECT_EQ(list, (Texts{"BMP=sub\\b.js", "bmp=b.vbs", "TXT=C:\\abs\\c.js", "A=a=b.js", "=b.vbs"}));
}
