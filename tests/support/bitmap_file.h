#pragma once
// Bitmap files made to measure, for the tests of pictures from resources.

#include <cstddef>
#include <cstdint>

#include "platform/types.h"

inline void Put16(platform::Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void Put32(platform::Bytes& b, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) {
        b[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
    }
}

// A bitmap file: 14-byte file header, 40-byte information header, colour table, padded rows.
inline platform::Bytes BitmapFile(std::int32_t width, std::int32_t height, std::uint16_t bits) {
    const std::uint32_t entries = bits <= 8 ? (1u << bits) : 0;
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * bits + 31) / 32) * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    const std::uint32_t offset = 14 + 40 + entries * 4;
    platform::Bytes b(offset + stride * rows, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, offset);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    return b;
}
