// The text rules of the template list, "TemplateList.txt": how a list line
// splits into key and template path, how a template's declared extension
// text becomes keys, what counts as an absolute template path, which
// entries a file name selects, and the open dialog's two filter texts.
//
// Texts are bytes of the system's ANSI code page (932). Every scan here
// steps over double-byte characters whole, so a trail byte that happens to
// equal "\\" or a lower-case letter is never taken for one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace template_list {

// Paths live in buffers of this many bytes, terminating zero included.
constexpr std::size_t kPathSize = 260;
// The open dialog's filter texts live in buffers of this many bytes.
constexpr std::size_t kFilterSize = 260;

// True for the first byte of a double-byte character of code page 932.
bool IsLeadByte(unsigned char c);

// True when a path counts as absolute: it holds two backslashes in a row or
// a colon followed by a backslash anywhere.
bool IsAbsoluteTemplatePath(const std::string& path);

// True when the path's last character is a backslash or a slash.
bool EndsWithSeparator(const std::string& path);

// The file name of a path: the text after its last backslash, slash or
// colon.
std::string FileNameOf(const std::string& path);

// The extension of the path's file name from its last period on (".js"),
// or empty when the name has no period.
std::string ExtensionOf(const std::string& path);

// The text with the single-byte letters a to z upper-cased; double-byte
// characters stay as they are.
std::string UpperAscii(const std::string& text);

// True when the path's extension is ".js", ".vbs" or ".ps1" in any case.
bool HasTemplateExtension(const std::string& path);

// The path of a template as the system should see it: an absolute path
// unchanged, any other appended to the library folder. False (full left
// empty) when the result would not fit a path buffer.
bool ResolveTemplatePath(const std::string& libraryFolder, const std::string& templatePath, std::string& full);

// Splits an extension text at periods: every period ends a piece, empty
// pieces are dropped, nothing is trimmed. ".bmp..wav." gives "bmp", "wav".
// Returns the number of pieces.
std::size_t SplitExtensions(const std::string& text, std::vector<std::string>& pieces);

// The entries a template contributes to a rebuilt list, appended to list:
// one "KEY=relative" per declared extension, upper-cased; or the comment
// "# ?=relative" when the query failed (exit code not 0) or declared
// nothing usable. A piece holding "=", CR, LF or a zero byte cannot be read
// back as the key it is, so it is left out.
void AppendScannedTemplate(const std::string& relative, long exitCode, const std::string& extensions,
                           std::vector<std::string>& list);

// One list line as read from the file (without its line end).
struct ListLine {
    enum Kind {
        kIgnored,  // no "=" in the line
        kComment,  // the key starts with "#"
        kEntry,
    };
    Kind kind = kIgnored;
    std::string key;   // before the first "=", blanks and tabs trimmed
    std::string path;  // after it, blanks, tabs, CR and LF trimmed
};
ListLine ClassifyListLine(const std::string& line);

// The key of a list entry (the text before its first "=", the whole text
// when there is none) and its template path (the text after it).
std::string EntryKey(const std::string& entry);
std::string EntryPath(const std::string& entry);

// Rebuilds the open dialog's filter texts from the list: the keys joined by
// ";" ("BMP;WAV") and their "*." patterns joined by ";" ("*.BMP;*.WAV"), in
// list order, repeated keys repeated. Both texts together with their
// terminating zero stay within kFilterSize bytes: keys stop at the first
// whose pattern no longer fits, and the texts then end in the ";" written
// after the previous key. A ";" that would leave no room for the zero is not
// written, and no key follows it.
void BuildOpenFilters(const std::vector<std::string>& list, std::string& extensionList,
                      std::string& extensionPatterns);

// The key a file looks for: its extension without the period, letters a to
// z upper-cased. Empty when the file name has no extension.
std::string FileExtensionKey(const std::string& filePath);

// Fills templates with the paths of the entries whose key equals the file's
// extension key (case-sensitive), in list order; returns their count. A file
// without an extension matches nothing, not even an entry with an empty key.
std::size_t FindTemplatesForFile(const std::vector<std::string>& list, const std::string& filePath,
                                 std::vector<std::string>& templates);

}  // namespace template_list
