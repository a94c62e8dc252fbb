// Conversions between the script's UTF-16 texts and the ANSI code page texts
// that the session block, the produced text and the core work with.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

// The text of a BSTR in the ANSI code page; a null BSTR is the empty text.
// Embedded zero characters are kept. Throws std::bad_alloc.
std::string AnsiFromBstr(BSTR text);

// A new BSTR holding the ANSI bytes converted to UTF-16; null when memory
// runs out.
BSTR BstrFromAnsi(const char* text, std::size_t length);
inline BSTR BstrFromAnsi(const std::string& text) { return BstrFromAnsi(text.data(), text.size()); }
