// What the document and the application ask of the template side (script
// engine, template list, library registration and template selection). The
// editor calls these at the points where template mode joins the text and
// binary modes; the template side (templates/CTemplateHooks) answers them.
// The document runs templates itself through the engine this hands out.
#pragma once

#include <windows.h>

#include <string>

class CScriptEngine;

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

    // The engine that runs templates, or null when templates cannot run
    // (the document then loads template mode like binary mode).
    virtual CScriptEngine* engine() = 0;
    // The registered library's folder, ending in a backslash, or empty.
    virtual std::string libraryFolder() = 0;

    // Template for a file opened in template mode; false: none applies.
    virtual bool SelectTemplateForFile(const std::string& path, std::string& templatePath) = 0;
    // The template selection command; true with a path when one was chosen.
    virtual bool BrowseTemplateFile(std::string& templatePath, HWND owner) = 0;
    virtual void ChangeLibrary(HWND owner) = 0;
    virtual void ShowLibrarySettings() = 0;
    virtual void ShowAboutBox(HWND owner) = 0;
};
