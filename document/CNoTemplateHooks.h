// The template side of an editor without templates: the library check
// passes, no template applies to any file, nothing is run.
#pragma once

#include "document/ITemplateHooks.h"

class CNoTemplateHooks : public ITemplateHooks {
public:
    bool EnsureLibrary() override { return true; }
    void PrepareTemplates(const std::string&, const std::string&) override {}
    std::string OpenDialogFilter() override { return std::string(); }
    void SetLayout(int, int, int, int) override {}
    bool SelectTemplateForFile(const std::string&, std::string&) override { return false; }
    bool LoadTemplateText(CPramelDoc&, CArchive&) override { return false; }
    bool PreSaveCheck(CPramelDoc&, CFile&) override { return true; }
    bool BrowseTemplateFile(std::string&) override { return false; }
    void ChangeLibrary() override {}
    void ShowLibrarySettings() override {}
};
