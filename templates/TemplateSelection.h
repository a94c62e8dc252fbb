// Which template a file opened in template mode gets: the templates the
// list holds for its extension, one taken at once, several offered in the
// selection dialog; or any template file the user picks.
#pragma once

#include <windows.h>

#include <string>

class CTemplateList;

// True with the full path of the template to run; false (path unchanged)
// when none applies or the user cancelled.
bool SelectTemplateForFile(const CTemplateList& list, const std::string& filePath, std::string& templatePath);
// The open dialog for template files, starting in the library folder; the
// process's current folder is the same afterwards. True with the chosen
// file's full path.
bool BrowseTemplateFile(const std::string& libraryFolder, std::string& templatePath, HWND owner = nullptr);
