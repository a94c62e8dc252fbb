#include "templates/CTemplateHooks.h"

#include "templates/CAboutTemplateDlg.h"
#include "templates/LibraryRegistration.h"
#include "templates/TemplateSelection.h"

namespace {

const char kFilterName[] = "テンプレート適用 (";

}  // namespace

CTemplateHooks::CTemplateHooks() : list_(engine_) {}

bool CTemplateHooks::EnsureLibrary() { return library::EnsureLibrary(); }

void CTemplateHooks::PrepareTemplates(const std::string& outputFile, const std::string& messageFile) {
    ready_ = engine_.SetWorkFiles(outputFile, messageFile);
    std::string folder = library::LocateLibrary();
    // A folder that does not leave room for a file name counts as none.
    if (!engine_.SetLibraryFolder(folder) || !list_.SetLibraryFolder(folder)) {
        folder.clear();
        engine_.SetLibraryFolder(folder);
        list_.SetLibraryFolder(folder);
    }
    libraryFolder_ = folder;
    list_.Prepare();
}

std::string CTemplateHooks::OpenDialogFilter() {
    if (list_.extensionPatterns().empty()) return std::string();
    return std::string(kFilterName) + list_.extensionList() + ")|" + list_.extensionPatterns() + "|";
}

CScriptEngine* CTemplateHooks::engine() { return ready_ ? &engine_ : nullptr; }

bool CTemplateHooks::SelectTemplateForFile(const std::string& path, std::string& templatePath) {
    return ::SelectTemplateForFile(list_, path, templatePath);
}

bool CTemplateHooks::BrowseTemplateFile(std::string& templatePath, HWND owner) {
    return ::BrowseTemplateFile(libraryFolder_, templatePath, owner);
}

void CTemplateHooks::ChangeLibrary(HWND owner) { library::ChangeLibrary(owner); }

void CTemplateHooks::ShowLibrarySettings() {
    CAboutTemplateDlg dialog(libraryFolder_);
    dialog.DoModal();
}

void CTemplateHooks::ShowAboutBox(HWND owner) { ::ShowAboutBox(owner); }
