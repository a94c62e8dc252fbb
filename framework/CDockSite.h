// One edge of a frame where bars dock: a rebar control whose bands hold the
// bars, each on its own row with a gripper. The frame asks it for its
// height when it lays out the view.
#pragma once

#include <windows.h>

#include "framework/CControlBar.h"

class CDockSite {
public:
    bool Create(HWND frame, UINT id);
    // Docks the bar in a new row; size is the bar's own width and height.
    bool AddBar(CControlBar& bar, SIZE size);
    bool Contains(const CControlBar& bar) const;
    void ShowBar(const CControlBar& bar, bool show);
    bool IsBarVisible(const CControlBar& bar) const;
    int Height() const;
    HWND hwnd() const { return hwnd_; }

private:
    int IndexOf(const CControlBar& bar) const;
    HWND hwnd_ = nullptr;
};
