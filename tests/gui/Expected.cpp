#include "Expected.h"

#include "pipeline/CStream.h"

namespace gui {

std::string DumpText(const std::string& bytes, const HexLayout& layout) {
    std::string input = bytes;
    std::string output;
    CStream source(kStringStream, &input);
    CStream sink(kStringStream, &output);
    RunDumpChain(source, layout, sink);
    return output;
}

std::string PackedBytes(const std::string& text, int byteOrder, std::string* error) {
    std::string input = text;
    std::string output;
    std::string collected;
    CStream source(kStringStream, &input);
    CStream sink(kStringStream, &output);
    SetErrorCollector(&collected);
    int r = RunPackChain(source, static_cast<std::uint32_t>(byteOrder), sink);
    ClearErrorCollector();
    if (error) *error = collected;
    if (r < 0 || !collected.empty()) return {};
    return output;
}

std::string WithoutFinalLineBreak(std::string text) {
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    return text;
}

}  // namespace gui
