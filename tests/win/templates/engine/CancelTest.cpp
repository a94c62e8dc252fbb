// A run longer than about three seconds: the progress dialog shows over the
// disabled frame, follows the library's byte count, and its Cancel (button
// or Escape) ends the script by force while keeping what it wrote.
#include "EngineFixture.h"

#include <commctrl.h>

#include <thread>

namespace {

enum class Press { Button, Escape };

struct Seen {
    bool dialog = false;
    ULONGLONG afterMs = 0;
    HWND window = nullptr;
    bool visible = false;
    HWND owner = nullptr;
    bool frameEnabled = true;
    int rangeHigh = -1;
    int position = -1;
};

LRESULT Ask(HWND window, UINT message, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR answer = static_cast<DWORD_PTR>(-1);
    SendMessageTimeoutW(window, message, wp, lp, SMTO_NORMAL, 3000, &answer);
    return static_cast<LRESULT>(answer);
}

// Runs beside the engine's wait: finds the dialog by its caption, looks at
// it, then cancels it the chosen way.
void WatchAndCancel(HWND frame, Press press, ULONGLONG start, Seen* seen) {
    HWND dialog = nullptr;
    while (GetTickCount64() - start < 30000) {
        dialog = FindWindowW(L"#32770", L"ダイアログ");
        DWORD owner = 0;
        if (dialog != nullptr) GetWindowThreadProcessId(dialog, &owner);
        if (dialog != nullptr && owner == GetCurrentProcessId() && IsWindowVisible(dialog)) break;
        dialog = nullptr;
        Sleep(20);
    }
    if (dialog == nullptr) return;
    seen->dialog = true;
    seen->afterMs = GetTickCount64() - start;
    seen->window = dialog;
    seen->owner = GetWindow(dialog, GW_OWNER);
    seen->frameEnabled = IsWindowEnabled(frame) != FALSE;
    const HWND bar = GetDlgItem(dialog, 1006);
    PBRANGE range = {};
    Ask(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    seen->rangeHigh = range.iHigh;
    // The bar moves at the engine's next poll.
    for (int i = 0; i < 50 && seen->position != 512; ++i) {
        seen->position = static_cast<int>(Ask(bar, PBM_GETPOS));
        Sleep(20);
    }
    seen->visible = IsWindowVisible(dialog) != FALSE;
    if (press == Press::Button) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    } else {
        const HWND focus = GetDlgItem(dialog, IDCANCEL);
        PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    }
}

class Cancel : public EngineTest, public ::testing::WithParamInterface<Press> {};

TEST_P(Cancel, EndsTheScriptAndKeepsItsText) {
    Seen seen;
    const ULONGLONG start = GetTickCount64();
    std::thread watcher(WatchAndCancel, frame_, GetParam(), start, &seen);
    const long result = Run(ScriptPath("Endless.js"), CountingBytes(1024));
    const ULONGLONG elapsed = GetTickCount64() - start;
    watcher.join();

    ASSERT_TRUE(seen.dialog) << "no progress dialog";
    EXPECT_GE(seen.afterMs, 3000u) << "the dialog waits for 30 polls";
    EXPECT_TRUE(seen.visible);
    EXPECT_EQ(seen.owner, frame_);
    EXPECT_FALSE(seen.frameEnabled) << "the frame is disabled during the run";
    EXPECT_EQ(seen.rangeHigh, 1024);
    EXPECT_EQ(seen.position, 512) << "512 of 1024 bytes emitted";

    EXPECT_EQ(result, -2000);
    EXPECT_EQ(engine_.lastExitCode(), -2000);
    EXPECT_LT(elapsed, 60000u) << "ended long before the script would have";
    EXPECT_EQ(Messages(), "ファイルの解析が異常終了しました。[終了コード:-2000]\n");
    // The 512 bytes the script emitted before it was ended: 32 lines of 16.
    const std::string output = Output();
    EXPECT_NE(output.find("00 01 02 03"), std::string::npos) << output;
    EXPECT_NE(output.find("F0 F1 F2 F3"), std::string::npos) << output;
    EXPECT_EQ(engine_.master().outputBytes, 512u);
    EXPECT_FALSE(IsWindow(seen.window)) << "the dialog is destroyed after the run";
}

INSTANTIATE_TEST_SUITE_P(ByButtonOrEscape, Cancel, ::testing::Values(Press::Button, Press::Escape),
                         [](const ::testing::TestParamInfo<Press>& info) {
                             return info.param == Press::Button ? std::string("Button") : std::string("Escape");
                         });

}  // namespace
