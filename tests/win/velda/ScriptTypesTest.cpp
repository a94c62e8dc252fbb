// What the two script hosts see of every ITavFile member: the exact text a
// script writes when it reports the JScript type (typeof) or the VBScript
// VarType of each result, interleaved with the lines the output members
// produce. This pins the variant types the type-library dispatcher hands
// out, the optional arguments, the arrays and the errors scripts can catch.
#include <gtest/gtest.h>

#include "ScriptTestSupport.h"

namespace {

session::SessionBlock TypesBlock() { return MakeRunBlock(1, false, 16, 0, "types.bin"); }

}  // namespace

TEST(ScriptTypes, JScriptSeesNumbersBooleansStringsAndArrays) {
    const ScriptResult run = RunWithBlock(TestScript("types.js"), TypesBlock(), TypesInput());
    ASSERT_TRUE(run.started) << run.failure;
    ASSERT_FALSE(run.timedOut);

    const std::string expected =
        Echo("Endian boolean false") +
        Echo("Endian=true boolean true") +
        Echo("GetWord(0) big number 4660") +
        Echo("Version number 0") +
        Echo("Version=2.5 number 2.5") +
        Echo("FileName string types.bin") +
        Echo("TemplateName string ") +
        Echo("TemplateName=name string name") +
        Echo("Indent number 0") +
        Echo("Reversible boolean true") +
        Echo("GetExtendNo number 0") +
        // The optional bSigned defaults to unsigned.
        Echo("GetByte(0) number 18") +
        Echo("GetByte(4) number 255") +
        Echo("GetByte(4,true) number -1") +
        Echo("GetWord(0) number 13330") +
        Echo("GetDWord(0,true) number 2018915346") +
        Echo("GetDWord(1,true) number -1") +
        Echo("GetQWord(1) number 1") +
        Echo("GetQWord(0) not a number") +
        Echo("GetString(3,16) string AB") +
        Echo("GetString(2,19)=a boolean true") +
        Echo("GetBytes(2) dimensions 1 from 0 to 1 [number 18, number 52]") +
        Echo("GetBytes(0) dimensions 1 from 0 to -1 []") +
        Echo("GetWords(1) dimensions 1 from 0 to 0 [number 13330]") +
        Echo("GetDWords(2) dimensions 1 from 0 to 1 [number 2018915346, number 4294967295]") +
        Echo("GetFormat(%B%W%C) dimensions 1 from 0 to 2 [number 18, number 22068, string x]") +
        Echo("GetQWords(1) of 2^63 and more fails 8002000a") +
        Echo("GetByteOf undefined undefined") +
        Echo("FindByte(0x41) number 16") +
        Echo("FindWord(0x4241) number 8") +
        Echo("FindDWord(-1) number 1") +
        Echo("FindQWord(1) number 1") +
        Echo("FindDWord(abc) fails 80020005") +
        Echo("Eof boolean false") +
        Echo("GetOffset number 0") +
        Echo("Length number 21") +
        Echo("CalcCrc32 number 3868159917") +
        Echo("CalcCrc32(-1) number 3868159917") +
        Echo("CalcCrc32(abc) fails 80020005") +
        Echo("Eof at end boolean true") +
        Echo("Seek undefined undefined") +
        Echo("Regist undefined undefined") +
        "12\n" + Echo("PutByte number 18") +
        "5634\n" + Echo("PutWord(true) number 22068") +
        "\"x\"\n" + Echo("PutString undefined undefined") +
        "FF\n" + Echo("PutBytes undefined undefined") +
        "FF\n" + Echo("PutFormat undefined undefined") +
        "< p >\r\n" + Echo("Print undefined undefined") +
        "[ 1.i ]\r\n" + Echo("PrintIndex undefined undefined") +
        Echo("Message undefined undefined") +
        Echo("Assert(1) undefined undefined") +
        "FF FF 01 00 00 00 00 00 00 00 41 42 00 82 A0\n" + Echo("PutAll undefined undefined") +
        Echo("GetOffset at end number 21") +
        "[ テンプレート適用にて異常を検出しました。 ]\n\n" +
        Echo("GetByte(0) at end fails 80004004");
    EXPECT_EQ(expected, run.output);
    EXPECT_EQ("m\r\nファイルオフセット15H：予期しないファイルの終端です。\r\n", run.errors);

    EXPECT_EQ(-100, run.block.status);
    EXPECT_EQ(21, run.block.errorOffset);
    EXPECT_EQ(21u, run.block.outputBytes);
    EXPECT_EQ(0x66338A3Au, run.block.outputCrc);
    EXPECT_EQ(250, run.block.version);
    EXPECT_STREQ("name", run.block.templateName);
}

TEST(ScriptTypes, VBScriptSeesTheExactVariantTypes) {
    const ScriptResult run = RunWithBlock(TestScript("types.vbs"), TypesBlock(), TypesInput());
    ASSERT_TRUE(run.started) << run.failure;
    ASSERT_FALSE(run.timedOut);

    // VarType: 2 Integer, 3 Long, 5 Double, 8 String, 10 Error, 11 Boolean,
    // 17 Byte, 18 UI2, 19 UI4, 20 I8, 21 UI8, 8204 array of variants.
    const std::string expected =
        // Endian and Eof give 1 for true, not the usual -1.
        Echo("Endian Boolean 11 0") +
        Echo("Endian=True Boolean 11 1") +
        Echo("Endian=1 Boolean 11 1") +
        Echo("Version Double 5 0") +
        Echo("FileName String 8 types.bin") +
        Echo("Indent Long 3 0") +
        // 1 after attaching; an assignment stores the value itself.
        Echo("Reversible Boolean 11 1") +
        Echo("Reversible=True Boolean 11 -1") +
        Echo("GetExtendNo Long 3 0") +
        Echo("GetByte(0) Double 5 18") +
        Echo("GetByte(4) Double 5 255") +
        Echo("GetByte(4,True) Double 5 -1") +
        Echo("GetQWord(1) Double 5 1") +
        Echo("GetQWord(0) 10") +
        Echo("GetQWord(0,True) 10") +
        Echo("GetString(3,16) String 8 AB") +
        // Omitted arguments in the middle are left alone.
        Echo("GetByteOf a 17 18 b 17 52 c 0 d 17 120") +
        Echo("GetWordOf 18 13330") +
        Echo("GetDWordOf 19 2018915346 19 4294967295") +
        Echo("GetQWordOf 21 1") +
        Echo("GetBytes(2) 8204 from 0 to 1 [2 18, 2 52]") +
        Echo("GetWords(1) 8204 from 0 to 0 [3 13330]") +
        Echo("GetDWords(1) 8204 from 0 to 0 [5 2018915346]") +
        Echo("GetQWords(1) 8204 from 0 to 0 [20 1]") +
        Echo("GetFormat(%B%W%C%D) 8204 from 0 to 3 [2 18, 3 22068, 8 x, 5 4294967295]") +
        Echo("GetBytes(0) 8204 -1") +
        Echo("FindByte(&H41) Long 3 16") +
        Echo("FindDWord(&HFFFFFFFF) Long 3 1") +
        Echo("Eof Boolean 11 0") +
        Echo("GetOffset Double 5 0") +
        Echo("Length Double 5 21") +
        Echo("CalcCrc32 Double 5 3868159917") +
        Echo("CalcCrc32(mode) Double 5 3338984827") +
        Echo("Eof at end Boolean 11 1") +
        "12\n" + Echo("PutByte Double 5 18") +
        "34\n" + Echo("PutByte(True) Double 5 52") +
        "FFFFFFFF78563412\n" + Echo("PutQWord over FF 10") +
        "0000000000000001\n" + Echo("PutQWord 5 1") +
        "< p >\r\n" +
        "[ 1.i ]\r\n" +
        "FFFF7856\n" + Echo("PutDWord(True) Double 5 -34730") +
        "FF FF 01 00 00 00 00 00 00 00 41 42 00 82 A0\n" +
        Echo("GetOffset at end Double 5 21");
    EXPECT_EQ(expected, run.output);
    EXPECT_EQ("", run.errors);
    EXPECT_EQ(0, run.block.status);
    EXPECT_EQ(-1, run.block.reversible);
}
