// A file operation the system refused, with the system's error code and the
// path the user knows the file by, so that the report can say what went
// wrong (read-only, in use, disk full) and with which file.
#pragma once

#include <windows.h>

#include <string>

#include "pipeline/Ports.h"

class CFileException : public FileError {
public:
    enum class Cause { Generic, NotFound, AccessDenied, ReadOnly, SharingViolation, DiskFull, BadPath };

    CFileException(Cause cause, DWORD code, const std::string& path);
    // The cause that a system error code stands for.
    static Cause CauseOf(DWORD code);

    Cause cause() const { return cause_; }
    DWORD code() const { return code_; }
    const std::string& path() const { return path_; }

private:
    Cause cause_;
    DWORD code_;
    std::string path_;
};
