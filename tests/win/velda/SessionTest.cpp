// The File object's attachment to the editor's session: the information
// query, a script started without the editor, a block of the wrong size,
// what attaching resets, and the texts that cross into the block and the
// produced text.
#include <gtest/gtest.h>

#include <cstring>

#include "ScriptTestSupport.h"

namespace {

ScriptRequest RequestFor(const std::wstring& script) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    ScriptRequest request;
    request.script = script;
    request.workFolder = WorkFolder(std::string(test->test_suite_name()) + "." + test->name());
    return request;
}

// The fresh block of the editor's information query.
session::SessionBlock QueryBlock() {
    session::SessionBlock block{};
    block.blockSize = session::kBlockSize;
    return block;
}

// Values no attachment would write, to see what it changes.
session::SessionBlock MarkedBlock(const char* fileName) {
    session::SessionBlock block = MakeRunBlock(1, false, 16, 0, fileName);
    block.outputBytes = 777;
    block.outputCrc = 0x12345678;
    block.fileSize = 5;
    block.reversible = 0;
    return block;
}

}  // namespace

TEST(Session, InformationQueryLeavesTheDeclarationInTheBlockAndRegistEndsTheScript) {
    ScriptRequest request = RequestFor(TestScript("declare.js"));
    request.block = QueryBlock();
    request.withHandles = false;
    const ScriptResult run = RunScript(request);
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(0u, run.exitCode);

    EXPECT_STREQ("ビットマップ画像", run.block.templateName);
    EXPECT_STREQ(".bmp.dib", run.block.templateExtend);
    EXPECT_STREQ("作者", run.block.editorName);
    EXPECT_STREQ("http://example.invalid/help", run.block.helpUri);
    EXPECT_EQ(105, run.block.version);  // 1.059 truncated
    EXPECT_EQ(0, run.block.reversible);
    // The assignment after Regist never ran.
    EXPECT_STREQ("コメント", run.block.comment);
    EXPECT_EQ(0, run.block.status);
    EXPECT_EQ(0u, run.block.fileSize);
}

TEST(Session, InformationQueryOfAVBScriptTemplate) {
    ScriptRequest request = RequestFor(TestScript("declare.vbs"));
    request.block = QueryBlock();
    request.withHandles = false;
    const ScriptResult run = RunScript(request);
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_STREQ("WAVE オーディオ", run.block.templateName);
    EXPECT_STREQ("..bin..dat.", run.block.templateExtend);
    EXPECT_EQ(250, run.block.version);
    EXPECT_STREQ("コメント", run.block.comment);
}

TEST(Session, RegistSucceedsWhenTheScriptHasAnInputFile) {
    const ScriptResult jscript = RunWithBlock(TestScript("declare.js"), MakeRunBlock(1, false, 16, 0, "a.DIB"), "x");
    ASSERT_TRUE(jscript.started) << jscript.failure;
    EXPECT_EQ(Echo("after Regist 2"), jscript.output);
    EXPECT_STREQ("after Regist", jscript.block.comment);

    const ScriptResult vbscript = RunWithBlock(TestScript("declare.vbs"), MakeRunBlock(1, false, 16, 0, "x.dat"), "");
    ASSERT_TRUE(vbscript.started) << vbscript.failure;
    EXPECT_EQ(Echo("after Regist 2"), vbscript.output);
}

TEST(Session, AScriptStartedWithoutTheEditorShowsTheStartUpErrorAndEndsWithExitCode0) {
    // What the library meets when no editor created the mapping.
    ASSERT_EQ(nullptr, OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, L"VeldaShare"))
        << "a VeldaShare mapping is left over from another run";
    const DWORD missing = GetLastError();

    ScriptRequest request = RequestFor(TestScript("startup.js"));
    request.dismissStartupBox = true;
    request.timeoutMs = 20000;
    const ScriptResult run = RunScript(request);
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_FALSE(run.timedOut) << "the start-up message box was not found or did not close";
    EXPECT_EQ(0u, run.exitCode);

    EXPECT_TRUE(run.boxSeen);
    EXPECT_EQ(L"起動エラー", run.boxCaption);
    EXPECT_EQ(L"プラメルから起動してください。", run.boxText);
    EXPECT_EQ(SystemMessage(missing), run.errors);
    EXPECT_FALSE(run.errors.empty());
    // The process ended inside the object's creation.
    EXPECT_EQ("", run.output);
}

TEST(Session, ABlockOfTheWrongSizeIsRefusedAndLeftAlone) {
    session::SessionBlock block = MarkedBlock("sample.bin");
    block.blockSize = 1523;
    const ScriptResult run = RunWithBlock(TestScript("startup.js"), block, "abc");
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_EQ(Echo("not created"), run.output);
    EXPECT_EQ(0, std::memcmp(&block, &run.block, sizeof(block)));
}

TEST(Session, AttachingResetsTheCountersAndAssignedFileNamesAreNotReadBack) {
    const ScriptResult run = RunWithBlock(TestScript("attach.js"), MarkedBlock("doc.bin"), "0123456789");
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_EQ(Echo("FileName doc.bin") + Echo("first at 3") + Echo("after second 0 0") + Echo("shared 2") +
                  Echo("after release"),
              run.output);
    EXPECT_EQ(0u, run.block.outputBytes);
    EXPECT_EQ(0u, run.block.outputCrc);
    EXPECT_EQ(10u, run.block.fileSize);
    EXPECT_EQ(1, run.block.reversible);
    EXPECT_EQ(0, run.block.status);
}

TEST(Session, TextsCrossInTheAnsiCodePage) {
    session::SessionBlock block = MakeRunBlock(1, false, 16, 0, "日本語.bin");
    const ScriptResult run = RunWithBlock(TestScript("texts.js"), block, "あいう");
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_EQ(Echo("TemplateName true") + Echo("GetString true") + Echo("FileName true") +
                  "< 日本語のコメント >\r\n[ 1.見出し ]\r\n\"あい\"\n<値> \"う\"\n",
              run.output);
    EXPECT_EQ("メッセージ\r\n", run.errors);
    EXPECT_STREQ("テンプレート名", run.block.templateName);
    EXPECT_EQ(6u, run.block.outputBytes);
}

TEST(Session, AFatalErrorReachesTheScriptAsACatchableAbort) {
    const ScriptResult run = RunWithBlock(TestScript("errors.js"), MakeRunBlock(1, false, 16, 0), "ABCDE");
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_EQ("[ テンプレート適用にて異常を検出しました。 ]\n\n45\n" + Echo("caught 80004004") +
                  "[ テンプレート適用にて異常を検出しました。 ]\n\n" + Echo("Abort 80004004"),
              run.output);
    EXPECT_EQ("ファイルオフセット4H：予期しないファイルの終端です。\r\nファイルオフセット5H：中止します\r\n", run.errors);
    EXPECT_EQ(-100, run.block.status);
    EXPECT_EQ(5, run.block.errorOffset);
}

TEST(Session, TheVersionQueryAnswers103) {
    const ScriptResult jscript = RunWithBlock(TestScript("version.js"), MakeRunBlock(1, false, 16, 0), "");
    ASSERT_TRUE(jscript.started) << jscript.failure;
    EXPECT_EQ(Echo("number 103") + Echo("103"), jscript.output);

    const ScriptResult vbscript = RunWithBlock(TestScript("version.vbs"), MakeRunBlock(1, false, 16, 0), "");
    ASSERT_TRUE(vbscript.started) << vbscript.failure;
    EXPECT_EQ(Echo("Long 3 103"), vbscript.output);
}
