// The editor's application object: start-up (single instance, registry
// layout, work folder, template side, command-line files), the ways a file
// is opened, and the application commands.
#pragma once

#include <memory>
#include <string>

#include "document/CSingleInstance.h"
#include "document/CWorkFolder.h"
#include "document/ITemplateHooks.h"
#include "framework/CWinApp.h"

class CPramelDoc;

class CPramelApp : public CWinApp {
public:
    static constexpr int kRegistryVersion = 59;

    explicit CPramelApp(std::unique_ptr<ITemplateHooks> templates);
    static CPramelApp* Get() { return static_cast<CPramelApp*>(CWinApp::Get()); }

    bool InitInstance() override;
    int ExitInstance() override;

    // Opening without a choice of mode: a ".txt" file asks whether to open
    // it as text, everything else opens in template mode.
    CDocument* OpenDocumentFile(const std::string& path) override;
    // Opening in a given mode: in place in an empty untouched document or
    // the document already showing the file, else in a new frame.
    CPramelDoc* OpenDocumentInMode(const std::string& path, int mode);
    void OnFileOpen() override;
    // The help file beside the executable in the HTML Help viewer, or the
    // message that it is missing.
    void ShowHelp();

    ITemplateHooks& templates() { return *templates_; }
    std::string& lastFolder() { return lastFolder_; }
    const std::string& outputFile() const { return outputFile_; }
    const std::string& messageFile() const { return messageFile_; }

    bool OnCmdMsg(UINT id, CCmdUI* ui) override;

private:
    // Erases every setting, once, when they were written in another layout.
    void CheckRegistryVersion();
    bool PrepareWorkFiles();
    bool StartHelpViewer() const;

    std::unique_ptr<ITemplateHooks> templates_;
    std::unique_ptr<CSingleInstance> instance_;
    CWorkFolder workFolder_;
    std::string outputFile_;
    std::string messageFile_;
    std::string lastFolder_;
    bool oleInitialized_ = false;
};
