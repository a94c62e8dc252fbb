// Serialization over an open file: a document's load or store reads or
// writes the archive's file, and fails by raising CArchiveException.
#pragma once

#include <exception>
#include <string>

class CFile;

class CArchive {
public:
    enum class Direction { Load, Store };
    CArchive(CFile& file, Direction direction) : file_(file), direction_(direction) {}

    bool IsStoring() const { return direction_ == Direction::Store; }
    bool IsLoading() const { return direction_ == Direction::Load; }
    CFile& GetFile() const { return file_; }

private:
    CFile& file_;
    Direction direction_;
};

// A load or store that failed for a reason of its own (not a file error).
// The cause tells the document's report what to say; kNone asks for no
// report at all (the user cancelled, or was already told).
class CArchiveException : public std::exception {
public:
    static constexpr int kNone = 0;
    static constexpr int kGeneric = 1;
    static constexpr int kBadSchema = 5;

    CArchiveException(int cause, std::string name) : cause_(cause), name_(std::move(name)) {}
    int cause() const { return cause_; }
    const std::string& name() const { return name_; }
    const char* what() const noexcept override { return name_.c_str(); }

private:
    int cause_;
    std::string name_;
};
