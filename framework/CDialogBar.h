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
    // The size the template gives the bar.
    SIZE TemplateSize() const { return templateSize_; }

protected:
    SIZE templateSize_{};
};
