#include "frame/CViewSetDlg.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "frame/FrameTexts.h"
#include "framework/Strings.h"
#include "resources/pramel/resource.h"

namespace {

// The entry as a number, or -1 when it is not one (empty, or any non-digit).
int ParseEntry(const std::string& entry) {
    if (entry.empty() || entry.size() > 2) return -1;
    int value = 0;
    for (char c : entry) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

CViewSetDlg::CViewSetDlg(HWND parent) : CDialog(IDD_VIEWSET, parent) {}

bool CViewSetDlg::OnInitDialog() {
    HWND spin = Item(IDC_LINE_SIZE_SPIN);
    HWND edit = Item(IDC_LINE_SIZE);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageA(spin, UDM_SETRANGE32, kMinBytes, kMaxBytes);
    SendMessageA(edit, EM_LIMITTEXT, 2, 0);
    SetItemText(IDC_LINE_SIZE, std::to_string(bytesPerLine));
    SendMessageA(spin, UDM_SETPOS32, 0, bytesPerLine);
    HWND list = Item(IDC_SEPARATOR);
    for (const char* name : {texts::kSeparatorSpace, texts::kSeparatorTab, texts::kSeparatorComma}) {
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(separatorCode), 0);
    return true;
}

void CViewSetDlg::OnOK() {
    BOOL failed = FALSE;
    LRESULT position = SendMessageA(Item(IDC_LINE_SIZE_SPIN), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
    // The up-down control's own check, and the entry read here: both must
    // agree on a number in range.
    int typed = ParseEntry(ItemText(IDC_LINE_SIZE));
    if (failed || typed < kMinBytes || typed > kMaxBytes || typed != static_cast<int>(position)) {
        text::Message(hwnd(), texts::kOutOfRange, texts::kErrorCaption, MB_OK | MB_ICONERROR);
        return;
    }
    bytesPerLine = typed;
    LRESULT selected = SendMessageA(Item(IDC_SEPARATOR), CB_GETCURSEL, 0, 0);
    separatorCode = selected == CB_ERR ? 0 : static_cast<int>(selected);
    EndDialog(IDOK);
}
