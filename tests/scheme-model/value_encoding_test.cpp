// The value encodings to and from the wire.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "ValueEncoding.h"
#include "platform/text.h"

namespace {

TEST(ValueEncodingTest, ReplyEntries) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::uint32_t itemWidth;
        std::optional<std::int32_t> value;
        std::size_t size;
    };
    const Case cases[] = {
        {"byte FE", {0x24, 0x01, 0xFE}, 1, -2, 3},
        {"byte C0 is the lowest negative", {0x24, 0x01, 0xC0}, 1, -64, 3},
        {"byte BF stays positive", {0x24, 0x01, 0xBF}, 1, 191, 3},
        {"byte 80 stays positive", {0x24, 0x01, 0x80}, 1, 128, 3},
        {"word low byte first, sign bit", {0x24, 0x02, 0x05, 0x80}, 2, -5, 4},
        {"word 7FFF", {0x24, 0x02, 0xFF, 0x7F}, 2, 32767, 4},
        {"word minus zero", {0x24, 0x02, 0x00, 0x80}, 2, 0, 4},
        {"word entry of a byte item takes the second byte", {0x24, 0x02, 0x05, 0x80}, 1, 128, 4},
        {"word entry 05 FF of a byte item", {0x24, 0x02, 0x05, 0xFF}, 1, -1, 4},
        {"word entry 05 FF of a word item", {0x24, 0x02, 0x05, 0xFF}, 2, -32517, 4},
        {"word entry of an unknown item", {0x24, 0x02, 0x05, 0xFF}, 0, -32517, 4},
        {"mask high byte first", {0x24, 0x03, 0x00, 0x00, 0x05}, 3, 5, 5},
        {"mask of options 1 and 3", {0x24, 0x03, 0xA0, 0x00, 0x00}, 3, 0xA00000, 5},
        {"entry longer than needed", {0x24, 0x01, 0x07, 0x99, 0x99}, 1, 7, 3},
        {"unknown type byte", {0x24, 0x04, 0x00, 0x00, 0x00, 0x00}, 1, std::nullopt, 0},
        {"type byte 0", {0x24, 0x00, 0x00}, 1, std::nullopt, 0},
        {"cut word", {0x24, 0x02, 0x05}, 2, std::nullopt, 0},
        {"cut mask", {0x24, 0x03, 0x00, 0x00}, 3, std::nullopt, 0},
        {"code only", {0x24}, 1, std::nullopt, 0},
        {"nothing", {}, 1, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto entry = DecodeReplyEntry(c.bytes.data(), c.bytes.size(), c.itemWidth);
        ASSERT_EQ(entry.has_value(), c.value.has_value());
        if (entry) {
            EXPECT_EQ(entry->code, 0x24);
            EXPECT_EQ(entry->type, c.bytes[1]);
            EXPECT_EQ(entry->value, *c.value);
            EXPECT_EQ(entry->size, c.size);
        }
    }
    EXPECT_FALSE(DecodeReplyEntry(nullptr, 10, 1).has_value());
}

TEST(ValueEncodingTest, ValueBytesOfSetCommands) {
    struct Case {
        std::int32_t value;
        std::uint32_t width;
        std::optional<std::wstring> hex;
    };
    // A value too wide for its width is refused rather than lengthening the frame or being cut.
    const Case cases[] = {
        {1, ptByte, L"01"},
        {-1, ptByte, L"FF"},
        {-64, ptByte, L"C0"},
        {-100, ptByte, L"9C"},
        {300, ptByte, std::nullopt},
        {-257, ptByte, std::nullopt},
        {-5, ptWord, L"05 80"},
        {300, ptWord, L"2C 01"},
        {-32767, ptWord, L"FF FF"},
        {32768, ptWord, std::nullopt},  // would read back as minus zero
        {-32768, ptWord, std::nullopt},
        {0xA00000, ptMask, L"A0 00 00"},
        {0, ptMask, L"00 00 00"},
        {0x123456, ptMask, L"12 34 56"},
        {0x1000000, ptMask, std::nullopt},
        {-1, ptMask, std::nullopt},
        {5, 0, L""},
        {5, 4, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " width " << c.width);
        EXPECT_EQ(ValueToHex(c.value, c.width), c.hex);
    }
}

// The bytes of hex command text such as "05 80".
std::vector<std::uint8_t> HexBytes(const std::wstring& hex) {
    std::vector<std::uint8_t> bytes;
    for (const std::wstring& pair : platform::Split(hex, L' ')) {
        bytes.push_back(
            static_cast<std::uint8_t>(platform::HexDigitValue(pair[0]) * 16 + platform::HexDigitValue(pair[1])));
    }
    return bytes;
}

// What a set writes, the printer hands back: every value a width carries survives the trip, except that bytes
// for -128..-65 come back as 128..191.
TEST(ValueEncodingTest, RoundTrips) {
    for (std::int32_t v = -128; v <= 191; ++v) {
        const auto b = HexBytes(ValueToHex(v, ptByte).value());
        ASSERT_EQ(b.size(), 1u) << v;
        ASSERT_EQ(DecodeByteValue(b[0]), v < -64 ? v + 256 : v) << v;
    }
    for (std::int32_t v = -32767; v <= 32767; ++v) {
        const auto b = HexBytes(ValueToHex(v, ptWord).value());
        ASSERT_EQ(b.size(), 2u) << v;
        ASSERT_EQ(DecodeWordValue(b[0], b[1]), v) << v;
    }
    for (std::int32_t v : {0, 1, 0x800000, 0xA00000, 0xFFFFFF}) {
        const auto b = HexBytes(ValueToHex(v, ptMask).value());
        ASSERT_EQ(b.size(), 3u) << v;
        ASSERT_EQ(DecodeMaskValue(b[0], b[1], b[2]), v) << v;
    }
    EXPECT_EQ(MaskBitOfOption(1), 23);
    EXPECT_EQ(MaskBitOfOption(24), 0);
}

}  // namespace
