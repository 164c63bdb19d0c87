// CRC-32 known answers, continuation, and agreement with zlib's.

#include "CRC32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

std::uint32_t Crc(const std::vector<std::uint8_t>& data, std::uint32_t initial = 0) {
    return ComputeCRC32(initial, data.data(), static_cast<std::int32_t>(data.size()));
}

std::vector<std::uint8_t> Ascii(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(Crc32Test, KnownAnswers) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        std::uint32_t initial;
        std::uint32_t crc;
    };
    const Case cases[] = {
        {"check string", Ascii("123456789"), 0, 0xCBF43926u},
        {"model query challenge", {1, 2, 3, 4, 5, 6, 7, 8}, 0, 0x3FCA88C5u},
        {"one zero byte", {0}, 0, 0xD202EF8Du},
        {"no data, fresh", {}, 0, 0},
        {"no data gives the initial back", {}, 0x12345678u, 0x12345678u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Crc(c.data, c.initial), c.crc);
    }
}

TEST(Crc32Test, ContinuesOverMoreDataAndMatchesZlib) {
    std::vector<std::uint8_t> data(1000);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    const std::vector<std::uint8_t> head(data.begin(), data.begin() + 333);
    const std::vector<std::uint8_t> tail(data.begin() + 333, data.end());
    EXPECT_EQ(Crc(tail, Crc(head)), Crc(data));
    EXPECT_EQ(Crc(data), static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size()))));
}

TEST(Crc32Test, NegativeLengthReadsNothing) {
    const std::uint8_t byte = 0x55;
    EXPECT_EQ(ComputeCRC32(0xABCDEFu, &byte, -1), 0xABCDEFu);
}

}  // namespace
