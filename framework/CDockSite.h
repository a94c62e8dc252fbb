// One edge of a frame where bars dock: a rebar control whose bands hold the
// bars, each with a gripper. The top and bottom sites lay their bars out in
// rows, the left and right sites in columns. The frame asks a site for its
// thickness when it lays out the view.
#pragma once

#include <windows.h>

#include "framework/CControlBar.h"

class CDockSite {
public:
    bool Create(HWND frame, UINT id, DockSide side);
    DockSide side() const { return side_; }
    bool IsVertical() const { return side_ == DockSide::Left || side_ == DockSide::Right; }

    // Docks the bar at the position (-1: last), on a row (column) of its
    // own unless newRow is false.
    bool AddBar(CControlBar& bar, int position = -1, bool newRow = true);
    // Takes the bar out of the site; the bar window is left hidden.
    void RemoveBar(CControlBar& bar);
    bool Contains(const CControlBar& bar) const;
    void ShowBar(const CControlBar& bar, bool show);
    bool IsBarVisible(const CControlBar& bar) const;
    // A docked bar's place in band order (-1: not docked here), the bar of
    // a band, and whether a band starts a row.
    int PositionOf(const CControlBar& bar) const;
    UINT BarIdAt(int index) const;
    // The band the left button last went down on; -1 for none.
    int PressedBand() const;
    bool StartsRow(const CControlBar& bar) const;
    // Height of a top or bottom site, width of a left or right one; 0 while
    // no bar in it is shown.
    int Thickness() const;
    HWND hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK WatchPresses(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    UINT BandStyle(int index) const;
    HWND hwnd_ = nullptr;
    DockSide side_ = DockSide::Top;
    POINT pressed_{-1, -1};
};
