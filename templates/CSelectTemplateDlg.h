// The template selection dialog: the templates listed for a file's
// extension, sorted by path; OK or a double-click ends it with the index of
// the chosen template in the caller's array, Cancel with -1.
#pragma once

#include <string>
#include <vector>

#include "framework/CDialog.h"

class CSelectTemplateDlg : public CDialog {
public:
    explicit CSelectTemplateDlg(const std::vector<std::string>& templates);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    const std::vector<std::string>& templates_;
};
