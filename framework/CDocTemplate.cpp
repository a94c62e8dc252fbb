#include "framework/CDocTemplate.h"

#include <windows.h>

#include <algorithm>

#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/StandardIds.h"
#include "framework/Strings.h"

int CDocTemplate::untitledCount_ = 0;

CDocTemplate::CDocTemplate(unsigned resourceId, DocumentFactory document, FrameFactory frame, ViewFactory view)
    : resourceId_(resourceId), makeDocument_(std::move(document)), makeFrame_(std::move(frame)),
      makeView_(std::move(view)) {}

CDocTemplate::~CDocTemplate() = default;

CDocument* CDocTemplate::CreateNewDocument() {
    auto document = makeDocument_();
    if (!document) return nullptr;
    document->SetDocTemplate(this);
    documents_.push_back(std::move(document));
    return documents_.back().get();
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* document) {
    CFrameWnd* frame = makeFrame_();
    if (!frame) return nullptr;
    // The frame owns itself from here on: it is deleted when its window is.
    if (!frame->LoadFrame(resourceId_, document, makeView_)) return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* document, bool makeVisible) {
    (void)document;
    frame->InitialUpdateFrame(makeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* document) {
    std::string name = text::Load(resourceId_);
    // The document string is "window title\ndefault document name\n...".
    auto nl = name.find('\n');
    std::string base = nl == std::string::npos ? std::string() : name.substr(nl + 1);
    base = base.substr(0, base.find('\n'));
    document->SetTitle(text::Format("%s%d", base.c_str(), ++untitledCount_));
}

CDocument* CDocTemplate::OpenDocumentFile(const std::string* path, bool makeVisible) {
    CDocument* document = CreateNewDocument();
    if (!document) {
        text::Message(nullptr, text::Load(ids::kFailedToCreateDoc), "", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    CFrameWnd* frame = CreateNewFrame(document);
    if (!frame) {
        RemoveDocument(document);
        text::Message(nullptr, text::Load(ids::kFailedToCreateDoc), "", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    if (!path) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            DestroyWindow(frame->hwnd());
            RemoveDocument(document);
            return nullptr;
        }
    } else {
        if (!document->OnOpenDocument(*path)) {
            DestroyWindow(frame->hwnd());
            RemoveDocument(document);
            return nullptr;
        }
        document->SetPathName(*path);
    }
    InitialUpdateFrame(frame, document, makeVisible);
    return document;
}

void CDocTemplate::RemoveDocument(CDocument* document) {
    auto it = std::find_if(documents_.begin(), documents_.end(),
                           [&](const std::unique_ptr<CDocument>& d) { return d.get() == document; });
    if (it != documents_.end()) documents_.erase(it);
}

CDocument* CDocTemplate::FindOpenDocument(const std::string& path) const {
    for (const auto& d : documents_) {
        if (!d->GetPathName().empty() && text::EqualNoCase(d->GetPathName(), path)) return d.get();
    }
    return nullptr;
}
