// The library settings dialog: shows the registered library's folder, lets
// the user register the library of another folder (checked for the right
// version first) and choose a template subfolder, which is stored as the
// setting "Filter" of the section "Templates". Changes wait for "適用";
// "閉じる" drops what was not applied.
#pragma once

#include <string>

#include "framework/CDialog.h"

class CAboutTemplateDlg : public CDialog {
public:
    // libraryFolder: the registered library's folder (a trailing backslash
    // is taken off).
    explicit CAboutTemplateDlg(const std::string& libraryFolder);

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void ShowFolder(const std::string& folder);
    void FillSubfolders(const std::string& folder);
    void OnChange();
    void OnSubfolderChosen();
    void OnApply();

    std::string currentFolder_;
    std::string pendingFolder_;
    std::string savedSubfolder_;
    std::string pendingSubfolder_;
};
