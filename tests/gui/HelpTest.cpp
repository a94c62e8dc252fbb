// The Help commands: the menu's "ヘルプ トピック", the help index command
// and the toolbar's help button start the system's HTML Help viewer on the
// help file beside the editor, with both paths quoted, and the editor goes
// on working while the viewer stays open; without the file the editor says
// where it looked and starts nothing. A stand-in viewer (built with the help
// file's tests) takes the place of the Windows folder's hh.exe and records
// its command line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kHelpIndex = 57666;
constexpr UINT kHelpTopics = 57667;
constexpr UINT kHelpButton = 57669;
constexpr char kHoldEvent[] = "PramelHelpViewerHold";

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path[0] == '\\' ? "Z:" + path : path;
}

std::string TestFolder() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.resize(folder.find_last_of('\\'));
    return folder;
}

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

// Puts the stand-in where the system's viewer is and puts the viewer back
// afterwards (also one that an interrupted run left aside).
class StandInViewer {
public:
    explicit StandInViewer(const std::string& standIn)
        : viewer_(WindowsFolder() + "\\hh.exe"), aside_(viewer_ + ".pramel-test") {
        Restore();
        placed_ = MoveFileExA(viewer_.c_str(), aside_.c_str(), MOVEFILE_REPLACE_EXISTING) &&
                  CopyFileA(standIn.c_str(), viewer_.c_str(), FALSE);
    }
    ~StandInViewer() { Restore(); }
    StandInViewer(const StandInViewer&) = delete;
    StandInViewer& operator=(const StandInViewer&) = delete;
    bool placed() const { return placed_; }
    const std::string& path() const { return viewer_; }

private:
    void Restore() {
        if (!FileExists(aside_)) return;
        DeleteFileA(viewer_.c_str());
        MoveFileA(aside_.c_str(), viewer_.c_str());
    }
    std::string viewer_;
    std::string aside_;
    bool placed_ = false;
};

struct ScopedVariable {
    ScopedVariable(const char* name, const std::string& value) : name(name) { _putenv_s(name, value.c_str()); }
    ~ScopedVariable() { _putenv_s(name, ""); }
    const char* name;
};

// The command lines the stand-in viewers recorded, one per start.
std::vector<std::string> Recorded(const std::string& folder) {
    std::vector<std::string> lines;
    for (const auto& name : FilesIn(folder)) lines.push_back(ReadFile(folder + "\\" + name));
    return lines;
}

// Waits until the stand-ins that recorded a start have ended (their report
// files are named after their process ids).
void WaitForViewersToEnd(const std::string& folder) {
    for (const auto& name : FilesIn(folder)) {
        const DWORD pid = std::strtoul(name.c_str() + name.find('-') + 1, nullptr, 10);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        if (!process) continue;
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
}

bool Responds(HWND frame) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

TEST(HelpCommands, StartTheViewerOnTheHelpFileBesideTheEditorWithoutWaitingForIt) {
    const std::string standIn = TestFolder() + "\\..\\win\\help\\viewer\\hh.exe";
    ASSERT_TRUE(FileExists(standIn)) << standIn;
    const std::string chm = WindowsPath(PRAMEL_DIST) + "\\Pramel.chm";
    ASSERT_TRUE(FileExists(chm)) << "the help file is built into the installed folder";

    // An installed folder whose path needs quoting: a blank and Japanese.
    ResetSettings();
    const std::string installed = ScratchFolder("help インストール先 folder");
    ASSERT_TRUE(CopyFileA(PramelPath().c_str(), (installed + "\\Pramel.exe").c_str(), FALSE));
    const std::string helpFile = installed + "\\Pramel.chm";
    ASSERT_TRUE(CopyFileA(chm.c_str(), helpFile.c_str(), FALSE));
    const std::string reports = ScratchFolder("help viewer reports");

    HANDLE hold = CreateEventA(nullptr, TRUE, FALSE, kHoldEvent);
    ASSERT_TRUE(hold);
    StandInViewer viewer(standIn);
    ASSERT_TRUE(viewer.placed());
    ScopedVariable exe("PRAMEL_EXE", installed + "\\Pramel.exe");
    ScopedVariable report("PRAMEL_HELP_VIEWER_REPORT", reports);
    ScopedVariable holdName("PRAMEL_HELP_VIEWER_HOLD", kHoldEvent);
    {
        PramelSession editor("");
        HWND frame = editor.Frame();
        ASSERT_TRUE(frame);
        const std::string expected = "\"" + viewer.path() + "\" \"" + helpFile + "\"";
        const UINT commands[] = {kHelpTopics, kHelpIndex, kHelpButton};
        std::size_t started = 0;
        for (UINT command : commands) {
            SCOPED_TRACE(command);
            editor.Post(command, frame);
            ++started;
            // Every viewer started so far is still open.
            ASSERT_TRUE(WaitUntil([&] { return Recorded(reports).size() == started; }));
            EXPECT_TRUE(Responds(frame)) << "the editor goes on while the viewer is open";
            EXPECT_TRUE(editor.Dialogs().empty());
        }
        for (const auto& line : Recorded(reports)) EXPECT_EQ(line, expected);

        // The file gone: the message with the path, and no viewer.
        ASSERT_TRUE(DeleteFileA(helpFile.c_str()));
        editor.Post(kHelpTopics, frame);
        Dialog missing = editor.WaitForDialog();
        ASSERT_TRUE(missing);
        EXPECT_EQ(missing.text, "Not Exist Html Help File\n\n   File Path [ " + helpFile + " ]");
        PramelSession::Click(missing, IDOK);
        editor.Settle();
        EXPECT_EQ(Recorded(reports).size(), started);
    }
    // Released, the stand-ins end; then the system's viewer goes back.
    SetEvent(hold);
    WaitForViewersToEnd(reports);
    CloseHandle(hold);
}

}  // namespace
