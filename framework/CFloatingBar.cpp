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
    KeepOnScreen();
    SetParent(bar_.hwnd(), hwnd());
    holdsBar_ = true;
    FitBar();
    ShowWindow(bar_.hwnd(), SW_SHOWNA);
    Show(visible);
    return true;
}

void CFloatingBar::KeepOnScreen() {
    // The whole window within the work area of the nearest screen, so that
    // its caption can always be reached (a position kept from another
    // screen set-up, or edited by hand).
    RECT rc{};
    GetWindowRect(hwnd(), &rc);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    LONG x = rc.left;
    LONG y = rc.top;
    if (rc.right > work.right) x -= rc.right - work.right;
    if (rc.bottom > work.bottom) y -= rc.bottom - work.bottom;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    if (x != rc.left || y != rc.top) SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFloatingBar::Show(bool show) {
    shown_ = show;
    ShowWindow(hwnd(), show ? SW_SHOWNA : SW_HIDE);
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
        // A floating dialog bar resized by the user keeps that size.
        if (holdsBar_ && wp == SIZE_RESTORED) bar_.RememberSize();
        return 0;
    case WM_CLOSE:
        frame_.ShowControlBar(bar_, false);
        return 0;
    case WM_MOUSEACTIVATE:
        // A click on a button leaves the frame the active window (and its
        // title as it is); a control that takes the focus still gets it.
        return MA_NOACTIVATE;
    case WM_ENTERSIZEMOVE:
        moved_ = false;
        return 0;
    case WM_MOVING:
        moved_ = true;
        return Default(msg, wp, lp);
    case WM_EXITSIZEMOVE:
        // Only a move may dock the bar (not a resize or a plain click); the
        // frame docks it after this message.
        if (moved_) frame_.OnFloatingBarMoved(bar_);
        moved_ = false;
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
