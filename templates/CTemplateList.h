// The association of templates with file extensions: "TemplateList.txt" in
// the library folder, rebuilt at start-up when it is missing or older than
// a template (each template is asked for its extensions through the script
// engine), read into `templateList`, and turned into the open dialog's
// template filter. The list is built once per process.
#pragma once

#include <string>
#include <vector>

class CScriptEngine;

class CTemplateList {
public:
    explicit CTemplateList(CScriptEngine& engine) : engine_(engine) {}

    // The library folder, ending in a backslash, or empty (then the list
    // file and relative paths are taken from the current folder and no scan
    // happens). False when it does not fit a 260-byte path.
    bool SetLibraryFolder(const std::string& folder);
    const std::string& libraryFolder() const { return libraryFolder_; }

    // The start-up sequence: stale check, scan and write when stale, read,
    // filters.
    void Prepare();

    bool IsTemplateListStale() const;
    // Rebuilds `templateList` from the template tree; called with no
    // folder at the top and with a subfolder when it descends.
    void ScanTemplates(const std::string& folder = std::string());
    // Writes the scanned entries as the list file; false when it cannot.
    bool WriteTemplateList() const;
    void ReadTemplateList();
    void BuildOpenFilters();
    bool IsUsableTemplate(const std::string& templatePath) const;
    // The template paths listed for the file's extension, in list order
    // (relative to the library folder, or absolute); their count.
    std::size_t FindTemplatesForFile(const std::string& filePath, std::vector<std::string>& templates) const;

    const std::vector<std::string>& templateList() const { return templateList_; }
    const std::string& extensionList() const { return extensionList_; }
    const std::string& extensionPatterns() const { return extensionPatterns_; }
    // The full path of a list entry's template path.
    std::string FullPath(const std::string& templatePath) const;

private:
    CScriptEngine& engine_;
    std::string libraryFolder_;
    std::vector<std::string> templateList_;
    std::string extensionList_;
    std::string extensionPatterns_;
};
