// Templates that pass the library what no template should: negative and
// huge sizes and counts, offsets past the end, NaN and infinite numbers,
// texts with zero bytes, over-long declaration texts, values of the wrong
// type, unbounded recursion and output after the error report. One script
// host per group of members. Every call must come back with a defined
// result (a value, an error the script can catch, the error report), the
// host must live to the script's last line, and the text produced so far
// must pack back to exactly the bytes the library counted.
#include <gtest/gtest.h>

#include <string>

#include "ScriptTestSupport.h"
#include "session/Crc32.h"

namespace {

// 10 11 12 ... 1F
std::string Input() {
    std::string bytes;
    for (int b = 0x10; b < 0x20; ++b) bytes += static_cast<char>(b);
    return bytes;
}

session::SessionBlock Block() { return MakeRunBlock(1, false, 16, 0, "hostile.bin"); }

std::uint32_t CrcOf(const std::string& bytes) {
    return session::Crc32Update(0, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// The script ran to its end (its last line says so, or the expected text is
// complete) and what it wrote packs back to the counted bytes.
void ExpectPacksBack(const ScriptResult& run, const std::string& emitted) {
    EXPECT_EQ(emitted.size(), run.block.outputBytes);
    EXPECT_EQ(CrcOf(emitted), run.block.outputCrc);
    EXPECT_EQ(CrcOf(emitted), PackedCrc(run.output, false)) << run.output;
    EXPECT_EQ(emitted, PackText(run.output, false));
}

const char kEnd[] = "予期しないファイルの終端です。\r\n";
const std::string kBanner = "[ テンプレート適用にて異常を検出しました。 ]\n\n";

}  // namespace

TEST(HostileReading, SizesCountsOffsetsAndNumbersThatAreNone) {
    const ScriptResult run = RunWithBlock(TestScript("hostile_reading.js"), Block(), Input());
    ASSERT_TRUE(run.started) << run.failure;
    ASSERT_FALSE(run.timedOut);
    const std::string end = std::string("ファイルオフセット10H：") + kEnd;
    const std::string expected =
        // Moves that cannot be had leave the position alone.
        "Seek(-1,0) = undefined undefined at 0\r\n"
        "Seek(17,0) = undefined undefined at 0\r\n"
        "Seek(NaN,1) = undefined undefined at 0\r\n"
        "Seek(Infinity,0) = undefined undefined at 0\r\n"
        "Seek(-Infinity,2) = undefined undefined at 0\r\n"
        "Seek(1e300,0) = undefined undefined at 0\r\n"
        "Seek(4,-7) = undefined undefined at 4\r\n"
        // NaN, the infinities and numbers beyond 32 bits: DISP_E_OVERFLOW.
        "GetByte(NaN) fails 8002000a at 4\r\n"
        "GetByte(Infinity) fails 8002000a at 4\r\n"
        "GetByte(4294967296) fails 8002000a at 4\r\n"
        "GetString(NaN,0) fails 8002000a at 4\r\n"
        "GetBytes(-Infinity) fails 8002000a at 4\r\n"
        // Negative sizes and counts, empty formats: E_INVALIDARG, no report.
        "GetString(-1,0) fails 80070057 at 4\r\n"
        "GetString(-2147483648,0) fails 80070057 at 4\r\n"
        "GetBytes(-1) fails 80070057 at 4\r\n"
        "GetQWords(-2147483648) fails 80070057 at 4\r\n"
        "GetFormat() fails 80070057 at 4\r\n"
        "GetFormat(text only) fails 80070057 at 4\r\n"
        "GetFormat(NUL) fails 80070057 at 4\r\n"
        // A format ends at its first zero byte.
        "GetFormat(%B NUL %Q) = number 1 at 4\r\n"
        "FindByte(-1) = number -1 at 4\r\n"
        "FindDWord(NaN) fails 8002000a at 4\r\n"
        "FindQWord(Infinity) fails 8002000a at 4\r\n"
        // A checksum over bytes the file does not have is FFFFFFFF.
        "CalcCrc32(12,1,0,1) = number 4294967295 at 4\r\n"
        "CalcCrc32(0,4294967295,0,0) = number 4294967295 at 4\r\n"
        "CalcCrc32(NaN) fails 8002000a at 4\r\n"
        "CalcCrc32(-2147483648,1,0,1) = number 3190512472 at 4\r\n"
        "GetByte(11) = number 31 at 4\r\n"
        // The first read past the end reports where it stood and dumps the
        // rest; every later one reports again at the end.
        "ファイルオフセット4H：" + std::string(kEnd) + "GetByte(12) fails 80004004 at 16\r\n" +
        end + "GetByte(-2147483648) fails 80004004 at 16\r\n" +
        end + "GetQWord(2147483647) fails 80004004 at 16\r\n" +
        end + "GetString(2147483647,0) fails 80004004 at 16\r\n" +
        end + "GetBytes(2147483647) fails 80004004 at 16\r\n" +
        end + "GetQWordOf fails 80004004 at 16\r\n" +
        end + "GetFormat(%4294967295Q) fails 80004004 at 16\r\n" +
        end + "GetFormat(%0B) fails 80004004 at 16\r\n" +
        "ファイルオフセット10H：書式に誤りがあります。\r\nGetFormat(%) fails 80004004 at 16\r\n"
        "Eof = boolean true at 16\r\n";
    EXPECT_EQ(expected, run.errors);
    EXPECT_EQ(-100, run.block.status);
    EXPECT_EQ(16, run.block.errorOffset);
    ExpectPacksBack(run, Input().substr(4));
}

TEST(HostileOutput, SizesTextsAndOutputAfterTheErrorReport) {
    const ScriptResult run = RunWithBlock(TestScript("hostile_output.js"), Block(), Input());
    ASSERT_TRUE(run.started) << run.failure;
    ASSERT_FALSE(run.timedOut);
    const std::string end = std::string("ファイルオフセット10H：") + kEnd;
    const std::string expected =
        "Indent=2147483647 = number 2147483647 at 0\r\n"
        "PutByte = number 16 at 1\r\n"
        "Indent=-2147483648 = number -2147483648 at 1\r\n"
        "Indent=NaN fails 8002000a at 1\r\n"
        "PutBytes(-1) fails 80070057 at 1\r\n"
        "PutString(-2147483648) fails 80070057 at 1\r\n"
        "PutWords(NaN) fails 8002000a at 1\r\n"
        "PutDWords(Infinity) fails 8002000a at 1\r\n"
        "PutBytes(0) = undefined undefined at 1\r\n"
        // A text parameter takes such a number as its text.
        "Print(NaN) = undefined undefined at 1\r\n"
        "Print(-Infinity) = undefined undefined at 1\r\n"
        "Print(NUL) = undefined undefined at 1\r\n"
        "PrintIndex(NUL) = undefined undefined at 1\r\n"
        "PutFormat(NUL) = undefined undefined at 1\r\n"
        "PutFormat(%B NUL) = undefined undefined at 2\r\n"
        "Print(long) = undefined undefined at 2\r\n"
        "ファイルオフセット2H：" + std::string(kEnd) + "PutFormat(%9999999999W) fails 80004004 at 16\r\n"
        "PutAll = undefined undefined at 16\r\n"
        "PutAll again = undefined undefined at 16\r\n" +
        end + "PutBytes(2147483647) fails 80004004 at 16\r\n" +
        end + "PutQWord fails 80004004 at 16\r\n" +
        end + "PutFormat(%B) fails 80004004 at 16\r\n" +
        "Print = undefined undefined at 16\r\n"
        "ファイルオフセット10H：g\r\nAbort(NUL) fails 80004004 at 16\r\n"
        "ファイルオフセット10H：アサーションの異常検出\r\nAssert(0,object) fails 80004004 at 16\r\n"
        "Eof = boolean true at 16\r\n";
    EXPECT_EQ(expected, run.errors);
    EXPECT_EQ(-100, run.block.status);

    // A huge indent writes the most tabs a line record keeps, not billions.
    EXPECT_EQ(0u, run.output.find(std::string(255, '\t') + "10\n")) << run.output.substr(0, 300);
    // Texts end at their first zero byte; no zero byte reaches the text.
    EXPECT_EQ(std::string::npos, run.output.find('\0'));
    EXPECT_NE(std::string::npos, run.output.find("< a >\r\n[ 1.c ]\r\n<e>11 <f>\n"));
    // Output after the report adds text but no bytes.
    EXPECT_NE(std::string::npos, run.output.find(kBanner + "12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F\n" + kBanner));
    EXPECT_NE(std::string::npos, run.output.find("< after >\r\n" + kBanner));
    ExpectPacksBack(run, Input());
}

TEST(HostileDeclaration, OverlongTextsZeroBytesAndValuesOfTheWrongType) {
    const ScriptResult run = RunWithBlock(TestScript("hostile_declare.js"), Block(), Input());
    ASSERT_TRUE(run.started) << run.failure;
    ASSERT_FALSE(run.timedOut);
    const std::string expected =
        // The script reads back what it assigned, whole.
        "TemplateName=long = string 100000\r\n"
        "Comment=long = string 100001\r\n"
        "HelpURI=long = string 5000\r\n"
        "EditorName=NUL = string 7\r\n"
        "TemplateExtend=NUL = string 5\r\n"
        // Values no text can be made of: DISP_E_TYPEMISMATCH.
        "FileName=object fails 80020005\r\n"
        "TemplateExtend=null fails 80020005\r\n"
        "TemplateExtend=.x.bin = string 6\r\n"
        "Version=NaN = number NaN\r\n"
        "Version=Infinity = number Infinity\r\n"
        "Version=-1e308 = number -1E+308\r\n"
        "Version=abc fails 80020005\r\n"
        "Version=1.25 = number 1.25\r\n"
        "Reversible=object fails 80020005\r\n"
        "Reversible=NaN fails 8002000a\r\n"
        "Endian=Infinity fails 8002000a\r\n"
        "Endian=string fails 80020005\r\n"
        "GetExtendNo = number 2\r\n"
        "Regist = undefined undefined\r\n";
    EXPECT_EQ(expected, run.errors);
    EXPECT_EQ(0, run.block.status);
    EXPECT_EQ("", run.output);
    // The block gets each text cut to its field, double-byte characters
    // kept whole, and ending at a zero byte.
    std::string katakana;
    for (int i = 0; i < 49; ++i) katakana += "テ";
    EXPECT_EQ(katakana, std::string(run.block.templateName));
    std::string comment;
    for (int i = 0; i < 255; ++i) comment += "テ";
    EXPECT_EQ(comment, std::string(run.block.comment));
    EXPECT_EQ(std::string(255, 'h'), std::string(run.block.helpUri));
    EXPECT_EQ("ed", std::string(run.block.editorName));
    EXPECT_EQ(".x.bin", std::string(run.block.templateExtend));
    EXPECT_EQ(125, run.block.version);
    EXPECT_EQ(1, run.block.reversible);
    EXPECT_EQ(0, run.block.dataFormat & 1);
}

TEST(HostileRecursion, GetFormatUntilTheScriptEngineGivesUp) {
    const ScriptResult run = RunWithBlock(TestScript("hostile_recursion.js"), Block(), Input());
    ASSERT_TRUE(run.started) << run.failure;
    ASSERT_FALSE(run.timedOut);
    // The engine stops the recursion with an error the script catches; the
    // host goes on to the end, reading from where it stood.
    EXPECT_EQ("stopped deep\r\ndone\r\n", run.errors);
    EXPECT_EQ("10 11\n12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F\n", run.output);
    EXPECT_EQ(0, run.block.status);
    ExpectPacksBack(run, Input());
}

TEST(HostileTypes, VBScriptValuesOfTheWrongKind) {
    const ScriptResult run = RunWithBlock(TestScript("hostile_types.vbs"), Block(), Input());
    ASSERT_TRUE(run.started) << run.failure;
    ASSERT_FALSE(run.timedOut);
    // VBScript error numbers: D type mismatch, 1CA unsupported type.
    const std::string expected =
        "GetByte(Empty) = 5 at 0\r\n"
        "GetByte(Null) fails D at 0\r\n"
        "GetByte(array) fails D at 0\r\n"
        "GetByte(x) fails D at 0\r\n"
        "GetString(2,Nothing) fails 1CA at 0\r\n"
        // Seek never fails; what is no offset leaves the position alone.
        "Seek(Null) = 0 at 0\r\n"
        "Seek(array) = 0 at 0\r\n"
        "Seek(object) = 0 at 0\r\n"
        "Seek(\"2\") = 0 at 2\r\n"
        "FindDWord(array) fails D at 2\r\n"
        "FindQWord(Null) fails D at 2\r\n"
        "CalcCrc32(Empty,array) fails D at 2\r\n"
        "CalcCrc32(0,1,Null) fails D at 2\r\n"
        "GetFormat(Null) fails D at 2\r\n"
        "GetFormat(array) fails D at 2\r\n"
        "GetByteOf(b1,array,b2) fails D at 2\r\n"
        "GetByteOf(1,2) = 0 at 2\r\n"
        "TemplateName=array fails D at 2\r\n"
        "Indent=many fails D at 2\r\n"
        // A message that is no text: the standard assertion text.
        "ファイルオフセット2H：アサーションの異常検出\r\nAssert(False,array) fails 80004004 at 16\r\n"
        "PutBytes(array) fails D at 16\r\n"
        "PutAll = 0 at 16\r\n"
        "done\r\n";
    EXPECT_EQ(expected, run.errors);
    EXPECT_EQ(-100, run.block.status);
    EXPECT_EQ(kBanner + "12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F\n", run.output);
    ExpectPacksBack(run, Input().substr(2));
}
