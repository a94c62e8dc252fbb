#include "templates/TemplateSelection.h"

#include <vector>

#include "framework/CFileDialog.h"
#include "templates/CSelectTemplateDlg.h"
#include "templates/CTemplateList.h"
#include "templates/LibraryTexts.h"

bool SelectTemplateForFile(const CTemplateList& list, const std::string& filePath, std::string& templatePath) {
    std::vector<std::string> templates;
    if (list.FindTemplatesForFile(filePath, templates) == 0) return false;
    std::string chosen;
    if (templates.size() == 1) {
        chosen = templates.front();
    } else {
        CSelectTemplateDlg dialog(templates);
        INT_PTR index = dialog.DoModal();
        if (index < 0 || static_cast<std::size_t>(index) >= templates.size()) return false;
        chosen = templates[static_cast<std::size_t>(index)];
    }
    templatePath = list.FullPath(chosen);
    return true;
}

bool BrowseTemplateFile(const std::string& libraryFolder, std::string& templatePath, HWND owner) {
    std::vector<char> current(MAX_PATH + 1, '\0');
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(current.size()), current.data());
    bool remembered = length > 0 && length < current.size();

    CFileDialog dialog(true, std::string(), OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       texts::kTemplateFileFilter, owner);
    dialog.SetInitialFolder(libraryFolder);
    bool chosen = dialog.DoModal();
    if (chosen) templatePath = dialog.GetPathName();

    if (remembered) SetCurrentDirectoryA(current.data());
    return chosen;
}
