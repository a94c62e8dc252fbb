// What the editor should show or write, computed by the conversion chains
// themselves, so that a GUI test compares the editor with the pipeline it
// is built on.
#pragma once

#include <string>

#include "pipeline/Chains.h"

namespace gui {

// The hexadecimal text the file's bytes dump to.
std::string DumpText(const std::string& bytes, const HexLayout& layout);
// The bytes the text packs to (empty with error set when it does not pack).
std::string PackedBytes(const std::string& text, int byteOrder, std::string* error = nullptr);
// The control's text carries no final line break of its own.
std::string WithoutFinalLineBreak(std::string text);

}  // namespace gui
