#include "framework/CFileDialog.h"

#include <cstring>
#include <vector>

namespace {

// A text the dialog hands out through a message that fills a buffer
// (CDM_GETSPEC, CDM_GETFOLDERPATH): its size asked first, so that no text
// is cut and none is written past the buffer.
std::string DialogText(HWND dialog, UINT message) {
    const LRESULT need = SendMessageA(dialog, message, 0, 0);
    if (need <= 0) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(need) * 2 + 2, '\0');
    SendMessageA(dialog, message, static_cast<WPARAM>(buffer.size() - 1), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data());
}

// At most limit bytes of a name, never half a double-byte character.
std::size_t WholeCharacters(const std::string& name, std::size_t limit) {
    std::size_t n = 0;
    while (n < name.size()) {
        const std::size_t width = (IsDBCSLeadByte(static_cast<BYTE>(name[n])) && n + 1 < name.size()) ? 2 : 1;
        if (n + width > limit) break;
        n += width;
    }
    return n;
}

}  // namespace

CFileDialog::CFileDialog(bool open, const std::string& fileName, DWORD flags, const std::string& filter, HWND owner,
                         std::size_t nameBufferSize)
    : open_(open), names_(nameBufferSize + 2, '\0'), filter_(SystemFilter(filter)) {
    std::memcpy(names_.data(), fileName.data(), WholeCharacters(fileName, nameBufferSize - 1));
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
    if (!hook_) return std::string();
    return DialogText(DialogWindow(), CDM_GETSPEC);
}

void CFileDialog::SetFileNameText(const std::string& name) const {
    if (!hook_) return;
    // Newer dialogs have a combo box (cmb13), older ones an edit (edt1).
    SendMessageA(DialogWindow(), CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(DialogWindow(), CDM_SETCONTROLTEXT, 0x480, reinterpret_cast<LPARAM>(name.c_str()));
}

std::string CFileDialog::CurrentFolder() const {
    if (!hook_) return std::string();
    return DialogText(DialogWindow(), CDM_GETFOLDERPATH);
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
