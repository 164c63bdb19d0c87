#pragma once
// Numbers stored least significant byte first, as the bitmap headers, the menu container and the printer's
// replies keep them. The caller has checked that the bytes are there. Pure functions, any thread.

#include <cstdint>

namespace platform {

inline std::uint16_t ReadLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace platform
