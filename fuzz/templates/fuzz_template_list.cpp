// Arbitrary bytes as "TemplateList.txt": every line read must be a whole
// line of the file that fits the line buffer, no line may swallow its
// neighbour, and the entries, the open dialog's filter texts and the
// look-ups built from them must keep their shape.
//
// Input: the first byte picks which paths count as existing templates
// (bit 0: every path with a template extension, else every path), the
// second the file name looked up (its extension is taken from the file),
// the rest is the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MemoryListFile.h"
#include "templates/core/ListFileReader.h"
#include "templates/core/TemplateListFormat.h"

using namespace template_list;
using template_list_test::MemoryListFile;

namespace {

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

// The file's lines as the reader must see them: split after each line
// feed, over-long ones dropped, each cut at a zero byte, one LF and one CR
// removed.
std::vector<std::string> ExpectedLines(const std::string& file) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find('\n', start);
        end = end == std::string::npos ? file.size() : end + 1;
        std::string line = file.substr(start, end - start);
        start = end;
        if (line.size() > kMaxLineBytes) continue;
        line = line.substr(0, line.find('\0'));
        if (!line.empty() && line.back() == '\n') line.pop_back();
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool byExtension = (data[0] & 1) != 0;
    const std::string file(reinterpret_cast<const char*>(data + 2), size - 2);

    MemoryListFile lines(file);
    std::vector<std::string> read;
    std::string line;
    while (ReadListLine(lines, line)) read.push_back(line);
    Require(lines.position() == file.size(), "reader stopped before the end");
    Require(read == ExpectedLines(file), "lines differ from the file's");

    MemoryListFile entries(file);
    std::vector<std::string> list;
    const auto usable = [&](const std::string& path) { return !byExtension || HasTemplateExtension(path); };
    ReadListEntries(entries, usable, list);
    for (const std::string& entry : list) {
        const std::string key = EntryKey(entry);
        Require(entry.find('=') != std::string::npos, "entry without =");
        Require(key.empty() || (key[0] != '#' && key[0] != ' ' && key[0] != '\t'), "comment or untrimmed key");
        Require(!byExtension || HasTemplateExtension(EntryPath(entry)), "unusable entry kept");
    }

    std::string extensions, patterns;
    BuildOpenFilters(list, extensions, patterns);
    Require(patterns.size() < kFilterSize && extensions.size() < kFilterSize, "filter text too long");

    // Look up the key of one of the entries, as a file name.
    if (!list.empty()) {
        const std::string& entry = list[data[1] % list.size()];
        const std::string name = "C:\\dir\\file." + EntryKey(entry);
        std::vector<std::string> found;
        const std::size_t count = FindTemplatesForFile(list, name, found);
        Require(count == found.size(), "count differs from the array");
        const std::string key = FileExtensionKey(name);
        std::size_t expected = 0;
        for (const std::string& e : list) expected += (!key.empty() && EntryKey(e) == key) ? 1 : 0;
        Require(count == expected, "look-up missed or invented an entry");
    }

    std::vector<std::string> pieces;
    SplitExtensions(file, pieces);
    for (const std::string& piece : pieces) Require(!piece.empty() && piece.find('.') == std::string::npos, "bad piece");
    std::vector<std::string> scanned;
    AppendScannedTemplate("sub\\t.js", 0, file, scanned);
    Require(!scanned.empty(), "scanned template left out");
    return 0;
}
