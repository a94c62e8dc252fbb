// A FileCore attached to an in-memory file with the editor's default block.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "library/core/FileCore.h"
#include "library/core/Texts.h"
#include "session/Crc32.h"
#include "tests/native/velda/VeldaTestSupport.h"

namespace velda::test {

// Bytes that differ from their neighbours, so a swapped or lost byte shows.
inline Bytes Pattern(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return b;
}

class VeldaTest : public ::testing::Test {
protected:
    void Open(Bytes data, unsigned unitSize = 1, bool bigEndian = false) {
        out = StringSink();
        err = StringSink();
        source = std::make_unique<MemorySource>(std::move(data));
        block = session::MakeMasterBlock();
        session::SetDataFormat(block, unitSize, bigEndian);
        core = std::make_unique<FileCore>(block, *source, out, err);
        core->Attach();
    }
    std::uint64_t P() const { return core->Offset(); }

    // The end-of-file report at offset (upper-case hex) with the rest dumped.
    std::string ErrorLine(const char* offset, const std::string& message = texts::kEndOfFile) {
        return std::string(texts::kErrorOffsetPrefix) + offset + texts::kErrorOffsetInfix + message + "\r\n";
    }

    session::SessionBlock block{};
    std::unique_ptr<MemorySource> source;
    StringSink out, err;
    std::unique_ptr<FileCore> core;
};

}  // namespace velda::test
