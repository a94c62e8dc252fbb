// A dialog from the resources, modal or modeless, whose messages reach
// virtual handlers: initialisation, OK, Cancel and the commands of its
// controls. Derived dialogs override only what they need.
#pragma once

#include <windows.h>

#include <string>

class CDialog {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr) : templateId_(templateId), parent_(parent) {}
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally; returns the code EndDialog was given
    // (IDOK, IDCANCEL), or -1 when it could not be shown.
    INT_PTR DoModal();
    // Creates the dialog modelessly (as a child when its template says so).
    bool CreateModeless(HWND parent);

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A control's command; true when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control) {
        (void)id;
        (void)code;
        (void)control;
        return false;
    }
    // Every message; returns what a dialog procedure returns. The base
    // dispatches to the handlers above.
    virtual INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp);
    void EndDialog(INT_PTR result);
    bool IsModal() const { return modal_; }

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    UINT templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
};
