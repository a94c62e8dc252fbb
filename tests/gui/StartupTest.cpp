// Start-up and the frames: the registry layout reset, the work folder's
// leftovers, a second instance handing its file to the first, titles, and
// the main-window role moving on when the main frame closes.
#include <gtest/gtest.h>

#include <algorithm>

#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kNewFrame = 57613;
constexpr UINT kExit = 57665;

std::string WorkFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "Pramel";
}

int CountWorkFiles() {
    int count = 0;
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA((WorkFolder() + "\\prm*.TMP").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        ++count;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return count;
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string folder;
};

}  // namespace

TEST_F(Startup, OldRegistryLayoutIsErasedOnceWithAMessage) {
    SetSetting("System", "Version", 58);
    SetSetting("PramelView", "LineSize", 8);
    SetSetting(".bin", "Endian", 1);
    {
        PramelSession editor("", false);
        Dialog notice = editor.WaitForDialog();
        ASSERT_TRUE(notice);
        EXPECT_EQ(notice.text, "レジストリ構成が変更されたため、\nすべてのレジストリ情報を削除しました。");
        PramelSession::Click(notice, IDOK);
        ASSERT_TRUE(editor.Frame());
        DWORD value = 0;
        EXPECT_FALSE(GetSetting("PramelView", "LineSize", &value));
        EXPECT_FALSE(GetSetting(".bin", "Endian", &value));
        ASSERT_TRUE(GetSetting("System", "Version", &value));
        EXPECT_EQ(value, 59u);
    }
    PramelSession again("", false);
    EXPECT_TRUE(again.Frame());
    EXPECT_FALSE(again.WaitForDialog({}, 1000));
}

TEST_F(Startup, LeftoverWorkFilesAreRemoved) {
    CreateDirectoryA(WorkFolder().c_str(), nullptr);
    std::string stale = WorkFolder() + "\\prmDEAD.TMP";
    std::string other = WorkFolder() + "\\keep.dat";
    WriteFile(stale, "left by a crash");
    WriteFile(other, "not a work file");
    {
        PramelSession editor("");
        ASSERT_TRUE(editor.Frame());
        EXPECT_FALSE(FileExists(stale));
        EXPECT_TRUE(FileExists(other));
        EXPECT_EQ(CountWorkFiles(), 2);  // the output text file and the message file
    }
    EXPECT_EQ(CountWorkFiles(), 0);
    DeleteFileA(other.c_str());
}

// A temporary folder the editor cannot use (its name is taken by a file):
// one message, then text and binary mode without templates, and no work
// file anywhere, not in the current folder either.
TEST_F(Startup, WithoutAWorkFolderTheEditorGoesOnWithoutTemplates) {
    const std::string blocked = folder + "\\not-a-folder";
    WriteFile(blocked, "x");
    const std::string bmp = folder + "\\picture.bmp";
    WriteFile(bmp, "BM\x10\0\0\0");
    char savedTmp[MAX_PATH] = {};
    char savedTemp[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", savedTmp, MAX_PATH);
    GetEnvironmentVariableA("TEMP", savedTemp, MAX_PATH);
    SetEnvironmentVariableA("TMP", blocked.c_str());
    SetEnvironmentVariableA("TEMP", blocked.c_str());
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA(folder.c_str());
    {
        PramelSession editor("\"" + bmp + "\"", false);
        SetEnvironmentVariableA("TMP", savedTmp[0] ? savedTmp : nullptr);
        SetEnvironmentVariableA("TEMP", savedTemp[0] ? savedTemp : nullptr);
        SetCurrentDirectoryA(current);
        Dialog notice = editor.WaitForDialog();
        ASSERT_TRUE(notice);
        EXPECT_EQ(notice.text, "作業用フォルダを生成できません。\n\nテンプレートは使用できません。"
                               "テキストモードとバイナリーモードで続けます。");
        PramelSession::Click(notice, IDOK);
        ASSERT_TRUE(editor.Frame());
        EXPECT_TRUE(WaitUntil([&] { return editor.TextLength() > 0; }));
        editor.Settle();
        EXPECT_EQ(editor.StatusPane(5), "バイナリモード");
        EXPECT_EQ(editor.Text().substr(0, 5), "42 4D");
        EXPECT_TRUE(editor.Dialogs().empty()) << "told once";
    }
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA((folder + "\\prm*").c_str(), &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << found.cFileName;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(Startup, SecondInstanceHandsItsFileToTheFirst) {
    std::string first = folder + "\\first.bin";
    std::string second = folder + "\\second.bin";
    WriteFile(first, "\x01\x02");
    WriteFile(second, "\xAB\xCD");
    PramelSession editor("\"" + first + "\"");
    ASSERT_TRUE(editor.Frame());
    editor.Settle();
    {
        PramelSession late("\"" + second + "\"", false);
        EXPECT_NE(late.WaitForExit(15000), -1) << "the second instance should end by itself";
    }
    std::vector<HWND> frames;
    for (int i = 0; i < 100 && frames.size() < 2; ++i) {
        Sleep(100);
        frames = editor.Frames();
    }
    ASSERT_EQ(frames.size(), 2u);
    editor.Settle();  // the new frame shows before its file has loaded
    bool shown = false;
    for (HWND f : frames) shown = shown || editor.Text(f).rfind("AB CD", 0) == 0;
    EXPECT_TRUE(shown);
}

TEST_F(Startup, UntitledDocumentsAreNumbered) {
    PramelSession editor("");
    ASSERT_TRUE(editor.Frame());
    EXPECT_EQ(editor.FrameTitle(), "無題1 - Pramel");
    EXPECT_EQ(editor.StatusPane(5), "バイナリモード");
    editor.Send(kNewFrame);
    auto frames = editor.Frames();
    ASSERT_EQ(frames.size(), 2u);
    std::vector<std::string> titles{editor.FrameTitle(frames[0]), editor.FrameTitle(frames[1])};
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"無題1 - Pramel", "無題2 - Pramel"}));
    editor.Screenshot("untitled");
}

TEST_F(Startup, ClosingTheMainFrameHandsOverToTheNext) {
    PramelSession editor("");
    HWND main = editor.Frame();
    ASSERT_TRUE(main);
    editor.Send(kNewFrame);
    ASSERT_EQ(editor.Frames().size(), 2u);
    PostMessageA(main, WM_CLOSE, 0, 0);
    for (int i = 0; i < 50 && IsWindow(main); ++i) Sleep(100);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(editor.running());
    auto left = editor.Frames();
    ASSERT_EQ(left.size(), 1u);
    // The remaining frame is the main window now: Exit closes it and ends
    // the program.
    editor.Post(kExit, left.front());
    EXPECT_EQ(editor.WaitForExit(15000), 0);
}

TEST_F(Startup, TextFileQuestionChoosesTheMode) {
    std::string path = folder + "\\READ.TXT";
    WriteFile(path, "12 34\r\n");
    PramelSession editor("\"" + path + "\"", false);
    Dialog ask = editor.WaitForDialog();
    ASSERT_TRUE(ask);
    EXPECT_EQ(ask.text, "テキストモードとしてオープンしますか？");
    PramelSession::Click(ask, IDNO);
    ASSERT_TRUE(editor.Frame());
    editor.Settle();
    // No: template mode, which without a template for ".TXT" is binary.
    EXPECT_EQ(editor.StatusPane(5), "バイナリモード");
    EXPECT_EQ(editor.Text().substr(0, 8), "31 32 20");
}

TEST_F(Startup, CommandLineFileThatCannotOpenEndsTheProgram) {
    PramelSession editor("\"" + folder + "\\missing.bin\"", false);
    Dialog report = editor.WaitForDialog();
    ASSERT_TRUE(report);
    EXPECT_NE(report.text.find("missing.bin"), std::string::npos);
    PramelSession::Click(report, IDOK);
    EXPECT_NE(editor.WaitForExit(15000), -1);
}
