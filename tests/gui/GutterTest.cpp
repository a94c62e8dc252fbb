// The offset gutter, the character pane and the view's text commands,
// driven in the running editor: what the gutter prints (its window text
// lists the labels of the visible lines, "#" marking a heading line), what
// the pane shows (its window text lists the visible lines' cells), the
// information bar's fields, the heading field, base lines, styles, font
// sizes, comment out and in, heading navigation, find, and a reload.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kOffsetByte = 32784;
constexpr UINT kOffsetLine = 32787;
constexpr UINT kRadixDec = 32788;
constexpr UINT kRadixHex = 32789;
constexpr UINT kAsciiPane = 32790;
constexpr UINT kCommentOut = 32791;
constexpr UINT kCommentClear = 32792;
constexpr UINT kHeadingUp = 32793;
constexpr UINT kHeadingDown = 32794;
constexpr UINT kFontLargest = 32796;
constexpr UINT kFontSmallest = 32800;
constexpr UINT kReload = 32802;
constexpr UINT kFindDown = 32810;
constexpr UINT kFindUp = 32811;
constexpr UINT kUndo = 57643;
constexpr int kFileSize = 1003;
constexpr int kCaretValue = 1005;
constexpr int kHeadingField = 32804;

// A window's text through the UTF-16 messages (the ANSI ones lose long
// double-byte texts across processes), in code page 932.
std::string WindowTextOf(HWND w) {
    if (!w) return {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::vector<wchar_t> wide(length * 2 + 2, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, 5000,
                        &got);
    int bytes = WideCharToMultiByte(932, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 0 ? bytes : 1, '\0');
    WideCharToMultiByte(932, 0, wide.data(), -1, text.data(), bytes, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find('\n', start)) != std::string::npos; start = at + 1) {
        lines.push_back(text.substr(start, at - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

HWND Container(const PramelSession& editor) { return GetParent(editor.Control()); }
HWND GutterWnd(const PramelSession& editor) { return FindWindowExA(Container(editor), nullptr, "PramelLineWnd", nullptr); }
HWND PaneWnd(const PramelSession& editor) { return FindWindowExA(Container(editor), nullptr, "PramelAsciiWnd", nullptr); }
std::vector<std::string> Labels(const PramelSession& editor) { return Lines(WindowTextOf(GutterWnd(editor))); }
std::vector<std::string> Cells(const PramelSession& editor) { return Lines(WindowTextOf(PaneWnd(editor))); }
int WidthOf(HWND w) {
    RECT rc{};
    GetWindowRect(w, &rc);
    return rc.right - rc.left;
}
std::vector<std::string> First(std::vector<std::string> lines, std::size_t n) {
    if (lines.size() > n) lines.resize(n);
    return lines;
}

long LineOfChar(const PramelSession& editor, long index) {
    DWORD_PTR line = 0;
    SendMessageTimeoutA(editor.Control(), EM_EXLINEFROMCHAR, 0, index, SMTO_ABORTIFHUNG, 5000, &line);
    return static_cast<long>(line);
}
long LineStart(const PramelSession& editor, long line) {
    DWORD_PTR start = 0;
    SendMessageTimeoutA(editor.Control(), EM_LINEINDEX, static_cast<WPARAM>(line), 0, SMTO_ABORTIFHUNG, 5000, &start);
    return static_cast<long>(start);
}

// A left click on the gutter beside a line.
void ClickGutter(const PramelSession& editor, long line) {
    POINT at = editor.CharPosition(LineStart(editor, line));
    DWORD_PTR r = 0;
    SendMessageTimeoutA(GutterWnd(editor), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, at.y + 2), SMTO_ABORTIFHUNG, 5000,
                        &r);
    SendMessageTimeoutA(GutterWnd(editor), WM_LBUTTONUP, 0, MAKELPARAM(3, at.y + 2), SMTO_ABORTIFHUNG, 5000, &r);
    editor.Settle();
}

class Gutter : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string folder;
};

// 40 bytes: "ABCDEFGHIJKLMNOP", the Japanese "あいうえおかきく" (code page
// 932), then "01234567".
std::string SampleBytes() {
    return std::string("ABCDEFGHIJKLMNOP") + "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab\x82\xad" +
           "01234567";
}

}  // namespace

TEST_F(Gutter, FollowsEditsBaseLinesStylesFontsAndReloads) {
    std::string path = folder + "\\sample.dat";
    WriteFile(path, SampleBytes());
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    ASSERT_TRUE(GutterWnd(editor));
    ASSERT_TRUE(PaneWnd(editor));
    ASSERT_TRUE(WaitUntil([&] { return editor.ItemText(kFileSize) == "      40 [      28H]"; }))
        << editor.ItemText(kFileSize);
    EXPECT_EQ(First(Labels(editor), 3), (std::vector<std::string>{"0000", "0010", "0020"}));
    EXPECT_EQ(First(Cells(editor), 3),
              (std::vector<std::string>{"ABCDEFGHIJKLMNOP", "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab\x82\xad",
                                        "01234567        "}));

    // Two bytes typed at the start of line 1: the lines below move by two
    // bytes, the size and the pane follow after the refresh.
    editor.TypeOver(LineStart(editor, 1), LineStart(editor, 1), "5A 5A ");
    ASSERT_TRUE(WaitUntil([&] { return editor.ItemText(kFileSize) == "      42 [      2AH]"; }))
        << editor.ItemText(kFileSize);
    EXPECT_EQ(First(Labels(editor), 3), (std::vector<std::string>{"0000", "0010", "0022"}));
    EXPECT_EQ(First(Cells(editor), 2)[1], "ZZ\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab");

    // The caret value at the caret and for a selection.
    editor.Select(LineStart(editor, 1) + 1, LineStart(editor, 1) + 1);
    EXPECT_TRUE(WaitUntil([&] { return editor.ItemText(kCaretValue) == "90"; })) << editor.ItemText(kCaretValue);
    editor.Select(LineStart(editor, 1) + 6, LineStart(editor, 1) + 8);
    EXPECT_TRUE(WaitUntil([&] { return editor.ItemText(kCaretValue) == "130 (-126)"; }))
        << editor.ItemText(kCaretValue);
    editor.Select(LineStart(editor, 1) + 6, LineStart(editor, 1) + 9);
    EXPECT_TRUE(WaitUntil([&] { return editor.ItemText(kCaretValue).empty(); })) << editor.ItemText(kCaretValue);

    // A base line on line 2: the offsets count from it, in both directions.
    ClickGutter(editor, 2);
    EXPECT_EQ(editor.StatusPane(0), "基点行を設定しました。");
    EXPECT_EQ(First(Labels(editor), 3), (std::vector<std::string>{"0022", "0012", "0000"}));
    ClickGutter(editor, 2);
    EXPECT_EQ(editor.StatusPane(0), "基点行を解除しました。");
    EXPECT_EQ(First(Labels(editor), 3), (std::vector<std::string>{"0000", "0010", "0022"}));

    // Styles: line numbers in decimal, then off, then byte offsets again
    // (hexadecimal: the decimal bit went with the gutter).
    editor.Send(kOffsetLine);
    EXPECT_EQ(editor.StatusPane(0), "行番号１６進表示に切り替えました。");
    editor.Send(kRadixDec);
    EXPECT_EQ(editor.StatusPane(0), "行番号１０進表示に切り替えました。");
    EXPECT_EQ(First(Labels(editor), 3), (std::vector<std::string>{"0001", "0002", "0003"}));
    DWORD stored = 0;
    EXPECT_TRUE(GetSetting("PramelView", "LineStyle", &stored));
    EXPECT_EQ(stored, 0x81u);
    EXPECT_NE(editor.MenuItemState(kRadixDec) & MF_CHECKED, 0u);
    editor.Send(kOffsetLine);
    EXPECT_EQ(WidthOf(GutterWnd(editor)), 5);
    editor.Send(kOffsetByte);
    EXPECT_EQ(editor.StatusPane(0), "バイト数１６進表示に切り替えました。");
    EXPECT_NE(editor.MenuItemState(kRadixHex) & MF_CHECKED, 0u);
    EXPECT_EQ(First(Labels(editor), 3), (std::vector<std::string>{"0000", "0010", "0022"}));

    // The gutter's context menu (resource 138) offers the same commands.
    HMODULE exe = LoadLibraryExA(PramelPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(exe);
    HMENU menu = LoadMenuA(exe, MAKEINTRESOURCEA(138));
    ASSERT_TRUE(menu);
    std::vector<UINT> items;
    for (int i = 0; i < GetMenuItemCount(GetSubMenu(menu, 0)); ++i) items.push_back(GetMenuItemID(GetSubMenu(menu, 0), i));
    EXPECT_EQ(items, (std::vector<UINT>{kOffsetByte, kOffsetByte + 1, kOffsetByte + 2, kOffsetLine, 0,
                                        kRadixHex, kRadixDec}));
    DestroyMenu(menu);
    FreeLibrary(exe);

    // A larger font widens the gutter and the pane; the text starts right
    // of the gutter. Hiding the pane gives its room back to the text.
    int gutterSmall = 0, paneSmall = 0, insetSmall = 0;
    for (UINT size : {kFontSmallest, kFontLargest}) {
        editor.Send(size);
        int gutterWidth = WidthOf(GutterWnd(editor));
        int paneWidth = WidthOf(PaneWnd(editor));
        int inset = editor.CharPosition(0).x - gutterWidth;
        EXPECT_GT(inset, 0) << size;
        if (size == kFontSmallest) {
            gutterSmall = gutterWidth;
            paneSmall = paneWidth;
            insetSmall = inset;
        } else {
            EXPECT_GT(gutterWidth, gutterSmall);
            EXPECT_GT(paneWidth, paneSmall);
            EXPECT_EQ(inset, insetSmall);
        }
    }
    editor.Send(kAsciiPane);
    EXPECT_FALSE(IsWindowVisible(PaneWnd(editor)));
    editor.Send(kAsciiPane);
    EXPECT_TRUE(IsWindowVisible(PaneWnd(editor)));

    // A reload replaces the control: the gutter and the pane stay, above
    // the new control, and describe the file again.
    HWND gutter = GutterWnd(editor);
    editor.Post(kReload);
    Dialog ask = editor.WaitForDialog();
    ASSERT_TRUE(ask);
    PramelSession::Click(ask, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return editor.ItemText(kFileSize) == "      40 [      28H]"; }))
        << editor.ItemText(kFileSize);
    EXPECT_EQ(GutterWnd(editor), gutter);
    EXPECT_EQ(First(Labels(editor), 3), (std::vector<std::string>{"0000", "0010", "0020"}));
    EXPECT_EQ(First(Cells(editor), 3)[2], "01234567        ");
    POINT inGutter{2, editor.CharPosition(0).y + 2};
    ClientToScreen(Container(editor), &inGutter);
    EXPECT_EQ(WindowFromPoint(inGutter), gutter);
    editor.Screenshot("gutter-after-reload");
}

TEST_F(Gutter, HeadingsCommentsAndFind) {
    std::string path = folder + "\\headings.dat";
    WriteFile(path, SampleBytes());
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    // A hand-written text with headings far apart.
    std::string text = "[Header]\r00 8000 FF\r";
    for (int i = 0; i < 60; ++i) text += "11 22 33 44\r";
    text += "[Body]\r06 07\r\r08 09\r";
    for (int i = 0; i < 60; ++i) text += "55 66 77 88\r";
    text += "[Tail] 82A0 82A2\r\"あいう\"\r0A 8000";
    for (int i = 0; i < 40; ++i) text += "\r99";
    editor.SetText(text);
    const long body = 62, tail = 126;
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<std::string> labels = Labels(editor);
        return !labels.empty() && labels[0] == "#0000";
    })) << WindowTextOf(GutterWnd(editor));

    // Scrolled down: the gutter and the pane start at the first visible line.
    editor.ScrollToLine(40);
    ASSERT_EQ(editor.FirstVisibleLine(), 40);
    EXPECT_EQ(Labels(editor)[0], "009C");
    EXPECT_EQ(Cells(editor)[0], " \"3D            ");
    editor.ScrollToLine(0);

    // The heading field follows the caret; the caret value reads the number.
    editor.Select(LineStart(editor, 1) + 4, LineStart(editor, 1) + 4);
    EXPECT_TRUE(WaitUntil([&] { return editor.ItemText(kHeadingField) == " [Header]"; }))
        << editor.ItemText(kHeadingField);
    EXPECT_TRUE(WaitUntil([&] { return editor.ItemText(kCaretValue) == "32768 (-32768)"; }))
        << editor.ItemText(kCaretValue);

    // Ctrl+Down and Ctrl+Up go from heading to heading and keep the
    // heading on the caret's screen row.
    editor.Select(LineStart(editor, 10), LineStart(editor, 10));
    long row = 10 - editor.FirstVisibleLine();
    editor.Send(kHeadingDown);
    EXPECT_EQ(LineOfChar(editor, editor.Selection().cpMin), body);
    EXPECT_EQ(editor.Selection().cpMin, LineStart(editor, body));
    EXPECT_EQ(body - editor.FirstVisibleLine(), row);
    EXPECT_TRUE(WaitUntil([&] { return editor.ItemText(kHeadingField) == " [Body]"; }));
    EXPECT_EQ(Labels(editor)[row], "#00F4");
    editor.Send(kHeadingDown);
    EXPECT_EQ(LineOfChar(editor, editor.Selection().cpMin), tail);
    EXPECT_EQ(tail - editor.FirstVisibleLine(), row);
    // The heading band and Japanese cells, in byte offsets and line numbers.
    editor.Screenshot("gutter-bytes-headings");
    EXPECT_EQ(Cells(editor)[row].substr(0, 4), "\x82\xa0\x82\xa2");
    EXPECT_EQ(Cells(editor)[row + 1].substr(0, 6), "\x82\xa0\x82\xa2\x82\xa4");
    editor.Send(kOffsetLine);
    ClickGutter(editor, body);
    editor.Screenshot("gutter-lines-base-line");
    EXPECT_EQ(Labels(editor)[row], "#0041");  // 64 lines below the base line
    editor.Send(kOffsetByte);
    long before = editor.Selection().cpMin;
    long first = editor.FirstVisibleLine();
    editor.Send(kHeadingDown);  // no heading below the last
    EXPECT_EQ(editor.Selection().cpMin, before);
    EXPECT_EQ(editor.FirstVisibleLine(), first);
    editor.Send(kHeadingUp);
    EXPECT_EQ(LineOfChar(editor, editor.Selection().cpMin), body);
    editor.Send(kHeadingUp);
    EXPECT_EQ(LineOfChar(editor, editor.Selection().cpMin), 0);
    before = editor.Selection().cpMin;
    editor.Send(kHeadingUp);  // none above the first
    EXPECT_EQ(editor.Selection().cpMin, before);

    // Comment out three lines with an empty middle one, then uncomment: the
    // text is back and the three lines stay selected.
    std::string original = editor.Text();
    editor.Select(LineStart(editor, body + 1) + 2, LineStart(editor, body + 3) + 1);
    CHARRANGE lines{LineStart(editor, body + 1), LineStart(editor, body + 4) - 1};
    editor.Send(kCommentOut);
    std::string commented = editor.Text();
    EXPECT_NE(commented.find("[Body]\r\n<06 07>\r\n\r\n<08 09>\r\n55"), std::string::npos);
    CHARRANGE selected = editor.Selection();
    EXPECT_EQ(selected.cpMin, lines.cpMin);
    EXPECT_EQ(selected.cpMax, lines.cpMax + 4);
    editor.Send(kCommentClear);
    EXPECT_EQ(editor.Text(), original);
    selected = editor.Selection();
    EXPECT_EQ(selected.cpMin, lines.cpMin);
    EXPECT_EQ(selected.cpMax, lines.cpMax);
    editor.Send(kUndo);
    EXPECT_EQ(editor.Text(), commented);
    editor.Send(kUndo);
    EXPECT_EQ(editor.Text(), original);
    // On one empty line nothing happens.
    editor.Select(LineStart(editor, body + 2), LineStart(editor, body + 2));
    editor.Send(kCommentOut);
    EXPECT_EQ(editor.Text(), original);

    // Find down and up select the next and the previous match.
    editor.SetFindBoxText("8000");
    editor.Select(0, 0);
    editor.Send(kFindDown);
    long firstMatch = LineStart(editor, 1) + 3;
    EXPECT_EQ(editor.Selection().cpMin, firstMatch);
    editor.Send(kFindDown);
    long lastMatch = LineStart(editor, tail + 2) + 3;
    EXPECT_EQ(editor.Selection().cpMin, lastMatch);
    EXPECT_EQ(editor.Selection().cpMax, lastMatch + 4);
    editor.Send(kFindUp);
    EXPECT_EQ(editor.Selection().cpMin, firstMatch);
    EXPECT_EQ(editor.FindBoxHistory(), (std::vector<std::string>{"8000"}));
}
