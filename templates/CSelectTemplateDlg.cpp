#include "templates/CSelectTemplateDlg.h"

#include <cstring>

#include "resources/pramel/resource.h"

CSelectTemplateDlg::CSelectTemplateDlg(const std::vector<std::string>& templates)
    : CDialog(IDD_SELECT_TEMPLATE), templates_(templates) {}

bool CSelectTemplateDlg::OnInitDialog() {
    HWND list = Item(IDC_TEMPLATE_LIST);
    for (const auto& path : templates_) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    return true;
}

void CSelectTemplateDlg::OnOK() {
    // The list shows the paths sorted; the line is found in the caller's
    // array by its text.
    HWND list = Item(IDC_TEMPLATE_LIST);
    LRESULT line = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR) return;
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0);
    if (length == LB_ERR) return;
    // The length may count characters where the text holds double-byte
    // ones: room for two bytes each, and the text is as long as the copy.
    std::string chosen(static_cast<std::size_t>(length) * 2 + 2, '\0');
    LRESULT copied = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&chosen[0]));
    if (copied == LB_ERR) return;
    chosen.resize(std::strlen(chosen.c_str()));
    for (std::size_t i = 0; i < templates_.size(); ++i) {
        if (templates_[i] == chosen) {
            EndDialog(static_cast<INT_PTR>(i));
            return;
        }
    }
}

void CSelectTemplateDlg::OnCancel() { EndDialog(-1); }

bool CSelectTemplateDlg::OnCommand(UINT id, UINT code, HWND) {
    if (id == IDC_TEMPLATE_LIST && code == LBN_DBLCLK) {
        OnOK();
        return true;
    }
    return false;
}
