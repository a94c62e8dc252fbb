// An open file: the byte-file port of the conversion chains over a Win32
// handle, with seeking and the name the user knows the file by. That name
// may differ from the path actually opened: a save writes a temporary file
// beside the target and reports the target's name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Handles.h"
#include "pipeline/Ports.h"

class CFile : public IByteFile {
public:
    // Read: an existing file, shared with readers and writers. CreateNew:
    // created or emptied, exclusive for writing, readable by others.
    // CreateUnique: like CreateNew, but a file that already exists is
    // refused (ERROR_FILE_EXISTS) instead of being emptied.
    enum class Mode { Read, CreateNew, CreateUnique };

    CFile() = default;
    // Opens the path; throws CFileException.
    CFile(const std::string& path, Mode mode);

    std::size_t Read(void* buffer, std::size_t size) override;
    void Write(const void* data, std::size_t size) override;
    void SeekToBegin();
    std::uint64_t Length() const;
    void Close();

    HANDLE handle() const { return handle_.get(); }
    bool IsOpen() const { return static_cast<bool>(handle_); }
    // The path the file was opened with.
    const std::string& openedPath() const { return openedPath_; }
    // The path reported to users of the file (the target of a save).
    const std::string& GetFilePath() const { return reportedPath_; }
    std::string GetFileName() const;
    void SetReportedPath(const std::string& path) { reportedPath_ = path; }

private:
    [[noreturn]] void Fail(DWORD code) const;

    UniqueFile handle_;
    std::string openedPath_;
    std::string reportedPath_;
};
