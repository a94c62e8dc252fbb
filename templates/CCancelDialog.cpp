#include "templates/CCancelDialog.h"

#include "resources/pramel/resource.h"

CCancelDialog::CCancelDialog(HWND parent) : CDialog(IDD_CANCEL, parent), parent_(parent) {}

HWND CCancelDialog::progress() const { return hwnd() ? Item(IDC_PROGRESS) : nullptr; }

// Cancel only asks: the engine sees the flag at its next poll, ends the
// script and destroys the dialog itself. Until then the dialog just hides,
// so the engine's pointer to it and to its progress bar stay valid.
void CCancelDialog::OnCancel() {
    cancelRequested_ = true;
    if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}
