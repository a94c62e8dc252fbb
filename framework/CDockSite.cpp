#include "framework/CDockSite.h"

#include <commctrl.h>

#include <cstddef>

namespace {

// The band structure as every comctl32 version since 4.71 accepts it (the
// chevron fields of version 6 are left out).
constexpr UINT kBandInfoSize = offsetof(REBARBANDINFOA, rcChevronLocation);

}  // namespace

bool CDockSite::Create(HWND frame, UINT id) {
    hwnd_ = CreateWindowExA(0, REBARCLASSNAMEA, "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE,
                            0, 0, 0, 0, frame, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return false;
    REBARINFO info{};
    info.cbSize = sizeof info;
    SendMessageA(hwnd_, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

bool CDockSite::AddBar(CControlBar& bar, SIZE size) {
    REBARBANDINFOA band{};
    band.cbSize = kBandInfoSize;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE;
    band.fStyle = RBBS_GRIPPERALWAYS | RBBS_BREAK | RBBS_CHILDEDGE;
    band.hwndChild = bar.hwnd();
    band.cxMinChild = 0;
    band.cyMinChild = static_cast<UINT>(size.cy);
    band.cx = static_cast<UINT>(size.cx);
    band.wID = bar.barId();
    return SendMessageA(hwnd_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

int CDockSite::IndexOf(const CControlBar& bar) const {
    return static_cast<int>(SendMessageA(hwnd_, RB_IDTOINDEX, bar.barId(), 0));
}

bool CDockSite::Contains(const CControlBar& bar) const { return IndexOf(bar) >= 0; }

void CDockSite::ShowBar(const CControlBar& bar, bool show) {
    int index = IndexOf(bar);
    if (index >= 0) SendMessageA(hwnd_, RB_SHOWBAND, index, show ? TRUE : FALSE);
}

bool CDockSite::IsBarVisible(const CControlBar& bar) const {
    int index = IndexOf(bar);
    if (index < 0) return false;
    REBARBANDINFOA band{};
    band.cbSize = kBandInfoSize;
    band.fMask = RBBIM_STYLE;
    SendMessageA(hwnd_, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band));
    return (band.fStyle & RBBS_HIDDEN) == 0;
}

int CDockSite::Height() const {
    int bands = static_cast<int>(SendMessageA(hwnd_, RB_GETBANDCOUNT, 0, 0));
    bool any = false;
    for (int i = 0; i < bands && !any; ++i) {
        REBARBANDINFOA band{};
        band.cbSize = kBandInfoSize;
        band.fMask = RBBIM_STYLE;
        SendMessageA(hwnd_, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
        any = (band.fStyle & RBBS_HIDDEN) == 0;
    }
    return any ? static_cast<int>(SendMessageA(hwnd_, RB_GETBARHEIGHT, 0, 0)) : 0;
}
