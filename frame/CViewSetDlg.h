// The data display settings dialog: bytes per line (4 to 64) and the
// separator between data items (space, tab, comma). A value outside the
// range, or no number at all, is refused and the dialog stays open.
#pragma once

#include "framework/CDialog.h"

class CViewSetDlg : public CDialog {
public:
    static constexpr int kMinBytes = 4;
    static constexpr int kMaxBytes = 64;

    explicit CViewSetDlg(HWND parent);

    int bytesPerLine = 16;
    int separatorCode = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
