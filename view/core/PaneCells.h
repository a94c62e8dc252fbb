// The character pane's cells: the bytes one text line stands for (the
// line run through the packing stages, in written order) shown as 16
// character cells: printable ASCII as itself, a double-byte character of
// code page 932 in two cells, anything else as a space.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pane {

constexpr int kCells = 16;

// The bytes the line's text stands for.
std::string LineBytes(const std::string& lineText);
// The 16 cells for those bytes.
std::string FillCells(const std::string& bytes);
// The lines of a piece of text, split at CR, LF or CR LF.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace pane
