// The View menu's font sizes and tab widths: what the text looks like
// after each command, the check mark on the menu item that is in force, and
// the registry values ("FontSize", "TabCount" in "PramelView") that the
// next start begins with.
#include <gtest/gtest.h>

#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kFontLargest = 32796;
constexpr UINT kFontLarge = 32797;
constexpr UINT kFontMedium = 32798;
constexpr UINT kFontSmall = 32799;
constexpr UINT kFontSmallest = 32800;
constexpr UINT kTab1 = 32805;
constexpr UINT kTab2 = 32806;
constexpr UINT kTab4 = 32807;
constexpr UINT kTab8 = 32808;
constexpr UINT kUndo = 57643;
const std::vector<UINT> kFontSizes = {kFontLargest, kFontLarge, kFontMedium, kFontSmall, kFontSmallest};
const std::vector<UINT> kTabWidths = {kTab1, kTab2, kTab4, kTab8};

bool Checked(const PramelSession& editor, UINT command) {
    UINT state = editor.MenuItemState(command);
    return state != 0xFFFFFFFF && (state & MF_CHECKED) != 0;
}

// The one checked item among the commands (0 when none or several are).
UINT CheckedOf(const PramelSession& editor, const std::vector<UINT>& commands) {
    UINT checked = 0;
    int count = 0;
    for (UINT c : commands) {
        if (Checked(editor, c)) {
            checked = c;
            ++count;
        }
    }
    return count == 1 ? checked : 0;
}

DWORD Setting(const char* entry) {
    DWORD value = 0;
    return GetSetting("PramelView", entry, &value) ? value : 0;
}

// A text file opened in text mode, so that its tabs reach the view as they
// are.
std::unique_ptr<PramelSession> OpenAsText(const std::string& path) {
    auto editor = std::make_unique<PramelSession>("\"" + path + "\"", false);
    Dialog ask = editor->WaitForDialog();
    if (!ask) return editor;
    PramelSession::Click(ask, IDYES);
    if (editor->Frame()) editor->Settle();
    return editor;
}

class ViewSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string folder;
};

// Lines with a tab after 0, 2, 5 and 3 characters, a ruler of digits, and
// the last tab line far below the first ones.
struct TabText {
    std::string file;
    struct TabLine {
        long tabAt;   // character index of the tab in the control
        int column;   // characters before it on its line
    };
    std::vector<TabLine> tabs;
    long ruler = 0;  // index of the ruler's first digit
};

TabText MakeTabText() {
    TabText t;
    long at = 0;
    auto add = [&](const std::string& line) {
        std::size_t tab = line.find('\t');
        if (tab != std::string::npos) t.tabs.push_back({at + static_cast<long>(tab), static_cast<int>(tab)});
        t.file += line + "\r\n";
        at += static_cast<long>(line.size()) + 1;  // the control counts a line break as one character
    };
    add("\tA");
    add("ab\tB");
    add("abcde\tC");
    t.ruler = at;
    add("0123456789012345678901234");
    for (int i = 0; i < 36; ++i) add("filler line " + std::to_string(i));
    add("abc\tD");
    return t;
}

// Where the character after each tab stands, in columns of the ruler's
// character width; every tab must end on the next multiple of the width.
void ExpectTabColumns(const PramelSession& editor, const TabText& t, int width, const char* when) {
    int x0 = editor.CharPosition(t.ruler).x;
    int x20 = editor.CharPosition(t.ruler + 20).x;
    double advance = (x20 - x0) / 20.0;
    ASSERT_GT(advance, 2.0) << when;
    for (const auto& line : t.tabs) {
        int expected = (line.column / width + 1) * width;
        double column = (editor.CharPosition(line.tabAt + 1).x - x0) / advance;
        EXPECT_NEAR(column, expected, 0.34) << when << ": tab after " << line.column << " characters, width " << width;
    }
}

}  // namespace

TEST_F(ViewSettings, FontSizeCommandsSetTheHeightCheckTheItemAndAreKept) {
    std::string path = folder + "\\sizes.bin";
    WriteFile(path, std::string(64, 'A'));
    {
        PramelSession editor("\"" + path + "\"");
        ASSERT_TRUE(editor.Frame());
        // Medium (280 twips) by default.
        EXPECT_EQ(editor.DefaultCharFormat().yHeight, 280);
        EXPECT_EQ(CheckedOf(editor, kFontSizes), kFontMedium);
        struct Case {
            UINT command;
            LONG height;
        };
        int lastPitch = 1 << 30;
        for (Case c : {Case{kFontLargest, 380}, Case{kFontLarge, 320}, Case{kFontMedium, 280}, Case{kFontSmall, 240},
                       Case{kFontSmallest, 180}}) {
            editor.Send(c.command);
            CHARFORMAT2A format = editor.DefaultCharFormat();
            EXPECT_EQ(format.yHeight, c.height) << c.command;
            EXPECT_STREQ(format.szFaceName, "ＭＳ ゴシック") << c.command;
            EXPECT_EQ(Setting("FontSize"), c.command);
            EXPECT_EQ(CheckedOf(editor, kFontSizes), c.command);
            // The lines of text follow: each smaller size sets them closer.
            int pitch = editor.CharPosition(48).y - editor.CharPosition(0).y;
            EXPECT_LT(pitch, lastPitch) << c.command;
            lastPitch = pitch;
        }
        editor.Send(kFontLarge);
    }
    // The next start uses the size chosen last.
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    EXPECT_EQ(editor.DefaultCharFormat().yHeight, 320);
    EXPECT_TRUE(Checked(editor, kFontLarge));
    EXPECT_FALSE(Checked(editor, kFontMedium));
}

TEST_F(ViewSettings, TabWidthCommandsSetTheStopsOfEveryLine) {
    TabText t = MakeTabText();
    std::string path = folder + "\\tabs.txt";
    WriteFile(path, t.file);
    {
        auto editor = OpenAsText(path);
        ASSERT_TRUE(editor->Frame());
        ASSERT_EQ(editor->StatusPane(5), "テキストモード");
        // One character per tab by default, on every line of the file.
        EXPECT_EQ(CheckedOf(*editor, kTabWidths), kTab1);
        ExpectTabColumns(*editor, t, 1, "after loading");
        // The stops are no edit: there is nothing to undo after loading.
        UINT undo = editor->MenuItemState(kUndo);
        EXPECT_TRUE(undo != 0xFFFFFFFF && (undo & MF_GRAYED)) << undo;
        // A selection on one line does not limit a new width to that line.
        editor->Select(t.tabs[2].tabAt - 2, t.tabs[2].tabAt + 1);
        struct Case {
            UINT command;
            int width;
        };
        for (Case c : {Case{kTab2, 2}, Case{kTab4, 4}, Case{kTab8, 8}, Case{kTab1, 1}, Case{kTab4, 4}}) {
            editor->Send(c.command);
            EXPECT_EQ(Setting("TabCount"), c.command);
            EXPECT_EQ(CheckedOf(*editor, kTabWidths), c.command);
            ExpectTabColumns(*editor, t, c.width, "after the command");
        }
        // Tab stops are counted in characters of the font in use.
        editor->Send(kFontLargest);
        ExpectTabColumns(*editor, t, 4, "after a font size change");
        editor->Send(kFontSmallest);
        ExpectTabColumns(*editor, t, 4, "after a font size change");
        // A line typed now has the same stops: Enter at the end of the
        // first line, then "xy", a tab and "E".
        long end = t.tabs[0].tabAt + 2;
        editor->Select(end, end);
        editor->PressKey(VK_RETURN);
        editor->TypeOver(end + 1, end + 1, "xy\tE");
        ASSERT_EQ(editor->Text().substr(0, 10), "\tA\r\nxy\tE\r\n");
        long e = end + 4;  // "E", after the line break, "xy" and the tab
        int x0 = editor->CharPosition(t.ruler + 5).x;
        int x20 = editor->CharPosition(t.ruler + 25).x;
        double column = (editor->CharPosition(e).x - x0) / ((x20 - x0) / 20.0);
        EXPECT_NEAR(column, 4, 0.34) << "typed line";
    }
    // The next start uses the width chosen last.
    auto editor = OpenAsText(path);
    ASSERT_TRUE(editor->Frame());
    EXPECT_EQ(CheckedOf(*editor, kTabWidths), kTab4);
    ExpectTabColumns(*editor, t, 4, "after a new start");
}
