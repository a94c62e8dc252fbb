// Text helpers: strings from the string table, printf-style formatting and
// the two halves of a command prompt ("status-bar text\ntooltip").
// Every text is in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>

namespace text {

// The string table entry, or an empty text.
std::string Load(unsigned id);
// printf into a std::string.
std::string Format(const char* format, ...);
// The part of a prompt before the line break (status bar) or after it
// (tooltip); an entry without a line break is all status-bar text.
std::string PromptOf(const std::string& entry);
std::string TooltipOf(const std::string& entry);
// The text of a window (GetWindowTextA).
std::string WindowText(HWND hwnd);
// The text of a status-bar pane in the ANSI code page. Read through the
// UTF-16 messages: the ANSI length message counts characters while the
// ANSI text message writes bytes, so a buffer sized by the one overflows
// with the other as soon as the pane shows double-byte characters.
std::string StatusPaneText(HWND bar, int pane);
// File name part of a path (after the last backslash, slash or colon).
std::string FileNameOf(const std::string& path);
// Extension with its dot (".bin"), or empty.
std::string ExtensionOf(const std::string& path);
// The folder part of a path, without the trailing backslash.
std::string FolderOf(const std::string& path);
// Case-insensitive comparison in the ANSI code page.
bool EqualNoCase(const std::string& a, const std::string& b);
// A message box owned by the window, with the given caption (the
// application's title when empty).
int Message(HWND owner, const std::string& message, const std::string& caption, UINT flags);

}  // namespace text
