// Drives the format language and the output members with random formats,
// file bytes and layout settings. Beyond the sanitizers it checks that the
// read position stays within the file and that, whenever the text was made
// only by members that promise a packable layout, it packs back to exactly
// the file's bytes and the block counts them.
//
// Input layout: 8 setting bytes, a format of (byte 5 % 48) bytes, operation
// bytes up to a 0xFF marker, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "library/core/FileCore.h"
#include "session/Crc32.h"
#include "tests/native/velda/VeldaTestSupport.h"

using velda::test::Bytes;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    const std::uint8_t* settings = data;
    std::size_t at = 8;
    const std::size_t formatLength = settings[5] % 48;
    if (size - at < formatLength) return 0;
    const std::string format(reinterpret_cast<const char*>(data + at), formatLength);
    at += formatLength;
    Bytes ops;
    while (at < size && data[at] != 0xFF && ops.size() < 16) ops.push_back(data[at++]);
    if (at < size) ++at;
    const Bytes file(data + at, data + size);

    session::SessionBlock block = session::MakeMasterBlock();
    block.lineBytes = static_cast<std::int8_t>(settings[0]);
    if (settings[1] & 0x80) block.lineBytes = 0x7FFFFFF0;
    block.separator = static_cast<std::int16_t>(settings[1] & 3);
    block.dataFormat = static_cast<std::uint16_t>(settings[2] | settings[3] << 8);
    block.quietFlags = settings[4] & 1;
    velda::test::MemorySource source(file);
    if (settings[1] & 0x40) source.readLimit = 1 + settings[7] % 7;
    velda::test::StringSink out, err;
    velda::FileCore core(block, source, out, err);
    core.Attach();
    core.indent = static_cast<std::int8_t>(settings[4]) >> 5;

    bool packable = source.readLimit == 0;
    for (std::uint8_t op : ops) {
        const unsigned width = 1u << ((op >> 3) & 3);
        const std::int32_t count = static_cast<std::int32_t>(op >> 5) - 1;
        switch (op & 7) {
            case 0: {
                std::vector<velda::FormatElement> elements;
                core.GetFormat(format, &elements);
                break;
            }
            case 1:
                core.PutFormat(format);
                packable = false;  // its literal text is the template's own
                break;
            case 2: core.PutString(count * 3); break;
            case 3: core.PutAll(); break;
            case 4: core.PutUnits(width, count * 5); break;
            case 5: {
                std::vector<std::uint64_t> units;
                core.GetUnits(width, count, &units);
                break;
            }
            case 6: {
                velda::UnitValue value;
                core.PutUnit(width, (op & 0x80) != 0, &value);
                break;
            }
            default:
                core.Seek(static_cast<std::int64_t>(op >> 3) - 8, 1);
                packable = false;
                break;
        }
        if (core.Offset() > core.Length()) std::abort();
        if ((block.status == 0) != err.text.empty()) std::abort();
    }
    core.PutAll();
    if (packable && session::DataUnitSize(block) != 0) {
        const bool big = session::IsBigEndian(block);
        if (velda::test::PackText(out.text, big) != file) std::abort();
        if (block.outputBytes != file.size()) std::abort();
        if (block.outputCrc != session::Crc32Update(0, file.data(), file.size())) std::abort();
    }
    return 0;
}
