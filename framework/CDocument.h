// The document of the document/view framework: the file's path and title,
// the modified flag with the "save changes?" question, and the open, save
// and close sequences around the document's own serialization.
//
// Saving goes through CSafeSaveFile: the content is written beside the
// target and replaces it only when the whole save succeeded.
#pragma once

#include <exception>
#include <string>

#include "framework/CCmdUI.h"

class CArchive;
class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const std::string& GetPathName() const { return path_; }
    // Sets the path and the title (the file name); optionally adds the path
    // to the recent-file list.
    virtual void SetPathName(const std::string& path, bool addToRecent = true);
    const std::string& GetTitle() const { return title_; }
    // Sets the title and shows it in the frame's caption.
    virtual void SetTitle(const std::string& title);
    // Recomputes the title from the path; the editor's document decides how.
    virtual void UpdateTitle() {}

    virtual bool IsModified() { return modified_; }
    virtual void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    CDocTemplate* GetDocTemplate() const { return template_; }
    void SetDocTemplate(CDocTemplate* t) { template_ = t; }
    CView* GetView() const { return view_; }
    void SetView(CView* view) { view_ = view; }
    CFrameWnd* GetFrame() const;

    virtual bool OnNewDocument();
    // Opens the file, empties the document and loads it through Serialize.
    virtual bool OnOpenDocument(const std::string& path);
    // Writes the document to path through Serialize, safely.
    virtual bool OnSaveDocument(const std::string& path);
    // Closes the document's frame and deletes the document.
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive& archive);

    // Asks whether to save a modified document: true to go on (saved, or
    // not wanted), false when the user cancelled or the save failed.
    virtual bool SaveModified();
    virtual bool CanCloseFrame(CFrameWnd* frame);
    // Saves under path, or asks for a name when path is null (Save As).
    // replace: the document takes the new name.
    virtual bool DoSave(const std::string* path, bool replace = true);
    // The Save command: Save As when the document has no path or its file
    // is read-only.
    bool DoFileSave();

    // Tells the user why a load or save failed.
    virtual void ReportSaveLoadException(const std::string& path, const std::exception& error, bool saving);

    bool OnCmdMsg(UINT id, CCmdUI* ui) override;

protected:
    // Asks for a file name to save under; path holds the proposal.
    virtual bool PromptSaveAsName(std::string& path);

private:
    std::string path_;
    std::string title_;
    bool modified_ = false;
    CDocTemplate* template_ = nullptr;
    CView* view_ = nullptr;
};
