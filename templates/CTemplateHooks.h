// The template side as the editor sees it: owns the script engine and the
// template list for the whole process, and answers the document's and the
// application's template steps.
#pragma once

#include "document/ITemplateHooks.h"
#include "templates/CScriptEngine.h"
#include "templates/CTemplateList.h"

class CTemplateHooks : public ITemplateHooks {
public:
    CTemplateHooks();

    bool EnsureLibrary() override;
    void PrepareTemplates(const std::string& outputFile, const std::string& messageFile) override;
    std::string OpenDialogFilter() override;
    CScriptEngine* engine() override;
    std::string libraryFolder() override { return libraryFolder_; }
    bool SelectTemplateForFile(const std::string& path, std::string& templatePath) override;
    bool BrowseTemplateFile(std::string& templatePath, HWND owner) override;
    void ChangeLibrary(HWND owner) override;
    void ShowLibrarySettings() override;
    void ShowAboutBox(HWND owner) override;

private:
    CScriptEngine engine_;
    CTemplateList list_;
    std::string libraryFolder_;
    bool ready_ = false;  // the work files are set: templates can run
};
