// A bar around a frame's view (toolbar, dialog bar, status bar): a child
// window with a control-bar id, shown or hidden as a whole, whose command
// elements are brought up to date at idle time. A bar may dock on the
// frame's sides that it allows, or float in a small window of its own.
#pragma once

#include <windows.h>

#include <string>

class CFrameWnd;

// The sides of a frame where bars dock, as bits of a bar's allowed sides.
enum class DockSide { Top = 0, Bottom = 1, Left = 2, Right = 3 };
constexpr int kDockSides = 4;
constexpr DWORD DockBit(DockSide side) { return 1u << static_cast<int>(side); }
constexpr DWORD kDockAny = 0xF;

class CControlBar {
public:
    virtual ~CControlBar() = default;

    UINT barId() const { return barId_; }
    HWND hwnd() const { return hwnd_; }
    // Updates the bar's buttons or panes through the frame's command routing.
    virtual void UpdateCommandUI(CFrameWnd& frame) { (void)frame; }

    void SetDockSides(DWORD sides) { dockSides_ = sides; }
    bool CanDock(DockSide side) const { return (dockSides_ & DockBit(side)) != 0; }
    bool IsDockable() const { return dockSides_ != 0; }
    bool IsFloating() const { return floating_; }
    // The bar's size laid out along a horizontal or vertical edge (or
    // floating, which is horizontal).
    virtual SIZE BarSize(bool vertical) const {
        (void)vertical;
        RECT rc{};
        GetWindowRect(hwnd_, &rc);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    // Called when the bar starts to float or docks, after it was moved:
    // toolbars turn their rows into columns on the left and right sides.
    virtual void OnDockStateChanged(bool floating, bool vertical) {
        (void)vertical;
        floating_ = floating;
    }
    // The bar's current size becomes its size from now on (a floating
    // dialog bar the user resized).
    virtual void RememberSize() {}
    // The caption of the bar's floating window.
    std::string Caption() const {
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
        text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd_, &text[0], static_cast<int>(text.size()))));
        return text;
    }

protected:
    UINT barId_ = 0;
    HWND hwnd_ = nullptr;
    DWORD dockSides_ = 0;
    bool floating_ = false;
};
