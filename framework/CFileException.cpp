#include "framework/CFileException.h"

CFileException::CFileException(Cause cause, DWORD code, const std::string& path)
    : FileError(path), cause_(cause), code_(code), path_(path) {}

CFileException::Cause CFileException::CauseOf(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return Cause::NotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
        return Cause::BadPath;
    case ERROR_ACCESS_DENIED:
        return Cause::AccessDenied;
    case ERROR_WRITE_PROTECT:
        return Cause::ReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Cause::SharingViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Cause::DiskFull;
    default:
        return Cause::Generic;
    }
}
