#include "templates/core/ListFileReader.h"

#include <cstring>

#include "templates/core/TemplateListFormat.h"

namespace template_list {

namespace {

// Looks ahead for the end of the current line and moves back to its start.
// lineBytes receives the line's length with its line feed (or up to the end
// of the file), read the number of bytes looked at. False when the look
// ahead read nothing or the move back failed.
bool MeasureLine(IListFile& file, std::size_t& lineBytes, std::size_t& read) {
    char chunk[kLineChunk];
    read = 0;
    lineBytes = 0;
    for (;;) {
        const std::size_t got = file.Read(chunk, sizeof chunk);
        if (got == 0) {
            lineBytes = read;
            break;
        }
        const void* feed = std::memchr(chunk, '\n', got);
        read += got;
        if (feed != nullptr) {
            lineBytes = read - got + static_cast<std::size_t>(static_cast<const char*>(feed) - chunk) + 1;
            break;
        }
        if (got < sizeof chunk) {
            lineBytes = read;
            break;
        }
    }
    return read != 0 && file.SeekBack(read);
}

// Reads exactly size bytes (the move back made them available again).
bool ReadExactly(IListFile& file, char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const std::size_t got = file.Read(buffer + done, size - done);
        if (got == 0) return false;
        done += got;
    }
    return true;
}

// Moves over size bytes without keeping them.
bool Skip(IListFile& file, std::size_t size) {
    char chunk[kLineChunk];
    while (size > 0) {
        const std::size_t got = file.Read(chunk, size < sizeof chunk ? size : sizeof chunk);
        if (got == 0) return false;
        size -= got;
    }
    return true;
}

}  // namespace

bool ReadListLine(IListFile& file, std::string& line) {
    line.clear();
    for (;;) {
        std::size_t lineBytes = 0;
        std::size_t read = 0;
        if (!MeasureLine(file, lineBytes, read)) return false;
        if (lineBytes > kMaxLineBytes) {
            if (!Skip(file, lineBytes)) return false;
            continue;
        }
        char buffer[kLineBufferSize];
        if (!ReadExactly(file, buffer, lineBytes)) return false;
        buffer[lineBytes] = '\0';
        std::size_t length = std::strlen(buffer);
        if (length > 0 && buffer[length - 1] == '\n') --length;
        if (length > 0 && buffer[length - 1] == '\r') --length;
        line.assign(buffer, length);
        return true;
    }
}

void ReadListEntries(IListFile& file, const std::function<bool(const std::string&)>& usable,
                     std::vector<std::string>& list) {
    std::string text;
    while (ReadListLine(file, text)) {
        const ListLine line = ClassifyListLine(text);
        if (line.kind == ListLine::kEntry && usable(line.path)) list.push_back(line.key + "=" + line.path);
    }
}

}  // namespace template_list
