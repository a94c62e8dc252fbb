#include "framework/CDialog.h"

#include "framework/Strings.h"

CDialog::~CDialog() {
    if (hwnd_ && !modal_ && IsWindow(hwnd_)) {
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

INT_PTR CDialog::DoModal() {
    modal_ = true;
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent_, StaticDialogProc,
                                reinterpret_cast<LPARAM>(this));
    hwnd_ = nullptr;
    return r;
}

bool CDialog::CreateModeless(HWND parent) {
    modal_ = false;
    parent_ = parent;
    HWND h = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, StaticDialogProc,
                                reinterpret_cast<LPARAM>(this));
    return h != nullptr;
}

std::string CDialog::ItemText(int id) const { return text::WindowText(Item(id)); }

void CDialog::SetItemText(int id, const std::string& value) const { SetDlgItemTextA(hwnd_, id, value.c_str()); }

void CDialog::EndDialog(INT_PTR result) {
    if (modal_) {
        ::EndDialog(hwnd_, result);
    } else {
        DestroyWindow(hwnd_);
    }
}

INT_PTR CDialog::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
        UINT id = LOWORD(wp);
        UINT code = HIWORD(wp);
        HWND control = reinterpret_cast<HWND>(lp);
        if (OnCommand(id, code, control)) return TRUE;
        if (code == BN_CLICKED || code == 1 /* accelerator */) {
            if (id == IDOK) {
                OnOK();
                return TRUE;
            }
            if (id == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        INT_PTR r = self->DialogProc(msg, wp, lp);
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return r;
    }
    return self->DialogProc(msg, wp, lp);
}
