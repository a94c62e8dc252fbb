// The status bar: a stretching message pane followed by indicator panes,
// each sized for its indicator's longest text and updated through the
// frame's command routing at idle time.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/CControlBar.h"

class CStatusBar : public CControlBar {
public:
    struct Indicator {
        UINT id;
        std::string text;       // shown while the indicator is enabled
        std::string widestText; // sizes the pane (the text when empty)
    };

    bool Create(HWND frame, UINT barId, const std::vector<Indicator>& indicators);
    void SetMessageText(const std::string& text);
    std::string MessageText() const;
    // Recomputes the pane widths for the bar's current width.
    void Layout();
    int Height() const;

    void UpdateCommandUI(CFrameWnd& frame) override;

private:
    std::vector<Indicator> indicators_;
    std::vector<int> widths_;
};
