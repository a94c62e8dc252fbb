#include "templates/core/TemplateListFormat.h"

namespace template_list {

namespace {

// Calls visit(position, byte) for the first byte of every character; a lead
// byte at the very end (a cut text) counts as a character of its own.
template <typename Visit>
void ForEachCharacter(const std::string& text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        visit(i, c);
        i += (IsLeadByte(c) && i + 1 < text.size()) ? 2 : 1;
    }
}

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
bool IsBlankTabOrLineEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

template <typename Predicate>
std::string Trim(const std::string& text, Predicate strip) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && strip(text[begin])) ++begin;
    while (end > begin && strip(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return i == a.size() && b[i] == '\0';
}

}  // namespace

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsAbsoluteTemplatePath(const std::string& path) {
    bool absolute = false;
    long previous = -1;  // the previous character when it was single-byte
    ForEachCharacter(path, [&](std::size_t i, unsigned char c) {
        const bool single = !(IsLeadByte(c) && i + 1 < path.size());
        if (single && c == '\\' && (previous == '\\' || previous == ':')) absolute = true;
        previous = single ? c : -1;
    });
    return absolute;
}

bool EndsWithSeparator(const std::string& path) {
    bool separator = false;
    ForEachCharacter(path, [&](std::size_t i, unsigned char c) {
        const bool single = !(IsLeadByte(c) && i + 1 < path.size());
        separator = single && (c == '\\' || c == '/');
    });
    return separator;
}

std::string FileNameOf(const std::string& path) {
    std::size_t start = 0;
    ForEachCharacter(path, [&](std::size_t i, unsigned char c) {
        if (c == '\\' || c == '/' || c == ':') start = i + 1;
    });
    return path.substr(start);
}

std::string ExtensionOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    // A period is never the second byte of a double-byte character.
    const std::size_t period = name.rfind('.');
    return period == std::string::npos ? std::string() : name.substr(period);
}

std::string UpperAscii(const std::string& text) {
    std::string upper = text;
    ForEachCharacter(text, [&](std::size_t i, unsigned char c) {
        if (c >= 'a' && c <= 'z') upper[i] = static_cast<char>(c - 'a' + 'A');
    });
    return upper;
}

bool HasTemplateExtension(const std::string& path) {
    const std::string extension = ExtensionOf(path);
    return EqualsIgnoringCase(extension, ".VBS") || EqualsIgnoringCase(extension, ".JS") ||
           EqualsIgnoringCase(extension, ".PS1");
}

bool ResolveTemplatePath(const std::string& libraryFolder, const std::string& templatePath, std::string& full) {
    full.clear();
    const bool absolute = IsAbsoluteTemplatePath(templatePath);
    const std::size_t size = (absolute ? 0 : libraryFolder.size()) + templatePath.size();
    if (size >= kPathSize) return false;
    full = absolute ? templatePath : libraryFolder + templatePath;
    return true;
}

std::size_t SplitExtensions(const std::string& text, std::vector<std::string>& pieces) {
    pieces.clear();
    std::string piece;
    for (char c : text) {
        if (c != '.') {
            piece += c;
        } else if (!piece.empty()) {
            pieces.push_back(piece);
            piece.clear();
        }
    }
    if (!piece.empty()) pieces.push_back(piece);
    return pieces.size();
}

namespace {

// True when the text holds one of the single-byte characters (the second
// byte of a double-byte character never counts).
bool HoldsAnyOf(const std::string& text, const std::string& characters) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c) && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (characters.find(static_cast<char>(c)) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

void AppendScannedTemplate(const std::string& relative, long exitCode, const std::string& extensions,
                           std::vector<std::string>& list) {
    std::vector<std::string> pieces;
    if (exitCode == 0) SplitExtensions(extensions, pieces);
    std::size_t added = 0;
    for (const std::string& piece : pieces) {
        // A piece that would break a list line or the open dialog's file
        // types ("name|pattern;pattern|") is left out.
        if (HoldsAnyOf(piece, std::string("=\r\n\0|;*?", 8))) continue;
        list.push_back(UpperAscii(piece) + "=" + relative);
        ++added;
    }
    if (added == 0) list.push_back("# ?=" + relative);
}

ListLine ClassifyListLine(const std::string& line) {
    ListLine result;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return result;
    result.key = Trim(line.substr(0, equals), IsBlankOrTab);
    result.path = Trim(line.substr(equals + 1), IsBlankTabOrLineEnd);
    result.kind = (!result.key.empty() && result.key[0] == '#') ? ListLine::kComment : ListLine::kEntry;
    return result;
}

std::string EntryKey(const std::string& entry) { return entry.substr(0, entry.find('=')); }

std::string EntryPath(const std::string& entry) {
    const std::size_t equals = entry.find('=');
    return equals == std::string::npos ? std::string() : entry.substr(equals + 1);
}

void BuildOpenFilters(const std::vector<std::string>& list, std::string& extensionList,
                      std::string& extensionPatterns) {
    extensionList.clear();
    extensionPatterns.clear();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string key = EntryKey(list[i]);
        // "*." + key and the terminating zero must fit. The list text is
        // two bytes shorter per key, so it always fits when the patterns do.
        if (extensionPatterns.size() + 2 + key.size() + 1 > kFilterSize) break;
        extensionList += key;
        extensionPatterns += "*." + key;
        if (i + 1 < list.size()) {
            if (extensionPatterns.size() + 1 + 1 > kFilterSize) break;
            extensionList += ';';
            extensionPatterns += ';';
        }
    }
}

std::string FileExtensionKey(const std::string& filePath) {
    const std::string extension = ExtensionOf(filePath);
    return extension.empty() ? std::string() : UpperAscii(extension.substr(1));
}

std::size_t FindTemplatesForFile(const std::vector<std::string>& list, const std::string& filePath,
                                 std::vector<std::string>& templates) {
    templates.clear();
    const std::string key = FileExtensionKey(filePath);
    if (key.empty()) return 0;
    for (const std::string& entry : list) {
        if (entry.find('=') != std::string::npos && EntryKey(entry) == key) templates.push_back(EntryPath(entry));
    }
    return templates.size();
}

}  // namespace template_list
