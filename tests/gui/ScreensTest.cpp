// The main window in each mode, captured for people to look at. Under the
// null graphics driver the images are empty; take-screenshots.sh runs these
// tests on an X display (Xvfb) where they show the real window.
#include <gtest/gtest.h>

#include "PramelSession.h"

using namespace gui;

namespace {

void Capture(const PramelSession& editor, const std::string& name, const std::string& mode) {
    editor.Settle();
    EXPECT_EQ(editor.StatusPane(5), mode);
    EXPECT_FALSE(editor.Screenshot(name).empty());
}

}  // namespace

TEST(Screens, EachMode) {
    ResetSettings();
    std::string folder = ScratchFolder("screens");
    std::string text = folder + "\\readme.txt";
    WriteFile(text, "Pramel で開いたテキストファイル\r\n\t[見出し] 01 02 03 <コメント>\r\n\"ABC\" 41 42 43\r\n");
    std::string binary = folder + "\\image.bin";
    std::string bytes;
    for (int i = 0; i < 1024; ++i) bytes += static_cast<char>((i * 37) ^ (i >> 3));
    WriteFile(binary, bytes);
    {
        PramelSession editor("");
        ASSERT_TRUE(editor.Frame());
        Capture(editor, "mode-untitled", "バイナリモード");
    }
    {
        PramelSession editor("\"" + text + "\"", false);
        Dialog ask = editor.WaitForDialog();
        ASSERT_TRUE(ask);
        editor.Screenshot("question-text-mode", ask.hwnd);
        PramelSession::Click(ask, IDYES);
        ASSERT_TRUE(editor.Frame());
        Capture(editor, "mode-text", "テキストモード");
    }
    {
        PramelSession editor("\"" + binary + "\"");
        ASSERT_TRUE(editor.Frame());
        editor.Send(32781);  // words
        Capture(editor, "mode-binary", "バイナリモード");
    }
}
