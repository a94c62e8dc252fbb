#include "view/core/PaneCells.h"

#include <cstdint>

#include "pipeline/CConvChar2Hex.h"
#include "pipeline/CConvChar2Str.h"
#include "pipeline/CPackBinary.h"
#include "view/core/LineText.h"

namespace pane {

std::string LineBytes(const std::string& lineText) {
    if (lineText.empty()) return std::string();
    std::string input = lineText;
    std::string output;
    CStream source(kStringStream, &input);
    CPackBinary lexer;
    CConvChar2Str strings;
    CConvChar2Hex bytes;
    CStream sink(kStringStream, &output);
    Link(source, lexer);
    Link(lexer, strings);
    Link(strings, bytes);
    Link(bytes, sink);
    if (RunChain(&source) < 0) return std::string();
    return output;
}

std::string FillCells(const std::string& bytes) {
    std::string cells(kCells, ' ');
    std::size_t n = bytes.size() < static_cast<std::size_t>(kCells) ? bytes.size() : kCells;
    for (std::size_t i = 0; i < n; ++i) {
        auto b = static_cast<std::uint8_t>(bytes[i]);
        if (b >= 0x20 && b <= 0x7E) {
            cells[i] = static_cast<char>(b);
        } else if (linetext::IsLeadByte932(b)) {
            // Both halves must fall inside the cells and the data.
            if (i + 1 < n) {
                cells[i] = bytes[i];
                cells[i + 1] = bytes[i + 1];
                ++i;
            }
        }
    }
    return cells;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

}  // namespace pane
