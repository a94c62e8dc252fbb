// Base of a document's view: a child window of the frame that shows one
// document and takes the commands first when its frame is active.
#pragma once

#include "framework/CCmdUI.h"
#include "framework/CWnd.h"

class CDocument;
class CFrameWnd;

class CView : public CWnd, public CCmdTarget {
public:
    CDocument* GetDocument() const { return document_; }
    void SetDocument(CDocument* document) { document_ = document; }
    CFrameWnd* GetParentFrame() const { return frame_; }

    // Creates the view's window in the frame's client area.
    virtual bool Create(CFrameWnd* frame, UINT id) = 0;
    // Called once the document exists, before the frame is shown.
    virtual void OnInitialUpdate() {}

protected:
    CDocument* document_ = nullptr;
    CFrameWnd* frame_ = nullptr;
};
