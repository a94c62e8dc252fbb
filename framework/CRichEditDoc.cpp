#include "framework/CRichEditDoc.h"

#include "framework/CArchive.h"
#include "framework/CFile.h"
#include "framework/CRichEditView.h"

namespace {

// Hands the file's bytes to the control as it asks for them.
class FileFiller : public ITextSurface::BufferFiller {
public:
    explicit FileFiller(CFile& file) : file_(file) {}
    bool Fill(std::uint8_t* buffer, std::size_t capacity, std::size_t* filled) override {
        *filled = file_.Read(buffer, capacity);
        return true;
    }

private:
    CFile& file_;
};

// Writes each chunk the control hands out.
class FileWriter : public ITextSurface::ChunkReader {
public:
    explicit FileWriter(CFile& file) : file_(file) {}
    bool Take(const std::uint8_t* data, std::size_t size) override {
        file_.Write(data, size);
        return true;
    }

private:
    CFile& file_;
};

}  // namespace

CRichEditView* CRichEditDoc::GetRichEditView() const { return dynamic_cast<CRichEditView*>(GetView()); }

bool CRichEditDoc::IsModified() {
    CRichEditView* view = GetRichEditView();
    if (view && view->control() && SendMessageA(view->control(), EM_GETMODIFY, 0, 0)) return true;
    return CDocument::IsModified();
}

void CRichEditDoc::SetModifiedFlag(bool modified) {
    CDocument::SetModifiedFlag(modified);
    CRichEditView* view = GetRichEditView();
    if (view && view->control()) SendMessageA(view->control(), EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

void CRichEditDoc::DeleteContents() {
    if (CRichEditView* view = GetRichEditView()) view->ResetControl();
}

void CRichEditDoc::Serialize(CArchive& archive) {
    CRichEditView* view = GetRichEditView();
    if (!view) return;
    if (archive.IsLoading()) {
        FileFiller filler(archive.GetFile());
        view->StreamIn(filler);
    } else {
        FileWriter writer(archive.GetFile());
        view->StreamOut(writer);
    }
}
