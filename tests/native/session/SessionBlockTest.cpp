// The record shared with the template library, as the other process sees
// it (bytes), and the CRC-32 both sides compute.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "session/Crc32.h"
#include "session/SessionBlock.h"

using namespace session;

namespace {

std::uint32_t U32At(const SessionBlock& block, std::size_t offset) {
    std::uint8_t b[4];
    std::memcpy(b, reinterpret_cast<const std::uint8_t*>(&block) + offset, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// The longest prefix of whole characters (a lead byte and its trail count
// as one) that fits in width - 1 bytes.
std::string WholeCharacterPrefix(const std::string& text, std::size_t width) {
    std::size_t n = 0;
    while (n < text.size()) {
        std::size_t len = IsLeadByte932(static_cast<unsigned char>(text[n])) ? 2 : 1;
        if (n + len > width - 1) break;
        n += len;
    }
    return text.substr(0, n);
}

}  // namespace

TEST(SessionBlock, MasterBlockBytes) {
    const SessionBlock block = MakeMasterBlock();
    EXPECT_EQ(U32At(block, 0), 1524u);
    EXPECT_EQ(U32At(block, 264), 16u);           // lineBytes
    EXPECT_EQ(U32At(block, 268), 0u);            // separator (space), quietFlags
    EXPECT_EQ(U32At(block, 272) & 0xFFFF, 2u);   // dataFormat: single bytes, little-endian
    EXPECT_EQ(DataUnitSize(block), 1u);
    EXPECT_FALSE(IsBigEndian(block));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&block);
    for (std::size_t i = 0; i < sizeof block; ++i) {
        if (i < 4 || i == 264 || i == 272) continue;
        ASSERT_EQ(bytes[i], 0) << "offset " << i;
    }
}

TEST(SessionBlock, SetDataFormatKeepsTheHighByte) {
    for (std::uint16_t before : {0x0002, 0xAB00, 0xFFFF, 0x5A81}) {
        for (unsigned unit : {1u, 2u, 4u}) {
            for (bool big : {false, true}) {
                SessionBlock block = MakeMasterBlock();
                block.dataFormat = before;
                SetDataFormat(block, unit, big);
                EXPECT_EQ(DataUnitSize(block), unit);
                EXPECT_EQ(IsBigEndian(block), big);
                EXPECT_EQ(U32At(block, 272) & 0xFFFF, (before & 0xFF00u) | unit << 1 | (big ? 1u : 0u));
            }
        }
    }
}

TEST(SessionBlock, CopyTextFieldCutsAtWholeCharacters) {
    const struct {
        std::string text;
        std::size_t width;
        std::string stored;
    } cases[] = {
        {std::string(120, 'N'), kTemplateNameWidth, std::string(99, 'N')},
        {"abc", 4, "abc"},
        {"abcd", 4, "abc"},
        {"ab\x82\xA0" "c", 5, "ab\x82\xA0"},
        {"abc\x82\xA0", 5, "abc"},
        {"\x95\x5C\x95\x5C", 4, "\x95\x5C"},
        {"x", 1, ""},
    };
    for (const auto& c : cases) {
        char field[300];
        std::memset(field, 0x55, sizeof field);
        CopyTextField(field, c.width, c.text.data(), c.text.size());
        EXPECT_EQ(std::string(field), c.stored) << c.text << " in " << c.width;
        EXPECT_EQ(field[c.width], 0x55) << "wrote past the field";
    }

    std::mt19937 rng(9);
    const char* const pieces[] = {"a", "\x95\x5C", "\x81\x40", "\xB1", "\xE0\x40", "Z"};
    for (int round = 0; round < 500; ++round) {
        std::string text;
        for (int n = static_cast<int>(rng() % 12); n > 0; --n) text += pieces[rng() % 6];
        const std::size_t width = 1 + rng() % 14;
        char field[32];
        std::memset(field, 0x55, sizeof field);
        CopyTextField(field, width, text.data(), text.size());
        ASSERT_EQ(std::string(field), WholeCharacterPrefix(text, width)) << "width " << width;
        ASSERT_EQ(field[width], 0x55);
    }
}

TEST(Crc32, SharedVariant) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc32Update(0, digits.data(), digits.size()), 0x2DFD2D88u);
    EXPECT_EQ(Crc32Update(0, nullptr, 0), 0u);
    EXPECT_EQ(Crc32Update(0x12345678u, "", 0), 0x12345678u);
    // Any split of the data gives the same register.
    for (std::size_t cut = 0; cut <= digits.size(); ++cut) {
        std::uint32_t crc = Crc32Update(0, digits.data(), cut);
        crc = Crc32Update(crc, digits.data() + cut, digits.size() - cut);
        EXPECT_EQ(crc, 0x2DFD2D88u) << cut;
    }
    std::uint32_t crc = 0;
    for (char c : digits) crc = Crc32Byte(crc, static_cast<std::uint8_t>(c));
    EXPECT_EQ(crc, 0x2DFD2D88u);
}
