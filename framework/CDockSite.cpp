#include "framework/CDockSite.h"

#include <commctrl.h>

#include <cstddef>

namespace {

// The band structure as every comctl32 version since 4.71 accepts it (the
// chevron fields of version 6 are left out).
constexpr UINT kBandInfoSize = offsetof(REBARBANDINFOA, rcChevronLocation);

}  // namespace

bool CDockSite::Create(HWND frame, UINT id, DockSide side) {
    side_ = side;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS |
                  CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (IsVertical()) style |= CCS_VERT;
    hwnd_ = CreateWindowExA(0, REBARCLASSNAMEA, "", style, 0, 0, 0, 0, frame,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return false;
    REBARINFO info{};
    info.cbSize = sizeof info;
    SendMessageA(hwnd_, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    // Which band a drag starts on (the control's own drag notice may not
    // say).
    SetWindowSubclass(hwnd_, WatchPresses, 1, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

bool CDockSite::AddBar(CControlBar& bar, int position, bool newRow) {
    bar.OnDockStateChanged(false, IsVertical());
    // A band's child size is across the site; its length runs along it.
    SIZE size = bar.BarSize(IsVertical());
    REBARBANDINFOA band{};
    band.cbSize = kBandInfoSize;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE;
    band.fStyle = RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE | (newRow ? RBBS_BREAK : 0);
    band.hwndChild = bar.hwnd();
    band.cxMinChild = 0;
    band.cyMinChild = static_cast<UINT>(IsVertical() ? size.cx : size.cy);
    band.cx = static_cast<UINT>(IsVertical() ? size.cy : size.cx);
    band.wID = bar.barId();
    bool added = SendMessageA(hwnd_, RB_INSERTBANDA, static_cast<WPARAM>(position),
                              reinterpret_cast<LPARAM>(&band)) != 0;
    if (added) ShowWindow(bar.hwnd(), SW_SHOWNA);
    return added;
}

void CDockSite::RemoveBar(CControlBar& bar) {
    int index = PositionOf(bar);
    if (index < 0) return;
    SendMessageA(hwnd_, RB_DELETEBAND, index, 0);
    ShowWindow(bar.hwnd(), SW_HIDE);
}

int CDockSite::PositionOf(const CControlBar& bar) const {
    return static_cast<int>(SendMessageA(hwnd_, RB_IDTOINDEX, bar.barId(), 0));
}

UINT CDockSite::BandStyle(int index) const {
    REBARBANDINFOA band{};
    band.cbSize = kBandInfoSize;
    band.fMask = RBBIM_STYLE;
    SendMessageA(hwnd_, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band));
    return band.fStyle;
}

bool CDockSite::Contains(const CControlBar& bar) const { return hwnd_ && PositionOf(bar) >= 0; }

void CDockSite::ShowBar(const CControlBar& bar, bool show) {
    int index = PositionOf(bar);
    if (index >= 0) SendMessageA(hwnd_, RB_SHOWBAND, index, show ? TRUE : FALSE);
}

bool CDockSite::IsBarVisible(const CControlBar& bar) const {
    int index = PositionOf(bar);
    return index >= 0 && (BandStyle(index) & RBBS_HIDDEN) == 0;
}

UINT CDockSite::BarIdAt(int index) const {
    REBARBANDINFOA band{};
    band.cbSize = kBandInfoSize;
    band.fMask = RBBIM_ID;
    if (!SendMessageA(hwnd_, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band))) return 0;
    return band.wID;
}

LRESULT CALLBACK CDockSite::WatchPresses(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    if (msg == WM_LBUTTONDOWN) {
        reinterpret_cast<CDockSite*>(self)->pressed_ =
            POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

int CDockSite::PressedBand() const {
    RBHITTESTINFO hit{};
    hit.pt = pressed_;
    return static_cast<int>(SendMessageA(hwnd_, RB_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

bool CDockSite::StartsRow(const CControlBar& bar) const {
    int index = PositionOf(bar);
    return index <= 0 || (BandStyle(index) & RBBS_BREAK) != 0;
}

int CDockSite::Thickness() const {
    int bands = static_cast<int>(SendMessageA(hwnd_, RB_GETBANDCOUNT, 0, 0));
    bool any = false;
    for (int i = 0; i < bands && !any; ++i) any = (BandStyle(i) & RBBS_HIDDEN) == 0;
    // For a vertical rebar the "height" is its width.
    return any ? static_cast<int>(SendMessageA(hwnd_, RB_GETBARHEIGHT, 0, 0)) : 0;
}
