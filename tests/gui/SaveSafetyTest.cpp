// Saving never loses the file: a read-only file is saved under a new name,
// a file another program holds is left as it was with a clear message, and
// no temporary file stays behind. A text-mode document saved with the
// binary filter is packed into bytes.
#include <gtest/gtest.h>

#include <iterator>

#include "Expected.h"
#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kSave = 57603;
constexpr UINT kSaveAs = 57604;

class SaveSafety : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string folder;
};

}  // namespace

TEST_F(SaveSafety, ReadOnlyFileIsSavedUnderANewName) {
    const std::string original("\x01\x02\x03\x04", 4);
    std::string path = folder + "\\locked.bin";
    WriteFile(path, original);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    editor.Settle();
    EXPECT_EQ(editor.StatusPane(4), "上書き禁止");
    editor.TypeOver(0, 2, "FF");
    editor.Post(kSave);
    std::string copy = folder + "\\copy.bin";
    ASSERT_TRUE(editor.AnswerFileDialog(copy));
    editor.Settle();
    EXPECT_EQ(ReadFile(copy), std::string("\xFF\x02\x03\x04", 4));
    EXPECT_EQ(ReadFile(path), original);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SaveSafety, FileHeldByAnotherProgramIsLeftUntouched) {
    const std::string original("\x10\x20\x30", 3);
    std::string path = folder + "\\held.bin";
    WriteFile(path, original);
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    editor.TypeOver(0, 2, "99");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    editor.Post(kSave);
    Dialog report = editor.WaitForDialog();
    ASSERT_TRUE(report);
    EXPECT_NE(report.text.find("他のプログラムが使用中のため保存できません。"), std::string::npos) << report.text;
    PramelSession::Click(report, IDOK);
    CloseHandle(held);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"held.bin"});
    // Once the file is free the same document saves.
    editor.Send(kSave);
    EXPECT_EQ(ReadFile(path), std::string("\x99\x20\x30", 3));
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"held.bin"});
}

TEST_F(SaveSafety, TextDocumentSavedWithTheBinaryFilterIsPacked) {
    std::string path = folder + "\\notes.txt";
    WriteFile(path, "plain text\r\n");
    PramelSession editor("\"" + path + "\"", false);
    Dialog ask = editor.WaitForDialog();
    ASSERT_TRUE(ask);
    EXPECT_EQ(ask.title, "オープンモード");
    EXPECT_EQ(ask.text, "テキストモードとしてオープンしますか？");
    PramelSession::Click(ask, IDYES);
    ASSERT_TRUE(editor.Frame());
    editor.Settle();
    EXPECT_EQ(editor.StatusPane(5), "テキストモード");
    EXPECT_EQ(WithoutFinalLineBreak(editor.Text()), "plain text");
    editor.SetText("41 42 \"cd\" 0a");
    editor.Post(kSaveAs);
    // The save dialog: pick the second file type, then the name.
    Dialog save;
    for (int i = 0; i < 100 && !save; ++i) {
        Dialog d = editor.WaitForDialog();
        if (d && GetDlgItem(d.hwnd, 0x470)) save = d;
        else Sleep(50);
    }
    ASSERT_TRUE(save);
    HWND types = GetDlgItem(save.hwnd, 0x470);
    SendMessageA(types, CB_SETCURSEL, 1, 0);
    // A user's pick sends both notifications; dialogs differ in which they use.
    SendMessageA(save.hwnd, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    SendMessageA(save.hwnd, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    std::string packed = folder + "\\packed.bin";
    ASSERT_TRUE(editor.AnswerFileDialog(packed));
    editor.Settle();
    EXPECT_EQ(ReadFile(packed), PackedBytes("41 42 \"cd\" 0a", 0));
    EXPECT_EQ(ReadFile(packed), "ABcd\n");
    EXPECT_EQ(editor.StatusPane(5), "テンプレートモード");
    EXPECT_EQ(ReadFile(path), "plain text\r\n");
}

TEST_F(SaveSafety, TextModeSavesTheTextAsItIs) {
    std::string path = folder + "\\same.txt";
    WriteFile(path, "first\r\nsecond\r\n");
    PramelSession editor("\"" + path + "\"", false);
    Dialog ask = editor.WaitForDialog();
    ASSERT_TRUE(ask);
    PramelSession::Click(ask, IDYES);
    ASSERT_TRUE(editor.Frame());
    editor.Settle();
    editor.TypeOver(0, 5, "FIRST");
    editor.Send(kSave);
    EXPECT_EQ(ReadFile(path), "FIRST\r\nsecond\r\n");
}

// Bytes that text mode cannot write back are named when the file opens,
// and the first save as text asks before it changes the file.
TEST_F(SaveSafety, TextModeTellsOfBytesItCannotKeepAndAsksBeforeTheFirstSave) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* named;
    };
    const Case cases[] = {
        {"lf.txt", "one\ntwo\r\n", "CR LF になっていない CR または LF"},
        {"zero.txt", std::string("a\0b\r\n", 5), "NUL"},
        {"sjis.txt", "x\x81\x20y\r\n", "シフト JIS として不正な並び"},
        {"cr.txt", "end\r", "CR LF になっていない CR または LF"},
    };
    std::string arguments;
    for (const Case& c : cases) {
        WriteFile(folder + "\\" + c.name, c.bytes);
        arguments += " \"" + folder + "\\" + c.name + "\"";
    }
    PramelSession editor(arguments, false);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Dialog ask = editor.WaitForDialog();
        ASSERT_TRUE(ask);
        PramelSession::Click(ask, IDYES);  // open as text
    }
    ASSERT_TRUE(WaitUntil([&] { return editor.Frames().size() == std::size(cases); }));
    editor.Settle();
    HWND lfFrame = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND frame = nullptr;
        for (HWND f : editor.Frames()) {
            if (editor.FrameTitle(f).find(c.name) != std::string::npos) frame = f;
        }
        ASSERT_TRUE(frame);
        const std::string shown = editor.OutputBarText(frame);
        EXPECT_NE(shown.find("テキストモードでは元のとおりに保存できないバイト"), std::string::npos) << shown;
        EXPECT_NE(shown.find(c.named), std::string::npos) << shown << "/" << editor.StatusPane(5, frame) << "/" << editor.Text(frame).size();
        if (std::string(c.name) == "lf.txt") lfFrame = frame;
    }

    // No leaves the file as it was; Yes saves the text; the next save does
    // not ask again.
    const std::string lfPath = folder + "\\lf.txt";
    editor.TypeOver(0, 3, "ONE", lfFrame);
    editor.Post(kSave, lfFrame);
    Dialog no = editor.WaitForDialog("テキストモードでの保存");
    ASSERT_TRUE(no);
    PramelSession::Click(no, IDNO);
    editor.Settle();
    EXPECT_EQ(ReadFile(lfPath), "one\ntwo\r\n");
    editor.Post(kSave, lfFrame);
    Dialog yes = editor.WaitForDialog("テキストモードでの保存");
    ASSERT_TRUE(yes);
    PramelSession::Click(yes, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(lfPath) != "one\ntwo\r\n"; }));
    editor.Settle();
    const std::string saved = ReadFile(lfPath);
    EXPECT_EQ(saved.substr(0, 3), "ONE");
    editor.TypeOver(0, 3, "one", lfFrame);
    editor.Send(kSave, lfFrame);
    editor.Settle();
    EXPECT_TRUE(editor.Dialogs().empty());
    EXPECT_EQ(ReadFile(lfPath).substr(0, 3), "one");
}

TEST_F(SaveSafety, ActiveFrameShowsTheFullPathAfterEverySave) {
    std::string path = folder + "\\title.bin";
    WriteFile(path, std::string("\x01\x02", 2));
    PramelSession editor("\"" + path + "\"");
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    SetForegroundWindow(frame);
    editor.Settle();
    ASSERT_EQ(GetForegroundWindow(), frame);
    EXPECT_EQ(editor.FrameTitle(), path + " - Pramel");
    editor.TypeOver(0, 2, "FF");
    editor.Send(kSave);
    EXPECT_EQ(ReadFile(path), std::string("\xFF\x02", 2));
    EXPECT_EQ(editor.FrameTitle(), path + " - Pramel");
    std::string copy = folder + "\\renamed.bin";
    editor.Post(kSaveAs);
    ASSERT_TRUE(editor.AnswerFileDialog(copy));
    editor.Settle();
    SetForegroundWindow(frame);
    editor.Settle();
    EXPECT_EQ(editor.FrameTitle(), copy + " - Pramel");
}
