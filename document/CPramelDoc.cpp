#include "document/CPramelDoc.h"

#include <windows.h>

#include "document/CPramelApp.h"
#include "document/DocumentTexts.h"
#include "frame/CMainFrame.h"
#include "frame/CTavFileDialog.h"
#include "framework/CArchive.h"
#include "framework/CFile.h"
#include "framework/CFrameWnd.h"
#include "framework/LoadLog.h"
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
    CFile& file = archive.GetFile();
    file.SeekToBegin();
    double start = LoadClock();
    long result = engine.RunTemplate(file.handle(), file.GetFileName(), templatePath, FrameWindow());
    double ran = LoadClock();
    sessionCopy = engine.master();
    {
        CFile text(engine.outputFile(), CFile::Mode::Read);
        CArchive loading(text, CArchive::Direction::Load);
        CRichEditDoc::Serialize(loading);
    }
    double loaded = LoadClock();
    ShowRunResult(engine);

    // A run that did not end by itself (cancelled, or its host failed) has
    // left a text that stands for part of the file at most: saving it over
    // the file would cut the file short.
    bool incomplete = result == -1 || engine.lastExitCode() != 0;
    bool mismatch = false;
    if (sessionCopy.reversible) {
        byteOrder = session::IsBigEndian(sessionCopy) ? 1 : 0;
        // The text must stand for every byte of the file, and for exactly
        // the bytes the template emitted.
        mismatch = sessionCopy.outputBytes != sessionCopy.fileSize ||
                   !VerifyTextCrc(engine.outputFile(), static_cast<std::uint32_t>(byteOrder), sessionCopy.outputCrc);
    }
    AppendLoadLog("template run_ms=%.1f text_ms=%.1f check_ms=%.1f bytes=%lu", ran - start, loaded - ran,
                  LoadClock() - loaded, static_cast<unsigned long>(sessionCopy.outputBytes));
    if (mismatch) {
        if (CPramelView* view = GetPramelView()) view->PostErrorMessage(texts::kTemplateMismatch, texts::kConversionErrorCaption);
    }
    if (mismatch || incomplete) writable = 0;
}

bool CPramelDoc::PreSaveRun(CFile& written) {
    CScriptEngine& engine = *CPramelApp::Get()->templates().engine();
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
    BusyScope busy(*this);
    byteOrder = StoredByteOrder(path);
    if (mode == kModeTemplate && !CPramelApp::Get()->templates().SelectTemplateForFile(path, templatePath)) {
        mode = kModeBinary;
        templatePath.clear();
    }
    if (HWND frame = FrameWindow()) RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!OnOpenDocument(path)) return false;
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
    if (mode == kModeText) {
        saveType = 1;
        CRichEditDoc::Serialize(archive);
        NotifyOutputBar(2, nullptr);
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
    BusyScope busy(*this);
    const std::string path = GetPathName();
    if (path.empty()) return true;
    if (IsModified()) {
        if (text::Message(FrameWindow(), texts::kAskReload, GetTitle(), MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
            return false;
        }
    }
    writable = 1;
    CPramelView* view = GetPramelView();
    int firstLine = view ? view->FirstVisibleLine() : 0;
    if (!OnOpenDocument(path)) return false;
    if (view) view->ShowLineAtTop(firstLine);
    return true;
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
    switch (id) {
    case ID_RELOAD:
        if (ui) ui->Enable(!GetPathName().empty());
        else Reload();
        return true;
    case ID_TEMPLATE_SELECT:
        if (ui) {
            ui->Enable(mode != kModeText && !IsModified() && !GetPathName().empty());
        } else {
            BusyScope busy(*this);
            std::string chosen;
            if (templates.BrowseTemplateFile(chosen, FrameWindow())) {
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
