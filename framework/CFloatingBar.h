// The small tool window a bar floats in: captioned with the bar's text,
// owned by the frame, sized to the bar (dialog bars may be resized). Moving
// it close to an edge of the frame where the bar may dock docks it there;
// a double click on its caption docks it where it was docked last; its
// close button hides the bar.
#pragma once

#include "framework/CControlBar.h"
#include "framework/CWnd.h"

class CFrameWnd;

class CFloatingBar : public CWnd {
public:
    CFloatingBar(CFrameWnd& frame, CControlBar& bar) : frame_(frame), bar_(bar) {}
    // Creates the window with its top-left corner at the screen point and
    // moves the bar into it.
    bool Create(POINT topLeft, bool resizable, bool visible);
    // Gives the bar back to the frame (hidden) before the window goes.
    void ReleaseBar();
    // Shows or hides the window; whether it is meant to be shown (the
    // system hides it while the frame is minimized).
    void Show(bool show);
    bool IsShown() const { return shown_; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FitBar();
    void KeepOnScreen();
    CFrameWnd& frame_;
    CControlBar& bar_;
    bool holdsBar_ = false;
    bool shown_ = false;
    bool moved_ = false;
};
