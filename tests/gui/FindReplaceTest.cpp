// Finding and replacing text: the Find and Replace dialogs (down, up, match
// case, whole word, replace one, replace all, nothing found), F3, and the
// find box on the standard toolbar with its history, which searches with
// the options last chosen in the Find dialog.
#include <gtest/gtest.h>

#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kFind = 57636;
constexpr UINT kFindNext = 57640;  // F3
constexpr UINT kReplace = 57641;
constexpr UINT kFindBoxFind = 32809;
constexpr UINT kFindDown = 32810;
constexpr UINT kFindUp = 32811;

// Control ids of the system's Find and Replace dialogs.
constexpr int kFindWhat = 0x480;
constexpr int kReplaceWith = 0x481;
constexpr int kWholeWord = 0x410;
constexpr int kMatchCase = 0x411;
constexpr int kUp = 0x420;
constexpr int kDown = 0x421;
constexpr int kReplaceOne = 0x400;
constexpr int kReplaceAll = 0x401;

class FindReplace : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(); }

    // Starts an empty editor and puts the text into its view.
    void Start(const std::string& text) {
        editor = std::make_unique<PramelSession>("");
        ASSERT_TRUE(editor->Frame());
        editor->SetText(text);
        editor->Select(0, 0);
        editor->Settle();
    }

    // The open Find (or, with replace, Replace) dialog.
    Dialog OpenDialog(UINT command, bool replace) {
        editor->Post(command);
        Dialog found;
        WaitUntil([&] {
            for (const Dialog& d : editor->Dialogs()) {
                if (GetDlgItem(d.hwnd, kFindWhat) && (GetDlgItem(d.hwnd, kReplaceWith) != nullptr) == replace) {
                    found = d;
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    // Fills the dialog in as a user would and presses one of its buttons;
    // returns once the editor has searched.
    void Press(const Dialog& dialog, const std::string& what, int button, bool matchCase = false,
               bool wholeWord = false, bool up = false, const std::string& with = {}) {
        SetDlgText(dialog, kFindWhat, what);
        if (GetDlgItem(dialog.hwnd, kReplaceWith)) SetDlgText(dialog, kReplaceWith, with);
        Check(dialog, kMatchCase, matchCase);
        Check(dialog, kWholeWord, wholeWord);
        if (GetDlgItem(dialog.hwnd, kUp)) {
            Check(dialog, kUp, up);
            Check(dialog, kDown, !up);
        }
        DWORD_PTR r = 0;
        SendMessageTimeoutA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                            reinterpret_cast<LPARAM>(GetDlgItem(dialog.hwnd, button)), SMTO_ABORTIFHUNG, 20000, &r);
        editor->Settle();
    }

    static void SetDlgText(const Dialog& dialog, int id, const std::string& text) {
        DWORD_PTR r = 0;
        SendMessageTimeoutA(GetDlgItem(dialog.hwnd, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_ABORTIFHUNG, 20000, &r);
    }
    static void Check(const Dialog& dialog, int id, bool on) {
        DWORD_PTR r = 0;
        SendMessageTimeoutA(GetDlgItem(dialog.hwnd, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0,
                            SMTO_ABORTIFHUNG, 20000, &r);
    }

    std::pair<long, long> Selected() const {
        CHARRANGE range = editor->Selection();
        return {range.cpMin, range.cpMax};
    }
    // The editor shows no message box: only the dialog that is open.
    bool NoMessageBox(const Dialog& open) const {
        for (const Dialog& d : editor->Dialogs()) {
            if (d.hwnd != open.hwnd) return false;
        }
        return true;
    }

    std::unique_ptr<PramelSession> editor;
};

using Range = std::pair<long, long>;

}  // namespace

TEST_F(FindReplace, FindDialogSearchesDownAndUpWithItsOptions) {
    //          0         1         2
    //          0123456789012345678901234
    Start("ab AB ab aB abc\r\nxab ab");
    // The toolbar's find button opens the Find dialog.
    Dialog find = OpenDialog(kFindBoxFind, false);
    ASSERT_TRUE(find);
    Press(find, "ab", IDOK);
    EXPECT_EQ(Selected(), Range(0, 2));
    Press(find, "ab", IDOK);
    EXPECT_EQ(Selected(), Range(3, 5));  // any case
    Press(find, "ab", IDOK, /*matchCase=*/true);
    EXPECT_EQ(Selected(), Range(6, 8));
    Press(find, "ab", IDOK, true, /*wholeWord=*/true);
    EXPECT_EQ(Selected(), Range(20, 22));  // not in "abc" or "xab"
    Press(find, "ab", IDOK, true, false, /*up=*/true);
    EXPECT_EQ(Selected(), Range(17, 19));  // "ab" of "xab", above the selection
    Press(find, "AB", IDOK, true, false, true);
    EXPECT_EQ(Selected(), Range(3, 5));
    // Nothing found: the selection stays, nothing but the dialog shows, and
    // the dialog stays open for another try.
    Press(find, "zz", IDOK);
    EXPECT_EQ(Selected(), Range(3, 5));
    EXPECT_TRUE(NoMessageBox(find));
    EXPECT_TRUE(IsWindowVisible(find.hwnd));
    // Every text the dialog searched for is in the find box's list, the
    // last one first and in the box.
    EXPECT_EQ(editor->FindBoxHistory(), (std::vector<std::string>{"zz", "AB", "ab"}));
    EXPECT_EQ(editor->FindBoxText(), "zz");
    Press(find, "ab", IDOK, /*matchCase=*/false);
    PramelSession::Click(find, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(find.hwnd) || !IsWindowVisible(find.hwnd); }));
    // F3 repeats the last search of the dialog: down, any case.
    editor->Select(0, 0);
    editor->Send(kFindNext);
    EXPECT_EQ(Selected(), Range(0, 2));
    editor->Send(kFindNext);
    EXPECT_EQ(Selected(), Range(3, 5));
}

TEST_F(FindReplace, ReplaceDialogReplacesOneOrAll) {
    //          0         1         2
    //          0123456789012345678901234
    Start("cat dog cat CAT catalog");
    Dialog replace = OpenDialog(kReplace, true);
    ASSERT_TRUE(replace);
    // Replace with no match selected yet only finds the first one.
    Press(replace, "cat", kReplaceOne, true, false, false, "cow");
    EXPECT_EQ(editor->Text(), "cat dog cat CAT catalog");
    EXPECT_EQ(Selected(), Range(0, 3));
    // Now it replaces the selected match and goes on to the next.
    Press(replace, "cat", kReplaceOne, true, false, false, "cow");
    EXPECT_EQ(editor->Text(), "cow dog cat CAT catalog");
    EXPECT_EQ(Selected(), Range(8, 11));
    // Replace all, whole words in any case: "catalog" stays.
    Press(replace, "cat", kReplaceAll, false, true, false, "owl");
    EXPECT_EQ(editor->Text(), "cow dog owl owl catalog");
    // Replace all of a text the replacement contains ends after one pass.
    Press(replace, "o", kReplaceAll, false, false, false, "oo");
    EXPECT_EQ(editor->Text(), "coow doog oowl oowl cataloog");
    // Nothing to replace: the text stays and no message box shows.
    Press(replace, "zebra", kReplaceAll, false, false, false, "x");
    EXPECT_EQ(editor->Text(), "coow doog oowl oowl cataloog");
    EXPECT_TRUE(NoMessageBox(replace));
    // Everything searched for is in the find box's list.
    EXPECT_EQ(editor->FindBoxHistory(), (std::vector<std::string>{"zebra", "o", "cat"}));

    // A long selection of double-byte characters (256 characters, 512
    // bytes, more than a search text holds) is compared with the text
    // searched for, not copied into its buffer: Replace leaves it alone,
    // and Replace All replaces each character.
    std::string japanese;
    for (int i = 0; i < 256; ++i) japanese += "日";
    editor->SetText(japanese + "本");
    editor->Select(0, 256);
    Press(replace, "本", kReplaceOne, false, false, false, "x");
    ASSERT_TRUE(editor->running());
    EXPECT_EQ(editor->Text(), japanese + "本");
    EXPECT_EQ(Selected(), Range(256, 257));
    editor->Select(0, 256);
    Press(replace, "日", kReplaceAll, false, false, false, "月");
    std::string replaced;
    for (int i = 0; i < 256; ++i) replaced += "月";
    EXPECT_EQ(editor->Text(), replaced + "本");
    PramelSession::Click(replace, IDCANCEL);
}

TEST_F(FindReplace, FindBoxSearchesDownAndUpAndKeepsAHistory) {
    //          0         1
    //          012345678901234
    Start("12 34 12 34 12");
    // An empty box does nothing.
    editor->Send(kFindDown);
    EXPECT_EQ(Selected(), Range(0, 0));
    EXPECT_TRUE(editor->FindBoxHistory().empty());

    editor->SetFindBoxText("12");
    editor->Send(kFindDown);
    EXPECT_EQ(Selected(), Range(0, 2));
    editor->Send(kFindDown);
    EXPECT_EQ(Selected(), Range(6, 8));
    editor->Send(kFindUp);
    EXPECT_EQ(Selected(), Range(0, 2));
    editor->SetFindBoxText("34");
    editor->Send(kFindDown);
    EXPECT_EQ(Selected(), Range(3, 5));
    // A text already in the list is not added again.
    editor->SetFindBoxText("12");
    editor->Send(kFindDown);
    EXPECT_EQ(Selected(), Range(6, 8));
    EXPECT_EQ(editor->FindBoxHistory(), (std::vector<std::string>{"34", "12"}));
    // Not found: nothing changes and nothing is reported; the text still
    // joins the list.
    editor->SetFindBoxText("99");
    editor->Send(kFindDown);
    editor->Send(kFindUp);
    EXPECT_EQ(Selected(), Range(6, 8));
    EXPECT_TRUE(editor->Dialogs().empty());
    EXPECT_EQ(editor->FindBoxHistory(), (std::vector<std::string>{"99", "34", "12"}));
    // Enter in the box searches down.
    editor->SetFindBoxText("34");
    HWND edit = FindWindowExA(editor->FindBox(), nullptr, "Edit", nullptr);
    ASSERT_TRUE(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(WaitUntil([&] { return Selected() == Range(9, 11); })) << Selected().first;
    EXPECT_EQ(editor->Text(), "12 34 12 34 12");  // Enter went to the search, not into the text
}

TEST_F(FindReplace, FindBoxUsesTheFindDialogsOptions) {
    //          0         1
    //          01234567890123456
    Start("AB ab xab AB ab");
    Dialog find = OpenDialog(kFind, false);
    ASSERT_TRUE(find);
    Press(find, "ab", IDOK, /*matchCase=*/true, /*wholeWord=*/true);
    EXPECT_EQ(Selected(), Range(3, 5));
    PramelSession::Click(find, IDCANCEL);
    editor->Settle();
    // Match case and whole word still hold for the find box.
    editor->Select(0, 0);
    editor->SetFindBoxText("ab");
    editor->Send(kFindDown);
    EXPECT_EQ(Selected(), Range(3, 5));
    editor->Send(kFindDown);
    EXPECT_EQ(Selected(), Range(13, 15));
    editor->Send(kFindUp);
    EXPECT_EQ(Selected(), Range(3, 5));
}
