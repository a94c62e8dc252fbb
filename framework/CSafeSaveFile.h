// A save that never loses the old file: the new content is written to a
// temporary file in the target's folder, and only a complete, successful
// write replaces the target (one rename, MoveFileEx with replace). A save
// that fails or is abandoned removes the temporary file and leaves the
// target byte for byte as it was.
//
// The temporary file reports the target's path as its name, so that anyone
// looking at the file being saved (the pre-save check) sees the document's
// own name and extension.
#pragma once

#include <string>

#include "framework/CFile.h"

class CSafeSaveFile {
public:
    // Checks that the target may be replaced (not read-only, not locked by
    // another program) and creates the temporary file. Throws CFileException
    // naming the target.
    explicit CSafeSaveFile(const std::string& target);
    ~CSafeSaveFile();
    CSafeSaveFile(const CSafeSaveFile&) = delete;
    CSafeSaveFile& operator=(const CSafeSaveFile&) = delete;

    CFile& file() { return file_; }
    const std::string& temporaryPath() const { return temporary_; }

    // Closes the temporary file and puts it in the target's place. Throws
    // CFileException; the target is then unchanged.
    void Commit();

private:
    std::string target_;
    std::string temporary_;
    CFile file_;
    bool committed_ = false;
};
