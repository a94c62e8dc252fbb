#include "document/CPramelApp.h"

#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "document/CMultiFileCommandLineInfo.h"
#include "document/CPramelDoc.h"
#include "document/DocumentTexts.h"
#include "frame/CMainFrame.h"
#include "frame/CTavFileDialog.h"
#include "framework/CDocTemplate.h"
#include "framework/StandardIds.h"
#include "framework/Strings.h"
#include "resources/pramel/resource.h"
#include "view/CPramelView.h"

namespace {

const char kSystemSection[] = "System";
const char kVersionEntry[] = "Version";

// The whole path, however long: a path cut to a fixed buffer would name
// another file (the help file is found beside it).
std::string ExecutablePath() {
    std::vector<char> path(MAX_PATH + 1, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) return std::string(path.data(), length);
        path.resize(path.size() * 2);
    }
}

// The executable's name without folder and extension ("Pramel").
std::string ExecutableName() {
    std::string name = text::FileNameOf(ExecutablePath());
    std::string extension = text::ExtensionOf(name);
    return name.substr(0, name.size() - extension.size());
}

}  // namespace

CPramelApp::CPramelApp(std::unique_ptr<ITemplateHooks> templates)
    : CWinApp(ExecutableName().c_str()), templates_(std::move(templates)) {}

bool CPramelApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);

    if (!templates_->EnsureLibrary()) return false;

    if (FAILED(OleInitialize(nullptr))) {
        text::Message(nullptr, text::Load(IDP_OLE_INIT_FAILED), "", MB_OK | MB_ICONSTOP);
        return false;
    }
    oleInitialized_ = true;

    instance_ = std::make_unique<CSingleInstance>(exeName());
    if (!instance_->Claim()) {
        HWND first = instance_->FindFirstInstance();
        if (first) {
            CMultiFileCommandLineInfo info;
            info.ParseCommandLine(GetCommandLineA());
            instance_->HandOver(first, info.files);
        }
        return false;
    }

    SetRegistryKey("Tevrin");
    CheckRegistryVersion();
    LoadStdProfileSettings(4);

    AddDocTemplate(std::make_unique<CDocTemplate>(
        IDR_MAINFRAME, [] { return std::unique_ptr<CDocument>(new CPramelDoc); },
        [] { return static_cast<CFrameWnd*>(new CMainFrame); }, [] { return static_cast<CView*>(new CPramelView); }));

    // Without a work folder or work files, templates cannot run: the user
    // is told once, and the editor goes on in text and binary mode.
    if (workFolder_.Prepare() != CWorkFolder::Result::Ready) {
        text::Message(nullptr, std::string(texts::kWorkFolderFailed) + texts::kTemplatesOff, "",
                      MB_OK | MB_ICONWARNING);
    } else if (!PrepareWorkFiles()) {
        text::Message(nullptr, std::string(texts::kWorkFileFailed) + texts::kTemplatesOff, "", MB_OK | MB_ICONWARNING);
    } else {
        templates_->PrepareTemplates(outputFile_, messageFile_);
    }

    CMultiFileCommandLineInfo info;
    info.ParseCommandLine(GetCommandLineA());
    if (!info.files.empty()) {
        for (const auto& file : info.files) {
            if (!OpenDocumentFile(file)) return false;
        }
    } else if (!ProcessShellCommand(info)) {
        return false;
    }

    CFrameWnd* main = mainWnd();
    if (!main) return false;
    ShowWindow(main->hwnd(), SW_SHOW);
    UpdateWindow(main->hwnd());
    instance_->Mark(main->hwnd());

    std::string exe = ExecutablePath();
    helpFilePath_ = exe.substr(0, exe.size() - text::ExtensionOf(exe).size()) + ".chm";
    return true;
}

void CPramelApp::CheckRegistryVersion() {
    if (GetProfileInt(kSystemSection, kVersionEntry, kRegistryVersion) == kRegistryVersion) return;
    settings().DeleteAllSections();
    WriteProfileInt(kSystemSection, kVersionEntry, kRegistryVersion);
    text::Message(nullptr, texts::kRegistryReset, "", MB_OK | MB_ICONINFORMATION);
}

bool CPramelApp::PrepareWorkFiles() {
    outputFile_ = workFolder_.CreateWorkFile();
    messageFile_ = outputFile_.empty() ? std::string() : workFolder_.CreateWorkFile();
    return !outputFile_.empty() && !messageFile_.empty();
}

int CPramelApp::ExitInstance() {
    workFolder_.DeleteLeftovers();
    int r = CWinApp::ExitInstance();
    if (oleInitialized_) OleUninitialize();
    return r;
}

CDocument* CPramelApp::OpenDocumentFile(const std::string& path) {
    int mode = CPramelDoc::kModeTemplate;
    if (text::EqualNoCase(text::ExtensionOf(path), ".txt")) {
        HWND owner = mainWnd() ? mainWnd()->hwnd() : nullptr;
        if (text::Message(owner, texts::kAskTextMode, texts::kOpenModeCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            mode = CPramelDoc::kModeText;
        }
    }
    return OpenDocumentInMode(path, mode);
}

CPramelDoc* CPramelApp::OpenDocumentInMode(const std::string& path, int mode) {
    // An untouched empty document in the active frame takes the file.
    CFrameWnd* active = ActiveFrame();
    auto* current = active ? dynamic_cast<CPramelDoc*>(active->GetActiveDocument()) : nullptr;
    // A document that is still loading or saving is never reused or
    // discarded: its operation is under way (a long template run lets
    // other windows work meanwhile).
    if (current && current->IsBusy()) current = nullptr;
    if (current && current->GetPathName().empty() && !current->IsModified()) {
        current->mode = mode;
        return current->OpenFile(path) ? current : nullptr;
    }
    // The file is open already: reload it in place, or start over.
    CPramelDoc* discarded = nullptr;
    if (auto* open = dynamic_cast<CPramelDoc*>(docTemplate()->FindOpenDocument(path))) {
        if (open->IsBusy()) {
            MessageBeep(MB_ICONEXCLAMATION);
            return nullptr;
        }
        if (!open->IsModified()) {
            open->mode = mode;
            return open->OpenFile(path) ? open : nullptr;
        }
        HWND owner = open->GetFrame() ? open->GetFrame()->hwnd() : nullptr;
        if (text::Message(owner, texts::kAskDiscardAndReopen, texts::kOpenModeCaption, MB_YESNO | MB_ICONQUESTION) !=
            IDYES) {
            return nullptr;
        }
        discarded = open;
    }
    auto* document = dynamic_cast<CPramelDoc*>(docTemplate()->OpenDocumentFile(nullptr));
    // The discarded document closes only once the new frame stands: closing
    // the last frame first would end the program.
    if (discarded) {
        discarded->SetModifiedFlag(false);
        discarded->OnCloseDocument();
    }
    if (!document) return nullptr;
    document->mode = mode;
    return document->OpenFile(path) ? document : nullptr;
}

void CPramelApp::OnFileOpen() {
    std::string templateFilter = templates_->OpenDialogFilter();
    std::string filter = std::string(texts::kTextFilter) + texts::kBinaryFilter + templateFilter;
    CTavFileDialog dialog(true, std::string(),
                          OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST, filter,
                          &lastFolder_, mainWnd() ? mainWnd()->hwnd() : nullptr, 10000);
    // Without templates the binary filter comes first in line.
    dialog.SetFilterIndex(templateFilter.empty() ? CPramelDoc::kModeBinary : CPramelDoc::kModeTemplate);
    if (!dialog.DoModal()) return;
    int mode = dialog.filterIndex();
    if (mode < CPramelDoc::kModeText || mode > CPramelDoc::kModeTemplate) mode = CPramelDoc::kModeBinary;
    for (const auto& path : dialog.GetPathNames()) OpenDocumentInMode(path, mode);
}

void CPramelApp::ShowHelp() {
    HWND owner = mainWnd() ? mainWnd()->hwnd() : nullptr;
    if (GetFileAttributesA(helpFilePath_.c_str()) == INVALID_FILE_ATTRIBUTES) {
        text::Message(owner, text::Format(texts::kHelpMissing, helpFilePath_.c_str()), "", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (StartHelpViewer()) return;
    // Without the viewer program the help opens inside the editor.
    using HtmlHelpFn = HWND(WINAPI*)(HWND, const char*, UINT, DWORD_PTR);
    static HMODULE viewer = LoadLibraryA("hhctrl.ocx");
    auto show = viewer ? reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(viewer, "HtmlHelpA")))
                       : nullptr;
    const UINT kDisplayToc = 0x0001;
    if (show) show(owner, helpFilePath_.c_str(), kDisplayToc, 0);
}

// The system's HTML Help viewer, hh.exe in the Windows folder, started on
// the help file as a process of its own: the editor neither waits for it
// nor goes down with it. The viewer is named by its full path, so no
// hh.exe in the current folder or on the search path is started instead.
bool CPramelApp::StartHelpViewer() const {
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    std::string viewer = windows;
    if (viewer.back() != '\\') viewer += '\\';
    viewer += "hh.exe";
    std::string commandLine = "\"" + viewer + "\" \"" + helpFilePath_ + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(viewer.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool CPramelApp::OnCmdMsg(UINT id, CCmdUI* ui) {
    switch (id) {
    case ids::kFileNewFrame:
        if (ui) ui->Enable(true);
        else OnFileNew();
        return true;
    case ids::kAppAbout:
        if (ui) ui->Enable(true);
        else templates_->ShowAboutBox(mainWnd() ? mainWnd()->hwnd() : nullptr);
        return true;
    case ids::kHelpIndex:
    case ids::kHelpFinder:
    case ids::kContextHelp:
        if (ui) ui->Enable(true);
        else ShowHelp();
        return true;
    default:
        return CWinApp::OnCmdMsg(id, ui);
    }
}
