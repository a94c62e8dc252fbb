#include "document/CPramelDoc.h"

#include <windows.h>

#include <utility>

#include "document/CPramelApp.h"
#include "document/DocumentTexts.h"
#include "document/TextFidelity.h"
#include "frame/CMainFrame.h"
#include "frame/CTavFileDialog.h"
#include "framework/CArchive.h"
#include "framework/CFile.h"
#include "framework/CFrameWnd.h"
#include "framework/LoadLog.h"
#include "framework/StandardIds.h"
#include "framework/Strings.h"
#include "pipeline/CStream.h"
#include "pipeline/Chains.h"
#include "resources/pramel/resource.h"
#include "templates/CScriptEngine.h"
#include "view/CPramelView.h"

namespace {

const char kEndianEntry[] = "Endian";
const char kArchiveErrorName[] = "trance";

// The byte order is remembered per extension; a file without one has no
// section of its own and always starts little-endian.
int StoredByteOrder(const std::string& path) {
    std::string extension = text::ExtensionOf(path);
    if (extension.empty()) return 0;
    return CPramelApp::Get()->GetProfileInt(extension, kEndianEntry, 0);
}

}  // namespace

CPramelDoc::CPramelDoc() = default;

CPramelView* CPramelDoc::GetPramelView() const { return dynamic_cast<CPramelView*>(GetView()); }

HWND CPramelDoc::FrameWindow() const { return GetFrame() ? GetFrame()->hwnd() : nullptr; }

void CPramelDoc::NotifyOutputBar(WPARAM what, const std::string* text) {
    if (auto* frame = dynamic_cast<CMainFrame*>(GetFrame())) frame->SendToOutputBar(what, reinterpret_cast<LPARAM>(text));
}

void CPramelDoc::ShowRunResult(const CScriptEngine& engine) {
    if (auto* frame = dynamic_cast<CMainFrame*>(GetFrame())) frame->SendToOutputBar(2, reinterpret_cast<LPARAM>(&engine));
}

void CPramelDoc::SetTemplateLayout(const CPramelView& view) {
    CScriptEngine* engine = CPramelApp::Get()->templates().engine();
    if (!engine) return;
    session::SessionBlock& master = engine->master();
    session::SetDataFormat(master, static_cast<unsigned>(dataSize), byteOrder == 1);
    master.lineBytes = view.bytesPerLine;
    master.separator = static_cast<std::int16_t>(view.separatorCode);
}

void CPramelDoc::LoadTemplate(CArchive& archive) {
    CScriptEngine& engine = *CPramelApp::Get()->templates().engine();
    // Another document's template is running (its progress dialog lets
    // other windows work meanwhile): this file is shown as its bytes.
    if (engine.IsRunning()) {
        mode = kModeBinary;
        LoadBinary(archive);
        NotifyOutputBar(2, nullptr);
        return;
    }
    CFile& file = archive.GetFile();
    file.SeekToBegin();
    double start = LoadClock();
    long result = engine.RunTemplate(file.handle(), file.GetFileName(), templatePath, FrameWindow());
    double ran = LoadClock();
    if (!engine.lastRunStarted()) {
        // No script ran (its host cannot be started, or a path does not
        // fit): the work files hold nothing of this file. The output bar
        // tells why, and the file is shown as its bytes.
        ShowRunResult(engine);
        mode = kModeBinary;
        file.SeekToBegin();
        LoadBinary(archive);
        return;
    }
    sessionCopy = engine.master();
    {
        CFile text(engine.outputFile(), CFile::Mode::Read);
        CArchive loading(text, CArchive::Direction::Load);
        CRichEditDoc::Serialize(loading);
    }
    double loaded = LoadClock();
    ShowRunResult(engine);

    // Save may write the text back over the file only when it is known to
    // stand for every byte of it: the template declared itself reversible,
    // the text packs to exactly the bytes it emitted, it emitted the whole
    // file, and the script ended by itself. Anything else (a cancel, a
    // failed host, a template that is not reversible) still opens and can
    // be saved under another name.
    bool complete = engine.lastExitCode() == 0 && result != -1;
    bool mismatch = false;
    if (sessionCopy.reversible) {
        byteOrder = session::IsBigEndian(sessionCopy) ? 1 : 0;
        mismatch = sessionCopy.outputBytes != sessionCopy.fileSize ||
                   !VerifyTextCrc(engine.outputFile(), static_cast<std::uint32_t>(byteOrder), sessionCopy.outputCrc);
    }
    AppendLoadLog("template run_ms=%.1f text_ms=%.1f check_ms=%.1f bytes=%lu", ran - start, loaded - ran,
                  LoadClock() - loaded, static_cast<unsigned long>(sessionCopy.outputBytes));
    if (mismatch) {
        if (CPramelView* view = GetPramelView()) {
            view->PostErrorMessage(texts::kTemplateMismatch, texts::kConversionErrorCaption);
        }
    }
    if (!sessionCopy.reversible || mismatch || !complete) writable = 0;
}

bool CPramelDoc::PreSaveRun(CFile& written) {
    CScriptEngine& engine = *CPramelApp::Get()->templates().engine();
    // The check cannot run while another document's template runs: the
    // save waits for the user to try again.
    if (engine.IsRunning()) {
        MessageBeep(MB_ICONEXCLAMATION);
        return false;
    }
    written.SeekToBegin();
    long result = engine.RunTemplate(written.handle(), written.GetFileName(), templatePath, FrameWindow());
    sessionCopy = engine.master();
    ShowRunResult(engine);
    if (result == 0) return true;
    return text::Message(FrameWindow(), texts::kAskSaveAnyway, texts::kFormatProblemCaption,
                         MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2) == IDYES;
}

bool CPramelDoc::CanCloseFrame(CFrameWnd* frame) {
    if (busy_ > 0) return false;
    return CRichEditDoc::CanCloseFrame(frame);
}

bool CPramelDoc::OpenFile(const std::string& path) {
    if (busy_ > 0) return false;
    BusyScope busy(*this);
    byteOrder = StoredByteOrder(path);
    if (mode == kModeTemplate && !CPramelApp::Get()->templates().SelectTemplateForFile(path, templatePath)) {
        mode = kModeBinary;
        templatePath.clear();
    }
    if (HWND frame = FrameWindow()) RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // A document refilled in place starts writable again; a failed open
    // leaves the old text and keeps the old state.
    int oldWritable = writable;
    writable = 1;
    if (!OnOpenDocument(path)) {
        writable = oldWritable;
        return false;
    }
    SetPathName(path);
    UpdateTitle();
    return true;
}

void CPramelDoc::UpdateTitle() {
    const std::string& path = GetPathName();
    if (path.empty()) return;
    HWND frame = FrameWindow();
    bool active = frame && GetForegroundWindow() == frame;
    SetTitle(active ? path : text::FileNameOf(path));
}

void CPramelDoc::LoadOrStore(CArchive& archive) {
    CPramelView* view = GetPramelView();
    if (!view) throw CArchiveException(CArchiveException::kGeneric, kArchiveErrorName);
    SetTemplateLayout(*view);
    NotifyOutputBar(0, nullptr);

    if (archive.IsStoring()) {
        if (mode == kModeText) {
            // The first save of a text that cannot hold the file's bytes
            // asks before anything is written; No keeps the file as it is.
            if (textLosses_ != text_fidelity::kNoLoss) {
                if (text::Message(FrameWindow(), texts::kAskSaveLossyText, texts::kLossyTextCaption,
                                  MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
                    throw CArchiveException(CArchiveException::kNone, kArchiveErrorName);
                }
                textLosses_ = text_fidelity::kNoLoss;
            }
            CRichEditDoc::Serialize(archive);
            return;
        }
        int r = SaveConversion(archive);
        if (r < 0) throw CArchiveException(CArchiveException::kBadSchema, kArchiveErrorName);
        if (r == 0) throw CArchiveException(CArchiveException::kNone, kArchiveErrorName);
        return;
    }

    DWORD attributes = GetFileAttributesA(archive.GetFile().openedPath().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) writable = 0;
    textLosses_ = text_fidelity::kNoLoss;
    if (mode == kModeText) {
        saveType = 1;
        CRichEditDoc::Serialize(archive);
        NotifyOutputBar(2, nullptr);
        ReportTextLosses(text_fidelity::TextModeLosses(archive.GetFile()));
        return;
    }
    saveType = 2;
    if (mode == kModeTemplate && !templatePath.empty() && CPramelApp::Get()->templates().engine()) {
        LoadTemplate(archive);
        return;
    }
    LoadBinary(archive);
    NotifyOutputBar(2, nullptr);
}

void CPramelDoc::ReportTextLosses(unsigned losses) {
    textLosses_ = losses;
    if (losses == text_fidelity::kNoLoss) return;
    std::string kinds;
    for (const auto& [bit, name] : {std::pair<unsigned, const char*>{text_fidelity::kNul, texts::kLossNul},
                                    {text_fidelity::kLoneLineEnd, texts::kLossLineEnd},
                                    {text_fidelity::kInvalidSequence, texts::kLossSequence}}) {
        if (!(losses & bit)) continue;
        if (!kinds.empty()) kinds += "、";
        kinds += name;
    }
    std::string warning = text::Format(texts::kLossyTextLoaded, kinds.c_str());
    NotifyOutputBar(1, &warning);
}

void CPramelDoc::LoadBinary(CArchive& archive) {
    CPramelView* view = GetPramelView();
    HexLayout layout;
    layout.groupSize = dataSize;
    layout.byteOrder = static_cast<std::uint32_t>(byteOrder);
    layout.bytesPerLine = static_cast<std::uint32_t>(view->bytesPerLine);
    layout.separatorCode = static_cast<std::uint32_t>(view->separatorCode);
    CStream source(kFileStream, static_cast<IByteFile*>(&archive.GetFile()));
    CStream sink(kRichEditStream, static_cast<ITextSurface*>(view));
    if (RunDumpChain(source, layout, sink) < 0) throw std::bad_alloc();
}

int CPramelDoc::SaveConversion(CArchive& archive) {
    CPramelView* view = GetPramelView();
    CStream source(kRichEditStream, static_cast<ITextSurface*>(view));
    CStream sink(kFileStream, static_cast<IByteFile*>(&archive.GetFile()));
    std::string errors;
    SetErrorCollector(&errors);
    int run = 0;
    try {
        run = RunPackChain(source, static_cast<std::uint32_t>(byteOrder), sink);
    } catch (...) {
        ClearErrorCollector();
        throw;
    }
    ClearErrorCollector();
    if (!errors.empty()) {
        NotifyOutputBar(1, &errors);
        return -1;
    }
    if (run < 0) {
        // The chain could not get its working memory: nothing was written,
        // so the save must not pass as done.
        std::string reason = texts::kConversionNoMemory;
        NotifyOutputBar(1, &reason);
        return -1;
    }
    // Only a template can judge the written file: a document that became
    // a template-mode document by a Save As has none yet.
    if (mode == kModeTemplate && preSaveCheck && !templatePath.empty() && CPramelApp::Get()->templates().engine()) {
        if (!PreSaveRun(archive.GetFile())) return 0;
    }
    return 1;
}

bool CPramelDoc::SaveDocument(const std::string* path, bool replace) {
    if (busy_ > 0) return false;
    BusyScope busy(*this);
    if (path && !path->empty() && writable == 1) return CRichEditDoc::DoSave(path, replace);

    std::string filter = std::string(texts::kTextFilter) + texts::kBinaryFilter;
    CTavFileDialog dialog(false, GetPathName(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, nullptr,
                          FrameWindow());
    dialog.SetFilterIndex(saveType);
    if (!dialog.DoModal()) return false;

    int oldMode = mode;
    int oldSaveType = saveType;
    if (dialog.filterIndex() == 2) {
        saveType = 2;
        if (mode == kModeText) mode = kModeTemplate;
    } else {
        saveType = 1;
        mode = kModeText;
    }
    std::string name = dialog.GetPathName();
    if (!CRichEditDoc::DoSave(&name, replace)) {
        mode = oldMode;
        saveType = oldSaveType;
        return false;
    }
    UpdateTitle();
    return true;
}

void CPramelDoc::CloseDocument() {
    std::string extension = text::ExtensionOf(GetPathName());
    if (!extension.empty()) CPramelApp::Get()->WriteProfileInt(extension, kEndianEntry, byteOrder);
    CRichEditDoc::OnCloseDocument();
}

void CPramelDoc::ReportSaveError(const std::string& path, const std::exception& error, bool saving) {
    if (auto* archive = dynamic_cast<const CArchiveException*>(&error)) {
        if (archive->cause() == CArchiveException::kBadSchema) {
            text::Message(FrameWindow(), texts::kConversionError, texts::kConversionErrorCaption,
                          MB_OK | MB_ICONERROR);
            return;
        }
        if (archive->cause() == CArchiveException::kNone) return;
    }
    CRichEditDoc::ReportSaveLoadException(path, error, saving);
}

bool CPramelDoc::Reload() {
    if (busy_ > 0) return false;
    BusyScope busy(*this);
    const std::string path = GetPathName();
    if (path.empty()) return true;
    if (IsModified()) {
        if (text::Message(FrameWindow(), texts::kAskReload, GetTitle(), MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
            return false;
        }
    }
    int oldWritable = writable;
    writable = 1;
    CPramelView* view = GetPramelView();
    int firstLine = view ? view->FirstVisibleLine() : 0;
    if (!OnOpenDocument(path)) {
        writable = oldWritable;
        return false;
    }
    if (view) view->ShowLineAtTop(firstLine);
    return true;
}

bool CPramelDoc::IsBlockedWhileBusy(UINT id) {
    switch (id) {
    case ids::kFileSave:
    case ids::kFileSaveAs:
    case ids::kFileClose:
    case ID_RELOAD:
    case ID_TEMPLATE_SELECT:
    case ID_ENDIAN_LITTLE:
    case ID_ENDIAN_BIG:
    case ID_DATA_BYTE:
    case ID_DATA_WORD:
    case ID_DATA_DWORD:
    case ID_PRESAVE_CHECK:
    case ID_VIEW_SETTINGS:
        return true;
    default:
        return false;
    }
}

void CPramelDoc::ChangeByteOrder(int order) {
    int old = byteOrder;
    byteOrder = order;
    if (!Reload()) byteOrder = old;
}

void CPramelDoc::ChangeDataSize(int size) {
    int old = dataSize;
    dataSize = size;
    if (!Reload()) dataSize = old;
}

bool CPramelDoc::OnCmdMsg(UINT id, CCmdUI* ui) {
    ITemplateHooks& templates = CPramelApp::Get()->templates();
    // While the document loads or saves, nothing may save, reload or close
    // it: those commands are off (floating bars and other frames stay
    // usable while a long template run shows its progress).
    if (busy_ > 0 && IsBlockedWhileBusy(id)) {
        if (ui) ui->Enable(false);
        return true;
    }
    switch (id) {
    case ID_RELOAD:
        if (ui) ui->Enable(!GetPathName().empty());
        else Reload();
        return true;
    case ID_TEMPLATE_SELECT:
        if (ui) {
            // Off when templates cannot run (no work files).
            ui->Enable(mode != kModeText && !IsModified() && !GetPathName().empty() && templates.engine());
        } else {
            std::string chosen;
            bool picked = false;
            {
                BusyScope busy(*this);
                picked = templates.BrowseTemplateFile(chosen, FrameWindow());
            }
            if (picked) {
                mode = kModeTemplate;
                templatePath = chosen;
                Reload();
            }
        }
        return true;
    case ID_LIBRARY_PATH:
        if (ui) ui->Enable(true);
        else templates.ChangeLibrary(FrameWindow());
        return true;
    case ID_TEMPLATE_HELP:
        if (ui) ui->Enable(true);
        else templates.ShowLibrarySettings();
        return true;
    default:
        return CRichEditDoc::OnCmdMsg(id, ui);
    }
}
