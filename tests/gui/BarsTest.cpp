// The frame's bars: shown and hidden by their commands, brought back as
// they were after full screen, and kept across runs in "DockingBarState";
// the about box and the help command.
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

bool BarVisible(HWND frame, int id) {
    BarChild search{id};
    EnumChildWindows(frame, FindBar, reinterpret_cast<LPARAM>(&search));
    return search.found && IsWindowVisible(search.found);
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
