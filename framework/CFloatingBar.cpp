#include "framework/CFloatingBar.h"

#include "framework/CFrameWnd.h"

namespace {
constexpr char kClassName[] = "PramelFloatingBar";
}

bool CFloatingBar::Create(POINT topLeft, bool resizable, bool visible) {
    if (!RegisterClassOnce(kClassName, CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
        return false;
    }
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (resizable ? WS_THICKFRAME : 0);
    DWORD exStyle = WS_EX_TOOLWINDOW;
    bar_.OnDockStateChanged(true, false);
    SIZE size = bar_.BarSize(false);
    RECT rc{0, 0, size.cx, size.cy};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    if (!CreateEx(exStyle, kClassName, bar_.Caption().c_str(), style, topLeft.x, topLeft.y, rc.right - rc.left,
                  rc.bottom - rc.top, frame_.hwnd(), nullptr)) {
        return false;
    }
    SetParent(bar_.hwnd(), hwnd());
    holdsBar_ = true;
    FitBar();
    ShowWindow(bar_.hwnd(), SW_SHOWNA);
    if (visible) ShowWindow(hwnd(), SW_SHOWNA);
    return true;
}

void CFloatingBar::ReleaseBar() {
    if (!holdsBar_) return;
    ShowWindow(bar_.hwnd(), SW_HIDE);
    SetParent(bar_.hwnd(), frame_.hwnd());
    holdsBar_ = false;
}

void CFloatingBar::FitBar() {
    if (!holdsBar_) return;
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    SetWindowPos(bar_.hwnd(), nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CFloatingBar::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        FitBar();
        return 0;
    case WM_CLOSE:
        frame_.ShowControlBar(bar_, false);
        return 0;
    case WM_MOUSEACTIVATE:
        // A click on a button leaves the frame the active window (and its
        // title as it is); a control that takes the focus still gets it.
        return MA_NOACTIVATE;
    case WM_EXITSIZEMOVE:
        // May dock the bar, which destroys this window: nothing after it.
        frame_.OnFloatingBarMoved(bar_);
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wp == HTCAPTION) {
            frame_.DockBarWhereItWas(bar_);
            return 0;
        }
        return Default(msg, wp, lp);
    case WM_COMMAND:
    case WM_NOTIFY:
        // The bar's controls talk to the frame, floating or not.
        return SendMessageA(frame_.hwnd(), msg, wp, lp);
    case WM_DESTROY:
        ReleaseBar();
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}
