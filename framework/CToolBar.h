// A toolbar: a row of 16x16 image buttons from one bitmap strip, with
// tooltips and fly-by prompts taken from the string table by the frame.
// A button position can be turned into a wide separator so that a control
// (a combo box, a text field) sits in its place. Docked on the left or
// right, the buttons stand in one column and such controls are hidden.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/CControlBar.h"
#include "framework/Handles.h"

class CToolBar : public CControlBar {
public:
    // Creates the toolbar as a child of the frame (its notifications go to
    // the frame). buttons: command ids in order, 0 for a separator; the
    // bitmap holds one image per non-separator button, magenta transparent.
    bool Create(HWND frame, UINT barId, UINT bitmapId, const std::vector<UINT>& buttons);

    // Turns the button at index into a separator of the given width with
    // the given id, and returns its rectangle in toolbar coordinates.
    RECT ReplaceWithSeparator(int index, UINT id, int width);
    int ButtonCount() const;

    void UpdateCommandUI(CFrameWnd& frame) override;
    SIZE BarSize(bool vertical) const override;
    void OnDockStateChanged(bool floating, bool vertical) override;

private:
    // A separator that holds a control, and its width in a row.
    struct ControlSlot {
        int index;
        UINT id;
        int width;
    };
    void SetSlotWidth(const ControlSlot& slot, int width);

    std::vector<UINT> commands_;
    std::vector<ControlSlot> slots_;
    bool vertical_ = false;
    UniqueImageList images_;
};
