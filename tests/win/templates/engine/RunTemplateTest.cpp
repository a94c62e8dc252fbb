// RunTemplate with real scripts under cscript and the real library: the
// result and the line that tells the user how the run ended, what the run
// leaves in the master copy, the work files, and the refusals.
#include <cstring>
#include <memory>

#include "EngineFixture.h"
#include "session/Crc32.h"

namespace {

struct EndCase {
    const char* script;
    std::size_t emitted;   // leading bytes of the input in the text
    long result;
    std::int32_t status;
    // Velda's error report precedes the result line (so the message file is
    // checked by its end only).
    bool reportsError;
    const char* lastLine;  // expected end of the message file; null: the CRC line
};

class RunTemplateEnds : public EngineTest, public ::testing::WithParamInterface<EndCase> {};

// cscript under Wine ends with exit code 0 on a script's own error and shows
// nothing, so that run reads as a normal end over what was emitted before it.
// The library's fatal error report dumps the rest of the file after what
// the script emitted.
const EndCase kEndCases[] = {
    {"PutAll.js", 300, 0, 0, false, nullptr},
    {"ScriptError.js", 4, 0, 0, false, nullptr},
    {"AssertFails.js", 300, -100, -100, true, "ファイルの解析が中断されました。[終了コード:-100]\n"},
};

TEST_P(RunTemplateEnds, ResultAndResultLineFollowHowTheScriptEnded) {
    const EndCase& c = GetParam();
    const std::string input = CountingBytes(300);
    session::SessionBlock& master = engine_.master();
    master.status = 5;  // left over from an earlier run: every run starts from 0
    master.lineBytes = 8;

    const long result = Run(ScriptPath(c.script), input, "サンプル.bin");

    EXPECT_EQ(result, c.result);
    EXPECT_EQ(engine_.lastExitCode(), 0);
    // What the library left in the block is back in the master copy.
    EXPECT_EQ(master.status, c.status);
    EXPECT_EQ(master.fileSize, input.size());
    EXPECT_EQ(master.outputBytes, c.emitted);
    EXPECT_EQ(master.outputCrc, session::Crc32Update(0, input.data(), c.emitted));
    EXPECT_STREQ(master.fileName, "サンプル.bin");
    EXPECT_EQ(master.lineBytes, 8);

    const std::string messages = Messages();
    const std::string last = c.lastLine ? c.lastLine : FinishedLine(master.outputCrc, 300);
    if (c.reportsError) {
        ASSERT_GT(messages.size(), last.size());
        EXPECT_EQ(messages.substr(messages.size() - last.size()), last);
        EXPECT_NE(messages.find("壊れています"), std::string::npos) << messages;
    } else {
        EXPECT_EQ(messages, last);
    }
    EXPECT_FALSE(Output().empty());
}

INSTANTIATE_TEST_SUITE_P(Scripts, RunTemplateEnds, ::testing::ValuesIn(kEndCases),
                         [](const ::testing::TestParamInfo<EndCase>& info) {
                             std::string name = info.param.script;
                             return name.substr(0, name.find('.'));
                         });

using RunTemplate = EngineTest;

TEST_F(RunTemplate, WorkFilesAreCreatedAnewAndASilentScriptStillGetsOneResultLine) {
    ASSERT_TRUE(WriteBytes(engine_.outputFile(), std::string(5000, 'x')));
    ASSERT_TRUE(WriteBytes(engine_.messageFile(), std::string(5000, 'y')));
    ASSERT_EQ(Run(ScriptPath("PutAll.js"), CountingBytes(1000)), 0);
    const std::string firstOutput = Output();
    EXPECT_EQ(firstOutput.find('x'), std::string::npos);
    EXPECT_EQ(Messages(), FinishedLine(session::Crc32Update(0, CountingBytes(1000).data(), 1000), 1000));

    // No File object: nothing of the last run is reported as this one's.
    EXPECT_EQ(Run(ScriptPath("Silent.js"), "abc"), 0);
    EXPECT_EQ(Output(), "");
    EXPECT_EQ(Messages(), FinishedLine(0, 0));
    EXPECT_EQ(engine_.master().fileSize, 0u);
    EXPECT_EQ(engine_.master().reversible, 0);
    EXPECT_TRUE(engine_.lastRunStarted());
}

// When the process cannot start, the system's text for the error is the
// whole message file: no result line follows it.
TEST_F(RunTemplate, ProcessThatCannotStartLeavesTheSystemTextAlone) {
    const std::string ps1 = Work("t.ps1");
    ASSERT_TRUE(WriteBytes(ps1, "# nothing\r\n"));
    struct Row {
        const char* what;
        std::string path;
        const char* searchPath;  // null: unchanged
        DWORD error;
    } rows[] = {
        // The template's folder is the child's working folder.
        {"folder gone", Work("gone\\Declare.js"), nullptr, ERROR_DIRECTORY},
        {"host missing", ps1, "Z:\\nowhere", ERROR_FILE_NOT_FOUND},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<ScopedVariable> path;
        if (row.searchPath) path = std::make_unique<ScopedVariable>("PATH", row.searchPath);
        EXPECT_EQ(Run(row.path, "abc"), -1);
        EXPECT_EQ(Messages(), SystemText(row.error));
        EXPECT_EQ(Output(), "");
        EXPECT_EQ(engine_.lastExitCode(), 0);
        EXPECT_FALSE(engine_.lastRunStarted());
    }
}

// Paths and command lines live in 260-byte buffers: a longer one is refused
// before anything is touched, one that just fits is run.
TEST_F(RunTemplate, PathsBeyondTheBufferAreRefusedUntouched) {
    const std::string folder = Work("");
    // "cscript //nologo \"" + path + "\" " and its zero fill 260 bytes.
    const std::size_t longestRunnable = 260 - 1 - std::strlen("cscript //nologo \"\" ");
    struct Row {
        std::size_t length;
        bool refused;
    } rows[] = {{longestRunnable, false}, {longestRunnable + 1, true}, {260, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.length);
        ASSERT_LT(folder.size() + 4, row.length);
        const std::string path = folder + std::string(row.length - folder.size() - 3, 'a') + ".js";
        ASSERT_EQ(path.size(), row.length);
        ASSERT_TRUE(WriteBytes(engine_.outputFile(), "before"));
        ASSERT_TRUE(WriteBytes(engine_.messageFile(), "before"));

        const long result = Run(path, "abc");

        if (row.refused) {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(engine_.lastCommandLine(), "");
            EXPECT_EQ(Output(), "before");
            EXPECT_EQ(Messages(), "before");
            char extensions[CScriptEngine::kExtensionsSize];
            std::memset(extensions, 'x', sizeof extensions);
            EXPECT_EQ(engine_.QueryTemplateInfo(path, extensions), -1);
            EXPECT_STREQ(extensions, "");
        } else {
            EXPECT_EQ(engine_.lastCommandLine().size(), 259u);
            EXPECT_NE(Messages(), "before");
        }
    }
}

}  // namespace
