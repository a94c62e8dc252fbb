// A document whose content is the text of its rich-edit view. It reads and
// writes that text as plain text, takes the modified flag from the control,
// and empties itself by giving the view a fresh control.
#pragma once

#include "framework/CDocument.h"

class CRichEditView;

class CRichEditDoc : public CDocument {
public:
    CRichEditView* GetRichEditView() const;

    bool IsModified() override;
    void SetModifiedFlag(bool modified = true) override;
    void DeleteContents() override;
    // Plain text in and out of the view's control.
    void Serialize(CArchive& archive) override;
};
