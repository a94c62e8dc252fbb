// The frame's bars: shown and hidden by their commands, brought back as
// they were after full screen, docked on their sides or floating, moved by
// dragging, and kept across runs in "DockingBarState"; the about box and
// the help command.
#include <gtest/gtest.h>

#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kEditBarCommand = 32773;
constexpr UINT kOutputBarCommand = 32774;
constexpr UINT kInfoBarCommand = 32775;
constexpr UINT kFullScreen = 32795;
constexpr UINT kAbout = 57664;
constexpr UINT kHelpTopics = 57667;

struct BarChild {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK FindBar(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<BarChild*>(lp);
    if (GetDlgCtrlID(w) == search->id) {
        search->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND BarWindow(HWND frame, int id) {
    BarChild search{id};
    EnumChildWindows(frame, FindBar, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool BarVisible(HWND frame, int id) {
    HWND bar = BarWindow(frame, id);
    return bar && IsWindowVisible(bar);
}

struct Bars {
    bool status, standard, edit, output, info;
    bool operator==(const Bars& o) const {
        return status == o.status && standard == o.standard && edit == o.edit && output == o.output && info == o.info;
    }
};

Bars Visible(HWND frame) {
    return Bars{BarVisible(frame, 59393), BarVisible(frame, 59392), BarVisible(frame, 134), BarVisible(frame, 132),
                BarVisible(frame, 133)};
}

constexpr int kStandardBar = 59392;
constexpr int kEditBar = 134;
constexpr int kOutputBar = 132;
constexpr int kInfoBar = 133;
constexpr UINT kFileClose = 57602;

// The floating window a bar stands in, if any.
struct FloatingSearch {
    DWORD process;
    int barId;
    HWND found = nullptr;
};

BOOL CALLBACK FindFloating(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<FloatingSearch*>(lp);
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    if (process == search->process && std::string(name) == "PramelFloatingBar" &&
        GetDlgItem(w, search->barId)) {
        search->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND FloatingWindow(const PramelSession& editor, int barId) {
    FloatingSearch search{editor.processId(), barId};
    EnumWindows(FindFloating, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT ScreenRect(HWND w) {
    RECT rc{};
    GetWindowRect(w, &rc);
    return rc;
}

// Which side of the text the bar lies on: 't', 'b', 'l', 'r', or '?'.
char SideOfText(const PramelSession& editor, HWND frame, int barId) {
    HWND bar = BarWindow(frame, barId);
    if (!bar || !IsWindowVisible(bar)) return '?';
    RECT text = ScreenRect(editor.Control(frame));
    RECT rc = ScreenRect(bar);
    if (rc.bottom <= text.top) return 't';
    if (rc.top >= text.bottom) return 'b';
    if (rc.right <= text.left) return 'l';
    if (rc.left >= text.right) return 'r';
    return '?';
}

// Drags with the left button from one screen point to another, as a user
// would, in small steps.
void Drag(const PramelSession& editor, POINT from, POINT to) {
    SetForegroundWindow(editor.Frame());
    SetCursorPos(from.x, from.y);
    INPUT arrive{};
    arrive.type = INPUT_MOUSE;
    arrive.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &arrive, sizeof arrive);
    editor.Settle();
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof press);
    editor.Settle();
    for (int step = 1; step <= 10; ++step) {
        SetCursorPos(from.x + (to.x - from.x) * step / 10, from.y + (to.y - from.y) * step / 10);
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &move, sizeof move);
        Sleep(20);
    }
    INPUT release{};
    release.type = INPUT_MOUSE;
    release.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &release, sizeof release);
    editor.Settle();
}

// A point on the gripper of a docked bar: just before the bar's window.
POINT Gripper(HWND bar) {
    RECT rc = ScreenRect(bar);
    RECT site = ScreenRect(GetParent(bar));
    bool vertical = site.bottom - site.top > site.right - site.left;
    if (vertical) return POINT{(rc.left + rc.right) / 2, rc.top - 5};
    return POINT{rc.left - 5, (rc.top + rc.bottom) / 2};
}

class FrameBars : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
};

}  // namespace

TEST_F(FrameBars, FullScreenBringsBackOnlyTheBarsThatWereShown) {
    PramelSession editor("");
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    ASSERT_TRUE(Visible(frame) == (Bars{true, true, true, true, true}));
    editor.Send(kEditBarCommand);
    EXPECT_TRUE(Visible(frame) == (Bars{true, true, false, true, true}));
    editor.Send(kFullScreen);
    EXPECT_TRUE(Visible(frame) == (Bars{false, false, false, false, true}));
    EXPECT_FALSE(GetWindowLongPtrA(frame, GWL_STYLE) & WS_CAPTION);
    editor.Send(kInfoBarCommand);  // the information bar is not full screen's
    editor.Send(kFullScreen);
    EXPECT_TRUE(Visible(frame) == (Bars{true, true, false, true, false}));
    EXPECT_TRUE(GetWindowLongPtrA(frame, GWL_STYLE) & WS_CAPTION);
}

TEST_F(FrameBars, LayoutIsKeptForTheNextStart) {
    {
        PramelSession editor("");
        ASSERT_TRUE(editor.Frame());
        editor.Send(kOutputBarCommand);
        editor.Send(kInfoBarCommand);
    }
    DWORD shown = 1;
    ASSERT_TRUE(GetSetting("DockingBarState", "Bar132", &shown));
    EXPECT_EQ(shown, 0u);
    PramelSession editor("");
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(Visible(frame) == (Bars{true, true, true, false, false}));
}

TEST_F(FrameBars, AlwaysOnTopTogglesTheTopMostWindow) {
    PramelSession editor("");
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    EXPECT_FALSE(GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
    editor.Send(32783);
    EXPECT_TRUE(GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
    editor.Send(32783);
    EXPECT_FALSE(GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(FrameBars, AboutBoxShowsTheVersion) {
    PramelSession editor("");
    ASSERT_TRUE(editor.Frame());
    editor.Post(kAbout);
    Dialog about = editor.WaitForDialog();
    ASSERT_TRUE(about);
    EXPECT_NE(about.title.find("Pramel のバージョン情報"), std::string::npos) << about.title;
    PramelSession::Click(about, IDOK);
}

TEST_F(FrameBars, MissingHelpFileIsReported) {
    PramelSession editor("");
    ASSERT_TRUE(editor.Frame());
    editor.Post(kHelpTopics);
    Dialog report = editor.WaitForDialog();
    ASSERT_TRUE(report);
    EXPECT_EQ(report.text.rfind("Not Exist Html Help File\n\n   File Path [ ", 0), 0u) << report.text;
    EXPECT_NE(report.text.find("Pramel.chm ]"), std::string::npos) << report.text;
    PramelSession::Click(report, IDOK);
}

TEST_F(FrameBars, BarsDockOnTheirSidesOrFloatAsKeptAndTheLayoutIsSavedOnClose) {
    SetSetting("DockingBarState", "Side59392", 2);  // standard toolbar: left
    SetSetting("DockingBarState", "Side133", 1);    // information bar: bottom
    SetSetting("DockingBarState", "Side134", 4);    // edit toolbar: floating
    SetSetting("DockingBarState", "X134", 300);
    SetSetting("DockingBarState", "Y134", 250);
    {
        PramelSession editor("");
        HWND frame = editor.Frame();
        ASSERT_TRUE(frame);
        editor.Settle();
        EXPECT_EQ(SideOfText(editor, frame, kStandardBar), 'l');
        RECT standard = ScreenRect(BarWindow(frame, kStandardBar));
        EXPECT_GT(standard.bottom - standard.top, standard.right - standard.left) << "a column of buttons";
        EXPECT_FALSE(IsWindowVisible(editor.FindBox(frame))) << "no room for the find box in a column";
        EXPECT_EQ(SideOfText(editor, frame, kInfoBar), 'b');
        EXPECT_EQ(SideOfText(editor, frame, kOutputBar), 'b');
        HWND floating = FloatingWindow(editor, kEditBar);
        ASSERT_TRUE(floating);
        EXPECT_TRUE(IsWindowVisible(floating));
        RECT at = ScreenRect(floating);
        EXPECT_EQ(at.left, 300);
        EXPECT_EQ(at.top, 250);
        char caption[64] = {};
        GetWindowTextA(floating, caption, sizeof caption);
        EXPECT_STREQ(caption, "編集");
        editor.Screenshot("bars-docked-left-and-floating", frame);
        // The edit bar's command hides and shows its floating window.
        editor.Send(kEditBarCommand);
        EXPECT_FALSE(IsWindowVisible(floating));
        editor.Send(kEditBarCommand);
        EXPECT_TRUE(IsWindowVisible(floating));
        // File > Close is a way out of the last frame too.
        editor.Post(kFileClose);
        EXPECT_EQ(editor.WaitForExit(10000), 0);
    }
    DWORD value = 99;
    ASSERT_TRUE(GetSetting("DockingBarState", "Side59392", &value));
    EXPECT_EQ(value, 2u);
    ASSERT_TRUE(GetSetting("DockingBarState", "Side133", &value));
    EXPECT_EQ(value, 1u);
    ASSERT_TRUE(GetSetting("DockingBarState", "Side134", &value));
    EXPECT_EQ(value, 4u);
    ASSERT_TRUE(GetSetting("DockingBarState", "X134", &value));
    EXPECT_EQ(value, 300u);
}

TEST_F(FrameBars, LayoutValuesOutOfRangeLeaveTheBarsWhereTheyStart) {
    SetSetting("DockingBarState", "Side133", 2);    // the information bar never docks left
    SetSetting("DockingBarState", "Side132", 0);    // the output bar only docks at the bottom
    SetSetting("DockingBarState", "Side59392", 77);
    SetSetting("DockingBarState", "Side134", 0xFFFFFFFF);
    PramelSession editor("");
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    editor.Settle();
    EXPECT_EQ(SideOfText(editor, frame, kStandardBar), 't');
    EXPECT_EQ(SideOfText(editor, frame, kEditBar), 't');
    EXPECT_EQ(SideOfText(editor, frame, kInfoBar), 't');
    EXPECT_EQ(SideOfText(editor, frame, kOutputBar), 'b');
    EXPECT_FALSE(FloatingWindow(editor, kEditBar));
}

TEST_F(FrameBars, DraggingABarMovesItToAnotherSideOrLetsItFloat) {
    PramelSession editor("");
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    editor.Settle();
    RECT text = ScreenRect(editor.Control(frame));
    // The edit toolbar let go at the right edge docks there, as a column.
    Drag(editor, Gripper(BarWindow(frame, kEditBar)), POINT{text.right - 10, (text.top + text.bottom) / 2});
    EXPECT_EQ(SideOfText(editor, frame, kEditBar), 'r');
    editor.Screenshot("bars-edit-toolbar-docked-right", frame);
    // Let go in the middle of the text, it floats.
    text = ScreenRect(editor.Control(frame));
    Drag(editor, Gripper(BarWindow(frame, kEditBar)),
         POINT{(text.left + text.right) / 2, (text.top + text.bottom) / 2});
    HWND floating = FloatingWindow(editor, kEditBar);
    ASSERT_TRUE(floating);
    EXPECT_TRUE(IsWindowVisible(floating));
    // A double click on its caption docks it where it was last docked.
    PostMessageA(floating, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    editor.Settle();
    EXPECT_FALSE(FloatingWindow(editor, kEditBar));
    EXPECT_EQ(SideOfText(editor, frame, kEditBar), 'r');
    // The output bar cannot go to the top: let go there, it floats.
    text = ScreenRect(editor.Control(frame));
    Drag(editor, Gripper(BarWindow(frame, kOutputBar)), POINT{(text.left + text.right) / 2, text.top + 5});
    EXPECT_TRUE(FloatingWindow(editor, kOutputBar));
    EXPECT_NE(SideOfText(editor, frame, kOutputBar), 't');
}

TEST_F(FrameBars, FloatingOutputBarKeepsTheSizeItIsGiven) {
    LONG dockedHeight = 0;
    {
        PramelSession editor("");
        HWND frame = editor.Frame();
        ASSERT_TRUE(frame);
        RECT docked = ScreenRect(BarWindow(frame, kOutputBar));
        dockedHeight = docked.bottom - docked.top;
        ASSERT_GT(dockedHeight, 30);
    }
    SetSetting("DockingBarState", "Side132", 4);
    SetSetting("DockingBarState", "X132", 40);
    SetSetting("DockingBarState", "Y132", 60);
    PramelSession editor("");
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    editor.Settle();
    HWND floating = FloatingWindow(editor, kOutputBar);
    ASSERT_TRUE(floating);
    RECT client{};
    GetClientRect(floating, &client);
    EXPECT_EQ(client.bottom, dockedHeight) << "the dialog's own height, not what the dock left";
    // Made taller while floating, it keeps that height when docked again.
    RECT outer = ScreenRect(floating);
    SetWindowPos(floating, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + 40,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    editor.Settle();
    GetClientRect(floating, &client);
    PostMessageA(floating, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    editor.Settle();
    ASSERT_FALSE(FloatingWindow(editor, kOutputBar));
    EXPECT_EQ(SideOfText(editor, frame, kOutputBar), 'b');
    RECT docked = ScreenRect(BarWindow(frame, kOutputBar));
    EXPECT_EQ(docked.bottom - docked.top, client.bottom);
}
