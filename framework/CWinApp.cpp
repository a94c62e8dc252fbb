#include "framework/CWinApp.h"

#include <algorithm>

#include "framework/CCommandLineInfo.h"
#include "framework/CDocTemplate.h"
#include "framework/CDocument.h"
#include "framework/CFileDialog.h"
#include "framework/CFrameWnd.h"
#include "framework/CSafeSaveFile.h"
#include "framework/FrameworkTexts.h"
#include "framework/StandardIds.h"
#include "framework/Strings.h"

CWinApp* CWinApp::instance_ = nullptr;

CWinApp::CWinApp(const char* exeName) : exeName_(exeName) {
    instance_ = this;
    settings_.SetRoot(exeName_, exeName_);  // until SetRegistryKey names the company
    CSafeSaveFile::SetJournalKey(settings_.RootPath() + "\\" + kSaveJournalSection);
}

CWinApp::~CWinApp() {
    // Documents go before the framework objects they refer to.
    template_.reset();
    if (instance_ == this) instance_ = nullptr;
}

std::string CWinApp::AppTitle() const {
    std::string title = text::Load(ids::kAppTitle);
    return title.empty() ? exeName_ : title;
}

int CWinApp::Start(int showCommand) {
    showCommand_ = showCommand;
    if (!InitInstance()) {
        // Windows that start-up made before it failed go without questions.
        while (!frames_.empty()) DestroyWindow(frames_.back()->hwnd());
        return ExitInstance();
    }
    // The instance that runs cleans up after saves an earlier run left
    // unfinished (a crash or a kill in the middle of a save).
    CSafeSaveFile::CleanUpAbandoned();
    MSG msg{};
    bool idle = true;
    long idleCount = 0;
    for (;;) {
        while (idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        if (!PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // Paint and timer messages change no command state.
        if (msg.message != WM_PAINT && msg.message != WM_TIMER && msg.message != 0x0118 /* system timer */) {
            idle = true;
            idleCount = 0;
        }
    }
    ExitInstance();
    return static_cast<int>(msg.wParam);
}

int CWinApp::ExitInstance() {
    if (recentFiles_) recentFiles_->Save(settings_);
    return 0;
}

bool CWinApp::OnIdle(long count) {
    if (count == 0) {
        for (CFrameWnd* frame : frames_) frame->OnIdleUpdateCmdUI();
    }
    return false;
}

bool CWinApp::PreTranslateMessage(MSG& msg) {
    for (HWND dialog : modeless_) {
        if (IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) return true;
    }
    // The frame of the window, or of the floating bar the window is in.
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    for (int hop = 0; hop < 2 && top; ++hop) {
        for (CFrameWnd* frame : frames_) {
            if (frame->hwnd() == top) return frame->PreTranslateMessage(msg);
        }
        top = GetWindow(top, GW_OWNER);
    }
    return false;
}

void CWinApp::SetRegistryKey(const std::string& company) {
    settings_.SetRoot(company, exeName_);
    CSafeSaveFile::SetJournalKey(settings_.RootPath() + "\\" + kSaveJournalSection);
}

void CWinApp::LoadStdProfileSettings(std::size_t recentFiles) {
    recentFiles_ = std::make_unique<CRecentFileList>(ids::kFileMru1, recentFiles);
    recentFiles_->Load(settings_);
}

void CWinApp::AddToRecentFileList(const std::string& path) {
    if (!recentFiles_) return;
    recentFiles_->Add(path);
    recentFiles_->Save(settings_);
}

void CWinApp::AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate) { template_ = std::move(docTemplate); }

CDocument* CWinApp::OpenDocumentFile(const std::string& path) {
    if (!template_) return nullptr;
    return template_->OpenDocumentFile(&path);
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.shellCommand) {
    case CCommandLineInfo::ShellCommand::FileNew:
        OnFileNew();
        return mainWnd_ != nullptr;
    case CCommandLineInfo::ShellCommand::FileOpen:
        return OpenDocumentFile(info.fileName) != nullptr;
    case CCommandLineInfo::ShellCommand::FileNothing:
        return true;
    }
    return false;
}

void CWinApp::OnFileNew() {
    if (template_) template_->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    CFileDialog dialog(true, "", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, texts::kAllFilesFilter,
                       mainWnd_ ? mainWnd_->hwnd() : nullptr);
    if (dialog.DoModal()) OpenDocumentFile(dialog.GetPathName());
}

void CWinApp::CloseAllFrames() {
    for (;;) {
        CFrameWnd* main = mainWnd_;
        if (!main) return;
        SendMessageA(main->hwnd(), WM_CLOSE, 0, 0);
        if (mainWnd_ == main) return;  // the close was refused
    }
}

void CWinApp::AddFrame(CFrameWnd* frame) {
    if (!mainWnd_) {
        mainWnd_ = frame;
        frames_.push_back(frame);
        return;
    }
    auto main = std::find(frames_.begin(), frames_.end(), mainWnd_);
    frames_.insert(main == frames_.end() ? frames_.end() : main + 1, frame);
}

void CWinApp::HandOverMainWindow(CFrameWnd* frame) {
    if (mainWnd_ != frame) return;
    auto it = std::find(frames_.begin(), frames_.end(), frame);
    CFrameWnd* next = nullptr;
    if (it != frames_.end()) {
        if (it + 1 != frames_.end()) {
            next = *(it + 1);
        } else if (it != frames_.begin()) {
            next = frames_.front();
        }
    }
    mainWnd_ = next;
}

void CWinApp::RemoveFrame(CFrameWnd* frame) {
    HandOverMainWindow(frame);
    frames_.erase(std::remove(frames_.begin(), frames_.end(), frame), frames_.end());
    if (frames_.empty()) {
        mainWnd_ = nullptr;
        PostQuitMessage(0);
    }
}

CFrameWnd* CWinApp::ActiveFrame() const {
    HWND active = GetActiveWindow();
    for (CFrameWnd* frame : frames_) {
        if (frame->hwnd() == active) return frame;
    }
    return mainWnd_;
}

void CWinApp::AddModeless(HWND dialog) { modeless_.push_back(dialog); }

void CWinApp::RemoveModeless(HWND dialog) {
    modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), dialog), modeless_.end());
}

bool CWinApp::OnCmdMsg(UINT id, CCmdUI* ui) {
    if (id >= ids::kFileMru1 && id <= ids::kFileMruLast) {
        const std::string* path = recentFiles_ ? recentFiles_->ForCommand(id) : nullptr;
        if (ui) {
            ui->Enable(path != nullptr);
        } else if (path) {
            std::string copy = *path;  // the list may change while opening
            if (!OpenDocumentFile(copy)) {
                // A file that no longer opens leaves the list.
                auto index = id - ids::kFileMru1;
                if (index < recentFiles_->size() && (*recentFiles_)[index] == copy) {
                    recentFiles_->Remove(index);
                    recentFiles_->Save(settings_);
                }
            }
        }
        return true;
    }
    switch (id) {
    case ids::kFileNew:
        if (ui) ui->Enable(true);
        else OnFileNew();
        return true;
    case ids::kFileOpen:
        if (ui) ui->Enable(true);
        else OnFileOpen();
        return true;
    case ids::kAppExit:
        if (ui) ui->Enable(true);
        else CloseAllFrames();
        return true;
    default:
        return false;
    }
}
