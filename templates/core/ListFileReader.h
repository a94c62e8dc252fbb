// Reading "TemplateList.txt" line by line through a small read port, so the
// same code runs over a Win32 file handle in the editor and over memory in
// the tests.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace template_list {

// An open file read from its current position.
class IListFile {
public:
    virtual ~IListFile() = default;
    // Reads up to size bytes; fewer only at the end of the file; 0 at the
    // end or on a failure.
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    // Moves the position back by count bytes; false on a failure.
    virtual bool SeekBack(std::size_t count) = 0;
};

// Bytes read per step while looking for the end of a line.
constexpr std::size_t kLineChunk = 50;
// The line buffer: a line with its CR and LF holds at most 259 bytes.
constexpr std::size_t kLineBufferSize = 260;
constexpr std::size_t kMaxLineBytes = kLineBufferSize - 1;

// Reads the next line: looks ahead in chunks of kLineChunk bytes until a
// chunk holds a line feed or the file ends, moves back, and reads the line
// with its line feed (the whole rest when none came). The text ends at its
// first zero byte, like the C string it is kept as; then one trailing line
// feed and one trailing CR are removed.
//
// A line longer than kMaxLineBytes bytes (line end included) does not fit
// the line buffer. It is skipped whole, up to and including its line feed,
// and the next line is returned instead: a cut line could turn into a
// different, valid-looking entry, while a skipped one is simply not there.
//
// False at the end of the file (or when the file cannot be read on).
bool ReadListLine(IListFile& file, std::string& line);

// Reads every line and appends the entries that are not comments to list as
// key + "=" + path (trimmed texts, keys as written), keeping only those
// whose path usable() accepts.
void ReadListEntries(IListFile& file, const std::function<bool(const std::string&)>& usable,
                     std::vector<std::string>& list);

}  // namespace template_list
