// A bar made from a dialog template: a modeless child dialog docked in one
// of the frame's dock sites. Derived bars handle their controls' messages.
#pragma once

#include "framework/CControlBar.h"
#include "framework/CDialog.h"

class CDialogBar : public CDialog, public CControlBar {
public:
    explicit CDialogBar(UINT templateId) : CDialog(templateId) {}
    // Both bases know the window; they hold the same handle.
    using CControlBar::hwnd;
    // Creates the bar with the frame as parent; the dock site adopts it.
    virtual bool Create(HWND frame, UINT barId);
    // The size the template gives the bar, or the size the user last gave
    // it while it floated.
    SIZE BarSize(bool vertical) const override {
        (void)vertical;
        return templateSize_;
    }
    void RememberSize() override {
        RECT rc{};
        GetClientRect(CControlBar::hwnd_, &rc);
        if (rc.right > 0 && rc.bottom > 0) templateSize_ = SIZE{rc.right, rc.bottom};
    }

protected:
    SIZE templateSize_{};
};
