#include "framework/CStatusBar.h"

#include <commctrl.h>

#include "framework/CFrameWnd.h"
#include "framework/Handles.h"
#include "framework/Strings.h"

bool CStatusBar::Create(HWND frame, UINT barId, const std::vector<Indicator>& indicators) {
    barId_ = barId;
    indicators_ = indicators;
    hwnd_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, frame,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(barId)), GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return false;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    WindowDc dc(hwnd_);
    SelectedObject selected(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    for (const auto& indicator : indicators_) {
        const std::string& sample = indicator.widestText.empty() ? indicator.text : indicator.widestText;
        SIZE size{};
        GetTextExtentPoint32A(dc.get(), sample.c_str(), static_cast<int>(sample.size()), &size);
        widths_.push_back(size.cx + 12);
    }
    Layout();
    return true;
}

void CStatusBar::Layout() {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    int grip = GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> rights(indicators_.size() + 1);
    int right = rc.right - grip;
    for (std::size_t i = indicators_.size(); i > 0; --i) {
        rights[i] = right;
        right -= widths_[i - 1];
    }
    rights[0] = right > 0 ? right : 0;
    if (!rights.empty()) rights.back() = -1;
    SendMessageA(hwnd_, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
}

int CStatusBar::Height() const {
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return 0;
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return rc.bottom - rc.top;
}

void CStatusBar::SetMessageText(const std::string& text) {
    if (MessageText() != text) SendMessageA(hwnd_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CStatusBar::MessageText() const {
    return text::StatusPaneText(hwnd_, 0);
}

void CStatusBar::UpdateCommandUI(CFrameWnd& frame) {
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        CCmdUI ui = CCmdUI::ForStatusPane(hwnd_, static_cast<int>(i + 1), indicators_[i].id, indicators_[i].text);
        frame.RouteCommandUpdate(ui);
        if (!ui.handled) ui.Enable(false);
    }
}
