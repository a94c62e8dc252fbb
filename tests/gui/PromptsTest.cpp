// Tooltips and status-bar prompts: a command's string-table entry is its
// prompt, a line break, then its tooltip. The tooltip shows while the mouse
// rests on the command's toolbar button; the prompt shows in the status
// bar's message pane while the mouse is on an enabled button or while the
// command's menu item is selected, and "レディ" comes back afterwards.
#include <gtest/gtest.h>

#include "PramelSession.h"

using namespace gui;

namespace {

constexpr int kStandardBar = 59392;
constexpr int kEditBar = 134;
const char kIdle[] = "レディ";

class Prompts : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
};

bool MenuOpen(const PramelSession& editor) {
    HWND popup = nullptr;
    while ((popup = FindWindowExA(nullptr, popup, "#32768", nullptr)) != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(popup, &pid);
        if (pid == editor.processId() && IsWindowVisible(popup)) return true;
    }
    return false;
}

// Presses a key in the open menu, the way the keyboard does; the menu
// takes it from the frame's queue.
void MenuKey(const PramelSession& editor, UINT key) {
    PostMessageA(editor.Frame(), WM_KEYDOWN, key, 1);
    PostMessageA(editor.Frame(), WM_KEYUP, key, 0xC0000001);
}

}  // namespace

TEST_F(Prompts, ToolbarButtonsShowTheirTooltipAndPrompt) {
    PramelSession editor("");
    ASSERT_TRUE(editor.Frame());
    struct Case {
        int bar;
        UINT command;
        const char* tooltip;
        const char* prompt;
    };
    // Enabled buttons: the tooltip and the prompt.
    for (const Case& c : {Case{kStandardBar, 57601, "開く", "既存のファイルを開く"},
                          Case{kStandardBar, 32810, "下方検索", "文字列の下方検索"},
                          Case{kStandardBar, 32811, "上方検索", "文字列の上方検索"},
                          Case{kStandardBar, 57607, "印刷", "作業中のファイルを印刷する"}}) {
        EXPECT_EQ(editor.HoverToolButton(c.bar, c.command), c.tooltip) << c.command;
        EXPECT_EQ(editor.StatusPane(0), c.prompt) << c.command;
    }
    editor.MoveMouseToText();
    EXPECT_TRUE(WaitUntil([&] { return editor.StatusPane(0) == kIdle; })) << editor.StatusPane(0);
    // The edit toolbar's buttons have their tooltips whether or not their
    // command can run now.
    for (const Case& c : {Case{kEditBar, 32791, "コメントアウト設定", ""}, Case{kEditBar, 32794, "下の見出し", ""},
                          Case{kEditBar, 32790, "アスキー文字表示切替", ""}}) {
        EXPECT_EQ(editor.HoverToolButton(c.bar, c.command), c.tooltip) << c.command;
    }
}

TEST_F(Prompts, MenuItemsShowTheirPromptWhileSelected) {
    PramelSession editor("");
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    auto shows = [&](const std::string& prompt) {
        return WaitUntil([&] { return editor.StatusPane(0) == prompt; });
    };
    // Alt+V opens "表示(&V)"; X opens "文字のサイズ(&X)" with its first item
    // selected; the arrow keys move through the items.
    PostMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 'v');
    ASSERT_TRUE(WaitUntil([&] { return MenuOpen(editor); }));
    PostMessageA(frame, WM_CHAR, 'x', 1);
    EXPECT_TRUE(shows("文字のサイズを最大に切り替える")) << editor.StatusPane(0);
    MenuKey(editor, VK_DOWN);
    EXPECT_TRUE(shows("文字のサイズを大に切り替える")) << editor.StatusPane(0);
    MenuKey(editor, VK_UP);
    MenuKey(editor, VK_UP);
    EXPECT_TRUE(shows("文字のサイズを最小に切り替える")) << editor.StatusPane(0);
    // Back in "表示", past "タブの文字数" and a separator to "常に手前に表示".
    MenuKey(editor, VK_LEFT);
    MenuKey(editor, VK_DOWN);
    MenuKey(editor, VK_DOWN);
    EXPECT_TRUE(shows("ウィンドウを常に手前に表示する")) << editor.StatusPane(0);
    MenuKey(editor, VK_DOWN);
    EXPECT_TRUE(shows("ウィンドウをディスプレイ全体に表示する")) << editor.StatusPane(0);
    // Leaving the menu (Escape closes the menus, then leaves the menu bar)
    // brings the idle text back.
    for (int i = 0; i < 4 && MenuOpen(editor); ++i) {
        MenuKey(editor, VK_ESCAPE);
        editor.Settle();
    }
    MenuKey(editor, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !MenuOpen(editor) && editor.StatusPane(0) == kIdle; }))
        << editor.StatusPane(0);
}
