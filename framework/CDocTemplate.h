// Makes documents: each new or opened document gets one top-level frame and
// one view, made by the factories given at construction. The template owns
// its documents; frames and views are windows that the frame owns.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDocument;
class CFrameWnd;
class CView;

class CDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<CFrameWnd*()>;
    using ViewFactory = std::function<CView*()>;

    CDocTemplate(unsigned resourceId, DocumentFactory document, FrameFactory frame, ViewFactory view);
    ~CDocTemplate();

    // A new empty document (path null) or the file opened, each in a new
    // frame; null when something failed (the user has been told).
    CDocument* OpenDocumentFile(const std::string* path, bool makeVisible = true);

    CDocument* CreateNewDocument();
    // A frame with its view for the document; null on failure.
    CFrameWnd* CreateNewFrame(CDocument* document);
    void InitialUpdateFrame(CFrameWnd* frame, CDocument* document, bool makeVisible);
    // "<default name><n>", n counting up from 1 for the whole process.
    void SetDefaultTitle(CDocument* document);
    // Deletes a document the template made.
    void RemoveDocument(CDocument* document);

    const std::vector<std::unique_ptr<CDocument>>& documents() const { return documents_; }
    unsigned resourceId() const { return resourceId_; }
    // The document is open in a document of this template (path, any case).
    CDocument* FindOpenDocument(const std::string& path) const;

private:
    unsigned resourceId_;
    DocumentFactory makeDocument_;
    FrameFactory makeFrame_;
    ViewFactory makeView_;
    std::vector<std::unique_ptr<CDocument>> documents_;
    static int untitledCount_;
};
