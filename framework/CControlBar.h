// A bar around a frame's view (toolbar, dialog bar, status bar): a child
// window with a control-bar id, shown or hidden as a whole, whose command
// elements are brought up to date at idle time.
#pragma once

#include <windows.h>

class CFrameWnd;

class CControlBar {
public:
    virtual ~CControlBar() = default;

    UINT barId() const { return barId_; }
    HWND hwnd() const { return hwnd_; }
    // Updates the bar's buttons or panes through the frame's command routing.
    virtual void UpdateCommandUI(CFrameWnd& frame) { (void)frame; }

protected:
    UINT barId_ = 0;
    HWND hwnd_ = nullptr;
};
