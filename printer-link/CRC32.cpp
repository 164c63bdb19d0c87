#include "CRC32.h"

#include <array>

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

// Built by the compiler, so it is complete before any code of the program runs and is only ever read.
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

std::uint32_t ComputeCRC32(std::uint32_t initial, const std::uint8_t* data, std::int32_t length) {
    std::uint32_t value = ~initial;
    if (data) {
        for (std::int32_t i = 0; i < length; ++i) {
            value = (value >> 8) ^ kCrcTable[(value ^ data[i]) & 0xFFu];
        }
    }
    return ~value;
}
