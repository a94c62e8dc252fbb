// How a template is started: the host and its options from the extension
// and SHIFT, the exact command line and working folder the host receives
// (recorded by a stand-in powershell.exe), the document as standard input,
// and the start-up information.
#include <vector>

#include "EngineFixture.h"

namespace {

constexpr char kPowerShell[] = "powershell -executionpolicy unrestricted -File";

// SHIFT held (in this thread's key state) for the scope.
class ShiftHeld {
public:
    explicit ShiftHeld(bool down) {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_SHIFT] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~ShiftHeld() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

// The report lines of the stand-in: command line, working folder, input
// size with start-up flags and show state.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        lines.push_back(text.substr(begin, end - begin));
    }
    return lines;
}

struct HostCase {
    const char* name;      // file name of the template
    bool shift;
    const char* prefix;
    const char* exitCode;  // what the stand-in ends with
    long result;
};

const HostCase kHostCases[] = {
    {"t.js", false, "cscript //nologo", "0", 0},
    // Under Wine, cscript rejects //X with exit code 1 and runs nothing.
    {"t.js", true, "cscript //X //nologo", "0", 1},
    {"t.VBS", true, "cscript //X //nologo", "0", 1},
    {"t.Ps1", true, kPowerShell, "0", 0},
    {"t.PS1", false, kPowerShell, "7", 7},
    {"t.ps1.js", false, "cscript //nologo", "0", 0},
};

class CommandLineHost : public EngineTest, public ::testing::WithParamInterface<HostCase> {};

TEST_P(CommandLineHost, FollowsTheExtensionAndShift) {
    const HostCase& c = GetParam();
    const std::string folder = Work("host folder\\");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = folder + c.name;
    ASSERT_TRUE(CopyFileA(ScriptPath("Silent.js").c_str(), path.c_str(), FALSE));
    StandInHost standIn;
    ScopedVariable exitCode("STANDIN_EXIT_CODE", c.exitCode);

    long result;
    {
        ShiftHeld shift(c.shift);
        result = Run(path, CountingBytes(1024));
    }

    const std::string expected = std::string(c.prefix) + " \"" + path + "\" ";
    EXPECT_EQ(engine_.lastCommandLine(), expected);
    EXPECT_EQ(result, c.result);
    if (c.result != 0) {
        EXPECT_EQ(Messages(), "ファイルの解析が異常終了しました。[終了コード:" + std::to_string(c.result) + "]\n");
    }
    if (std::string(c.prefix) == kPowerShell) {
        // What the host really received, byte for byte, where it ran, and
        // that the document (opened without inheritance) reached it whole.
        const std::vector<std::string> report = Lines(Output());
        ASSERT_EQ(report.size(), 3u) << Output();
        EXPECT_EQ(report[0], expected);
        EXPECT_EQ(report[1], folder.substr(0, folder.size() - 1));
        EXPECT_EQ(report[2], "input=1024 flags=11f show=0");
    }
}

INSTANTIATE_TEST_SUITE_P(Hosts, CommandLineHost, ::testing::ValuesIn(kHostCases),
                         [](const ::testing::TestParamInfo<HostCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 if (ch == '.') ch = '_';
                             }
                             return name + (info.param.shift ? "_Shift" : "");
                         });

using CommandLineQuery = EngineTest;

// An information query gives the host no standard handles, runs it in the
// library folder and never adds //X.
TEST_F(CommandLineQuery, HostGetsTheQuotedPathInTheLibraryFolder) {
    const std::string folder = Work("host folder\\");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = folder + "t.ps1";
    ASSERT_TRUE(WriteBytes(path, "# nothing\r\n"));
    StandInHost standIn;
    ScopedVariable report("STANDIN_REPORT", Work("report.txt"));
    ShiftHeld shift(true);

    char extensions[CScriptEngine::kExtensionsSize];
    EXPECT_EQ(engine_.QueryTemplateInfo(path, extensions), 0);
    EXPECT_STREQ(extensions, "");
    const std::vector<std::string> lines = Lines(ReadBytes(Work("report.txt")));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(kPowerShell) + " \"" + path + "\"");
    EXPECT_EQ(lines[1], work_.substr(0, work_.size() - 1));
    EXPECT_EQ(lines[2], "input=0 flags=11f show=0");
}

}  // namespace
