#include "framework/CFileDialog.h"

#include <cstring>

CFileDialog::CFileDialog(bool open, const std::string& fileName, DWORD flags, const std::string& filter, HWND owner,
                         std::size_t nameBufferSize)
    : open_(open), names_(nameBufferSize + 2, '\0'), filter_(SystemFilter(filter)) {
    std::strncpy(names_.data(), fileName.c_str(), nameBufferSize - 1);
    ofn_.lStructSize = sizeof ofn_;
    ofn_.hwndOwner = owner;
    ofn_.hInstance = GetModuleHandleA(nullptr);
    ofn_.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
    ofn_.nFilterIndex = 1;
    ofn_.lpstrFile = names_.data();
    ofn_.nMaxFile = static_cast<DWORD>(nameBufferSize);
    ofn_.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;
    ofn_.lpfnHook = HookProc;
    ofn_.lCustData = reinterpret_cast<LPARAM>(this);
}

std::string CFileDialog::SystemFilter(const std::string& filter) {
    // '|' can be the second byte of a double-byte character: step over those.
    std::string result;
    for (std::size_t i = 0; i < filter.size(); ++i) {
        char c = filter[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < filter.size()) {
            result += c;
            result += filter[++i];
            continue;
        }
        result += c == '|' ? '\0' : c;
    }
    result += '\0';
    return result;
}

bool CFileDialog::DoModal() {
    ofn_.lpstrInitialDir = initialFolder_.empty() ? nullptr : initialFolder_.c_str();
    ofn_.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    BOOL ok = open_ ? GetOpenFileNameA(&ofn_) : GetSaveFileNameA(&ofn_);
    hook_ = nullptr;
    return ok != FALSE;
}

std::string CFileDialog::GetPathName() const {
    std::vector<std::string> all = GetPathNames();
    return all.empty() ? std::string() : all.front();
}

std::vector<std::string> CFileDialog::GetPathNames() const {
    std::vector<std::string> result;
    const char* p = names_.data();
    std::string first = p;
    if (first.empty()) return result;
    p += first.size() + 1;
    if (!(ofn_.Flags & OFN_ALLOWMULTISELECT) || *p == '\0') {
        result.push_back(first);
        return result;
    }
    // A multiple selection: the folder, then the names, then an empty text.
    std::string folder = first;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    while (*p) {
        std::string name = p;
        result.push_back(folder + name);
        p += name.size() + 1;
    }
    return result;
}

std::string CFileDialog::FileNameText() const {
    char buffer[MAX_PATH * 2] = {};
    if (!hook_) return std::string();
    SendMessageA(DialogWindow(), CDM_GETSPEC, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

void CFileDialog::SetFileNameText(const std::string& name) const {
    if (!hook_) return;
    // Newer dialogs have a combo box (cmb13), older ones an edit (edt1).
    SendMessageA(DialogWindow(), CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(DialogWindow(), CDM_SETCONTROLTEXT, 0x480, reinterpret_cast<LPARAM>(name.c_str()));
}

std::string CFileDialog::CurrentFolder() const {
    char buffer[MAX_PATH * 2] = {};
    if (!hook_) return std::string();
    SendMessageA(DialogWindow(), CDM_GETFOLDERPATH, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lp);
        auto* self = reinterpret_cast<CFileDialog*>(ofn->lCustData);
        self->hook_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return 0;
    }
    auto* self = reinterpret_cast<CFileDialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || msg != WM_NOTIFY) return 0;
    auto* notify = reinterpret_cast<OFNOTIFYA*>(lp);
    switch (notify->hdr.code) {
    case CDN_TYPECHANGE:
        self->ofn_.nFilterIndex = notify->lpOFN->nFilterIndex;
        self->OnTypeChange();
        return 0;
    case CDN_FILEOK:
        if (!self->OnFileNameOK()) {
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 1);
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}
