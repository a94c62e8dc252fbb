#include <gtest/gtest.h>

#include "tools/prmconv/ConvOptions.h"

namespace {

struct Parsed {
    bool ok;
    ConvOptions options;
    std::string error;
};

Parsed Parse(std::vector<std::string> args) {
    Parsed p;
    p.ok = ParseConvOptions(args, &p.options, &p.error);
    return p;
}

TEST(ConvOptions, DumpDefaultsMatchTheEditor) {
    Parsed p = Parse({"dump"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.command, ConvOptions::Command::Dump);
    EXPECT_EQ(p.options.layout.groupSize, 1);
    EXPECT_EQ(p.options.layout.byteOrder, 0u);
    EXPECT_EQ(p.options.layout.bytesPerLine, 16u);
    EXPECT_EQ(p.options.layout.separatorCode, 0u);
    EXPECT_EQ(p.options.input, "-");
    EXPECT_EQ(p.options.output, "-");
}

TEST(ConvOptions, ShortLongAndEqualsFormsAndFileNames) {
    Parsed p = Parse({"dump", "-g", "4", "--endian=big", "--width", "64", "-s", "comma", "in.bin", "out.txt"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.layout.groupSize, 4);
    EXPECT_EQ(p.options.layout.byteOrder, 1u);
    EXPECT_EQ(p.options.layout.bytesPerLine, 64u);
    EXPECT_EQ(p.options.layout.separatorCode, 2u);
    EXPECT_EQ(p.options.input, "in.bin");
    EXPECT_EQ(p.options.output, "out.txt");
}

TEST(ConvOptions, BadValuesAreNamed) {
    struct Case {
        std::vector<std::string> args;
        const char* named;
    } cases[] = {
        {{"dump", "-g", "3"}, "-g"},
        {{"dump", "--width", "3"}, "--width"},
        {{"dump", "--width", "65"}, "--width"},
        {{"dump", "-w", "16x"}, "-w"},
        {{"dump", "-s", "semicolon"}, "-s"},
        {{"pack", "-e", "middle"}, "-e"},
        {{"pack", "-g", "2"}, "-g"},  // grouping means nothing when packing
        {{"dump", "-w"}, "-w"},
        {{"crc", "a", "b"}, "b"},
        {{"unpack"}, "unpack"},
        {{}, "command"},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.args);
        EXPECT_FALSE(p.ok) << c.named;
        EXPECT_NE(p.error.find(c.named), std::string::npos) << p.error;
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << "one line: " << p.error;
    }
}

TEST(ConvOptions, HelpAnywhere) {
    EXPECT_EQ(Parse({"--help"}).options.command, ConvOptions::Command::Help);
    EXPECT_EQ(Parse({"pack", "--help"}).options.command, ConvOptions::Command::Help);
}

}  // namespace

TEST(ConvOptions, TemplateCommandsTakeTheirNames) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        std::string templatePath, input, output;
        int groupSize;
    } cases[] = {
        {{"apply", "t.js", "a.bmp"}, true, "t.js", "a.bmp", "-", 1},
        {{"apply", "-g", "2", "t.js", "a.bmp", "a.txt"}, true, "t.js", "a.bmp", "a.txt", 2},
        {{"verify", "t.vbs", "a.wav"}, true, "t.vbs", "a.wav", "-", 1},
        {{"templates", "a.bmp"}, true, "", "a.bmp", "-", 1},
        {{"apply", "t.js"}, false, "", "", "", 0},
        {{"verify", "t.js", "a", "b"}, false, "", "", "", 0},
        {{"templates"}, false, "", "", "", 0},
        {{"templates", "a", "b"}, false, "", "", "", 0},
        {{"templates", "-g", "2", "a"}, false, "", "", "", 0},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.args);
        SCOPED_TRACE(c.args[0] + " with " + std::to_string(c.args.size()) + " words");
        EXPECT_EQ(p.ok, c.ok) << p.error;
        if (!c.ok || !p.ok) continue;
        EXPECT_EQ(p.options.templatePath, c.templatePath);
        EXPECT_EQ(p.options.input, c.input);
        EXPECT_EQ(p.options.output, c.output);
        EXPECT_EQ(p.options.layout.groupSize, c.groupSize);
    }
}
