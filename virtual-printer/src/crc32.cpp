#include "vprinter/crc32.h"

#include <array>

namespace vprinter {
namespace {

constexpr std::array<std::uint32_t, 256> makeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        }
        table[i] = value;
    }
    return table;
}

// Built by the compiler, so there is nothing to initialise at start-up and nothing shared to guard.
constexpr std::array<std::uint32_t, 256> kTable = makeTable();

}  // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t n, std::uint32_t initial) {
    std::uint32_t value = ~initial;
    for (std::size_t i = 0; i < n; ++i) {
        value = (value >> 8) ^ kTable[(value ^ data[i]) & 0xFF];
    }
    return ~value;
}

}  // namespace vprinter
