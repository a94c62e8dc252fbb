// The application object: start-up and shut-down hooks, the message loop
// with idle-time command updates, the settings store, the recent-file list,
// the document template, the list of top-level frames with the main window,
// and the application-level commands (new, open, recent files, exit).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/CCmdUI.h"
#include "framework/CRecentFileList.h"
#include "framework/CSettingsStore.h"

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CFrameWnd;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* exeName);
    ~CWinApp() override;
    static CWinApp* Get() { return instance_; }

    // Called by WinMain: InitInstance, then the message loop, then
    // ExitInstance; returns the process's exit code.
    int Start(int showCommand);
    virtual bool InitInstance() { return true; }
    virtual int ExitInstance();
    virtual bool OnIdle(long count);
    virtual bool PreTranslateMessage(MSG& msg);

    const std::string& exeName() const { return exeName_; }
    std::string AppTitle() const;
    int showCommand() const { return showCommand_; }

    // Settings. The save journal (see CSafeSaveFile) is a section of them.
    static constexpr const char* kSaveJournalSection = "SaveJournal";
    void SetRegistryKey(const std::string& company);
    CSettingsStore& settings() { return settings_; }
    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const {
        return settings_.GetInt(section, entry, defaultValue);
    }
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) const {
        return settings_.WriteInt(section, entry, value);
    }
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) const {
        return settings_.GetString(section, entry, defaultValue);
    }
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) const {
        return settings_.WriteString(section, entry, value);
    }
    void LoadStdProfileSettings(std::size_t recentFiles);
    void AddToRecentFileList(const std::string& path);
    CRecentFileList* recentFiles() { return recentFiles_.get(); }

    // Documents.
    void AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate);
    CDocTemplate* docTemplate() const { return template_.get(); }
    // Opens a file in the way a recent file or a command-line file opens.
    virtual CDocument* OpenDocumentFile(const std::string& path);
    bool ProcessShellCommand(CCommandLineInfo& info);
    virtual void OnFileNew();
    virtual void OnFileOpen();
    // Closes the main window again and again while the role moves on.
    void CloseAllFrames();

    // Frames.
    CFrameWnd* mainWnd() const { return mainWnd_; }
    void SetMainWnd(CFrameWnd* frame) { mainWnd_ = frame; }
    const std::vector<CFrameWnd*>& frames() const { return frames_; }
    // A new frame goes right after the main window; the first is main.
    void AddFrame(CFrameWnd* frame);
    // Gives the main-window role to the next frame when frame has it.
    void HandOverMainWindow(CFrameWnd* frame);
    // A frame's window is gone; the last one ends the message loop.
    void RemoveFrame(CFrameWnd* frame);
    // The frame that is active, else the main window.
    CFrameWnd* ActiveFrame() const;

    // Modeless dialogs whose keyboard messages the loop must route.
    void AddModeless(HWND dialog);
    void RemoveModeless(HWND dialog);

    bool OnCmdMsg(UINT id, CCmdUI* ui) override;

protected:
    std::string helpFilePath_;

private:
    static CWinApp* instance_;
    std::string exeName_;
    int showCommand_ = SW_SHOWNORMAL;
    CSettingsStore settings_;
    std::unique_ptr<CRecentFileList> recentFiles_;
    std::unique_ptr<CDocTemplate> template_;
    CFrameWnd* mainWnd_ = nullptr;
    std::vector<CFrameWnd*> frames_;
    std::vector<HWND> modeless_;
};
