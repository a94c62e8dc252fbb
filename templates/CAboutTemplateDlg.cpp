#include "templates/CAboutTemplateDlg.h"

#include <shlwapi.h>

#include "framework/CWinApp.h"
#include "framework/Strings.h"
#include "templates/core/TemplateListFormat.h"
#include "resources/pramel/resource.h"
#include "templates/LibraryRegistration.h"
#include "templates/LibraryTexts.h"

namespace {

const char kSection[] = "Templates";
const char kFilterEntry[] = "Filter";
// The folder field shows at most this many characters, terminator included.
constexpr UINT kFolderFieldChars = 36;

// The library folder as the dialog shows and compares it. A trail byte
// 0x5C of a double-byte character is not a backslash.
std::string WithoutTrailingBackslash(std::string folder) {
    if (template_list::EndsWithSeparator(folder)) folder.pop_back();
    return folder;
}

}  // namespace

CAboutTemplateDlg::CAboutTemplateDlg(const std::string& libraryFolder)
    : CDialog(IDD_LIBRARY_SETTINGS), currentFolder_(WithoutTrailingBackslash(libraryFolder)) {}

bool CAboutTemplateDlg::OnInitDialog() {
    pendingFolder_ = currentFolder_;
    CWinApp* app = CWinApp::Get();
    savedSubfolder_ = app ? app->GetProfileString(kSection, kFilterEntry, "") : std::string();
    pendingSubfolder_ = savedSubfolder_;
    ShowFolder(currentFolder_);
    FillSubfolders(currentFolder_);
    HWND combo = Item(IDC_TEMPLATE_FOLDER);
    // The list's own prefix search, from after the first entry, ignoring case.
    LRESULT found = SendMessageA(combo, CB_FINDSTRING, 0, reinterpret_cast<LPARAM>(savedSubfolder_.c_str()));
    if (found != CB_ERR) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    EnableWindow(Item(ID_LIBRARY_APPLY), FALSE);
    return true;
}

void CAboutTemplateDlg::ShowFolder(const std::string& folder) {
    char compact[kFolderFieldChars] = {};
    if (folder.size() < MAX_PATH) {
        if (!PathCompactPathExA(compact, folder.c_str(), kFolderFieldChars, 0)) lstrcpynA(compact, "", 1);
    }
    SetItemText(IDC_LIBRARY_FOLDER, compact);
}

void CAboutTemplateDlg::FillSubfolders(const std::string& folder) {
    HWND combo = Item(IDC_TEMPLATE_FOLDER);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    std::string pattern = folder + "\\*";
    WIN32_FIND_DATAA entry{};
    HANDLE find = pattern.size() < MAX_PATH ? FindFirstFileA(pattern.c_str(), &entry) : INVALID_HANDLE_VALUE;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..") continue;
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    EnableWindow(combo, SendMessageA(combo, CB_GETCOUNT, 0, 0) > 1);
}

bool CAboutTemplateDlg::OnCommand(UINT id, UINT code, HWND) {
    switch (id) {
    case ID_LIBRARY_CHANGE:
        if (code == BN_CLICKED) OnChange();
        return true;
    case ID_LIBRARY_APPLY:
        if (code == BN_CLICKED) OnApply();
        return true;
    case IDC_TEMPLATE_FOLDER:
        if (code == CBN_SELCHANGE) OnSubfolderChosen();
        return true;
    default:
        return false;
    }
}

void CAboutTemplateDlg::OnChange() {
    std::string chosen = library::BrowseLibraryFolder(texts::kBrowseLibraryTitle);
    if (chosen.empty() || chosen == currentFolder_) return;
    EnableWindow(Item(ID_LIBRARY_APPLY), TRUE);
    pendingFolder_ = chosen;
    ShowFolder(pendingFolder_);
    FillSubfolders(pendingFolder_);
}

void CAboutTemplateDlg::OnSubfolderChosen() {
    pendingSubfolder_ = text::WindowText(Item(IDC_TEMPLATE_FOLDER));
    if (pendingSubfolder_ != savedSubfolder_) EnableWindow(Item(ID_LIBRARY_APPLY), TRUE);
}

void CAboutTemplateDlg::OnApply() {
    if (pendingFolder_ != currentFolder_) {
        std::string path = pendingFolder_ + "\\" + library::kLibraryFileName;
        if (path.size() >= MAX_PATH || library::LibraryFileVersion(path) != library::kExpectedVersion) {
            text::Message(hwnd(), texts::kVersionMismatch, "", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        currentFolder_ = pendingFolder_;
        library::RegisterLibrary(path);
    }
    if (pendingSubfolder_ != savedSubfolder_) {
        savedSubfolder_ = pendingSubfolder_;
        if (CWinApp* app = CWinApp::Get()) app->WriteProfileString(kSection, kFilterEntry, savedSubfolder_);
    }
    EnableWindow(Item(ID_LIBRARY_APPLY), FALSE);
}
