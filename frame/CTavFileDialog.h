// The editor's file dialog: starts in, and remembers, the folder the user
// last confirmed a name in (when the caller keeps one), and in a save
// dialog adds ".txt" to the name when the first file type (text) is picked
// and takes it off again when another type is picked.
#pragma once

#include <string>

#include "framework/CFileDialog.h"

class CTavFileDialog : public CFileDialog {
public:
    CTavFileDialog(bool open, const std::string& fileName, DWORD flags, const std::string& filter,
                   std::string* rememberedFolder, HWND owner, std::size_t nameBufferSize = 4 * MAX_PATH);

    // The name after a change of file type: the rules of the save dialog.
    // appended holds the extension the dialog added itself (or is empty).
    static std::string NameForType(const std::string& name, bool firstType, std::string& appended);

protected:
    void OnTypeChange() override;
    bool OnFileNameOK() override;

private:
    std::string* rememberedFolder_;
    std::string appended_;
};
