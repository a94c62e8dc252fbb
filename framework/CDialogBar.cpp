#include "framework/CDialogBar.h"

bool CDialogBar::Create(HWND frame, UINT barId) {
    barId_ = barId;
    if (!CreateModeless(frame)) return false;
    CControlBar::hwnd_ = CDialog::hwnd();
    SetWindowLongPtrA(CControlBar::hwnd_, GWLP_ID, static_cast<LONG_PTR>(barId));
    RECT rc{};
    GetWindowRect(CControlBar::hwnd_, &rc);
    templateSize_ = SIZE{rc.right - rc.left, rc.bottom - rc.top};
    return true;
}
