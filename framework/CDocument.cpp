#include "framework/CDocument.h"

#include <windows.h>

#include <new>

#include "framework/CArchive.h"
#include "framework/CDocTemplate.h"
#include "framework/CFile.h"
#include "framework/CFileDialog.h"
#include "framework/CFileException.h"
#include "framework/CFrameWnd.h"
#include "framework/CSafeSaveFile.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/FrameworkTexts.h"
#include "framework/StandardIds.h"
#include "framework/Strings.h"

CFrameWnd* CDocument::GetFrame() const { return view_ ? view_->GetParentFrame() : nullptr; }

void CDocument::SetPathName(const std::string& path, bool addToRecent) {
    path_ = path;
    SetTitle(text::FileNameOf(path));
    UpdateTitle();  // a derived document may show more than the name
    if (addToRecent) CWinApp::Get()->AddToRecentFileList(path);
}

void CDocument::SetTitle(const std::string& title) {
    title_ = title;
    if (CFrameWnd* frame = GetFrame()) frame->OnUpdateFrameTitle();
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    path_.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path) {
    CFile file;
    try {
        file = CFile(path, CFile::Mode::Read);
    } catch (const std::exception& e) {
        ReportSaveLoadException(path, e, false);
        return false;
    }
    DeleteContents();
    SetModifiedFlag(true);  // a load that stops half-way leaves a changed document
    try {
        CArchive archive(file, CArchive::Direction::Load);
        Serialize(archive);
    } catch (const std::exception& e) {
        ReportSaveLoadException(path, e, false);
        DeleteContents();
        SetModifiedFlag(false);
        // The text is gone: a plain Save must not write the empty document
        // over the file, so the document forgets its path and asks for one.
        if (!path_.empty()) {
            path_.clear();
            UpdateTitle();
        }
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path) {
    try {
        CSafeSaveFile target(path);
        {
            CArchive archive(target.file(), CArchive::Direction::Store);
            Serialize(archive);
        }
        target.Commit();
    } catch (const std::exception& e) {
        ReportSaveLoadException(path, e, true);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument() {
    CFrameWnd* frame = GetFrame();
    if (view_) view_->SetDocument(nullptr);
    view_ = nullptr;
    if (frame) {
        frame->SetDocument(nullptr);
        frame->DestroyFrameWindow();
    }
    DeleteContents();
    if (template_) template_->RemoveDocument(this);  // deletes this document
}

void CDocument::Serialize(CArchive&) {}

bool CDocument::SaveModified() {
    if (!IsModified()) return true;
    std::string name = path_.empty() ? title_ : path_;
    HWND owner = GetFrame() ? GetFrame()->hwnd() : nullptr;
    int answer = text::Message(owner, text::Format(texts::kAskToSave, name.c_str()), "",
                               MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
    return DoFileSave();
}

bool CDocument::CanCloseFrame(CFrameWnd*) { return SaveModified(); }

bool CDocument::PromptSaveAsName(std::string& path) {
    HWND owner = GetFrame() ? GetFrame()->hwnd() : nullptr;
    CFileDialog dialog(false, path, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, texts::kAllFilesFilter, owner);
    if (!dialog.DoModal()) return false;
    path = dialog.GetPathName();
    return true;
}

bool CDocument::DoSave(const std::string* path, bool replace) {
    std::string name = path ? *path : std::string();
    if (name.empty()) {
        name = path_.empty() ? title_ : path_;
        if (!PromptSaveAsName(name)) return false;
    }
    if (!OnSaveDocument(name)) return false;
    if (replace) SetPathName(name);
    return true;
}

bool CDocument::DoFileSave() {
    DWORD attributes = path_.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path_.c_str());
    if (path_.empty() || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))) {
        return DoSave(nullptr);
    }
    return DoSave(&path_);
}

void CDocument::ReportSaveLoadException(const std::string& path, const std::exception& error, bool saving) {
    std::string message;
    const char* name = path.c_str();
    if (auto* archive = dynamic_cast<const CArchiveException*>(&error)) {
        if (archive->cause() == CArchiveException::kNone) return;
        message = text::Format(saving ? texts::kSaveFailed : texts::kOpenFailed, name, "");
    } else if (auto* file = dynamic_cast<const CFileException*>(&error)) {
        using Cause = CFileException::Cause;
        switch (file->cause()) {
        case Cause::ReadOnly:
            message = text::Format(saving ? texts::kSaveReadOnly : texts::kOpenDenied, name);
            break;
        case Cause::SharingViolation:
            message = text::Format(saving ? texts::kSaveInUse : texts::kOpenInUse, name);
            break;
        case Cause::AccessDenied:
            message = text::Format(saving ? texts::kSaveDenied : texts::kOpenDenied, name);
            break;
        case Cause::DiskFull:
            message = text::Format(texts::kSaveDiskFull, name);
            break;
        case Cause::NotFound:
            message = text::Format(saving ? texts::kSaveBadPath : texts::kOpenNotFound, name);
            break;
        case Cause::BadPath:
            message = text::Format(saving ? texts::kSaveBadPath : texts::kOpenBadPath, name);
            break;
        case Cause::Generic: {
            char* reason = nullptr;
            FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, file->code(), 0, reinterpret_cast<char*>(&reason), 0, nullptr);
            message = text::Format(saving ? texts::kSaveFailed : texts::kOpenFailed, name, reason ? reason : "");
            if (reason) LocalFree(reason);
            break;
        }
        }
    } else if (dynamic_cast<const std::bad_alloc*>(&error)) {
        message = texts::kOutOfMemory;
    } else {
        message = text::Format(saving ? texts::kSaveFailed : texts::kOpenFailed, name, error.what());
    }
    HWND owner = GetFrame() ? GetFrame()->hwnd() : nullptr;
    text::Message(owner, message, "", MB_OK | MB_ICONEXCLAMATION);
}

bool CDocument::OnCmdMsg(UINT id, CCmdUI* ui) {
    switch (id) {
    case ids::kFileSave:
        if (ui) ui->Enable(true);
        else DoFileSave();
        return true;
    case ids::kFileSaveAs:
        if (ui) ui->Enable(true);
        else DoSave(nullptr);
        return true;
    case ids::kFileClose:
        if (ui) {
            ui->Enable(true);
        } else if (SaveModified()) {
            OnCloseDocument();
        }
        return true;
    default:
        return false;
    }
}
