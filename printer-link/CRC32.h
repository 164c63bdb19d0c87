#pragma once
// CRC-32 (reflected polynomial EDB88320, inverted before and after: the CRC of IEEE 802.3 and of zlib).

#include <cstdint>

// Continues the CRC initial over length more bytes; initial 0 starts afresh, no data gives initial back.
std::uint32_t ComputeCRC32(std::uint32_t initial, const std::uint8_t* data, std::int32_t length);
