// What the document and the application ask of the template side (script
// engine, template list, library registration and template selection). The
// editor calls these at the points where template mode joins the text and
// binary modes; until the template side is built, CNoTemplateHooks answers
// as an editor without any template would.
#pragma once

#include <windows.h>

#include <string>

class CFile;
class CArchive;
class CPramelDoc;

class ITemplateHooks {
public:
    virtual ~ITemplateHooks() = default;

    // Start-up: the library check (false ends the program), then, once the
    // work files exist, locating the library and bringing the template list
    // up to date.
    virtual bool EnsureLibrary() = 0;
    virtual void PrepareTemplates(const std::string& outputFile, const std::string& messageFile) = 0;
    // The third filter of the File Open dialog ("name|patterns|"), or empty
    // when no template is associated with an extension.
    virtual std::string OpenDialogFilter() = 0;

    // Before every load and save: the layout the template runs with.
    virtual void SetLayout(int dataSize, int byteOrder, int bytesPerLine, int separatorCode) = 0;
    // Template for a file opened in template mode; false: none applies.
    virtual bool SelectTemplateForFile(const std::string& path, std::string& templatePath) = 0;
    // Loads the template's text for the archive's file into the document's
    // view; false when no template can run (the document then loads the
    // bytes as in binary mode).
    virtual bool LoadTemplateText(CPramelDoc& document, CArchive& archive) = 0;
    // After a successful packing run in template mode with the pre-save
    // check on: false cancels the save.
    virtual bool PreSaveCheck(CPramelDoc& document, CFile& written) = 0;
    // The template selection command; true with a path when one was chosen.
    virtual bool BrowseTemplateFile(std::string& templatePath) = 0;
    virtual void ChangeLibrary() = 0;
    virtual void ShowLibrarySettings() = 0;
};
