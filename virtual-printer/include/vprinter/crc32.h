#pragma once
// The CRC-32 with which the printer answers the model query's challenge: reflected polynomial EDB88320,
// value inverted before and after, as IEEE 802.3 and zlib use it.

#include <cstddef>
#include <cstdint>

namespace vprinter {

// Continues the CRC `initial` over n more bytes; initial 0 starts afresh.
std::uint32_t crc32(const std::uint8_t* data, std::size_t n, std::uint32_t initial = 0);

}  // namespace vprinter
