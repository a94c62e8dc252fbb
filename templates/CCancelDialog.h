// The modeless progress dialog of a long template run: a progress bar and
// a Cancel button ("キャンセル", or Escape) that asks the engine to end the
// script.
#pragma once

#include "framework/CDialog.h"

class CCancelDialog : public CDialog {
public:
    explicit CCancelDialog(HWND parent);

    bool cancelRequested() const { return cancelRequested_; }
    // The progress bar (range 0 to 1024), or null before creation.
    HWND progress() const;

protected:
    void OnCancel() override;

private:
    HWND parent_;
    bool cancelRequested_ = false;
};
