#include "ValueEncoding.h"

#include "platform/text.h"

std::int32_t DecodeByteValue(std::uint8_t b) {
    return b < 192 ? b : b - 256;
}

std::int32_t DecodeWordValue(std::uint8_t low, std::uint8_t high) {
    const std::int32_t w = low + 256 * high;
    return w < 32768 ? w : -(w - 32768);
}

std::int32_t DecodeMaskValue(std::uint8_t high, std::uint8_t middle, std::uint8_t low) {
    return high * 65536 + middle * 256 + low;
}

std::optional<std::vector<std::uint8_t>> EncodeValueBytes(std::int32_t value, std::uint32_t width) {
    const std::int64_t v = value;
    switch (width) {
        case ptByte: {
            if (v < -256 || v > 255) {
                return std::nullopt;
            }
            return std::vector<std::uint8_t>{static_cast<std::uint8_t>(v < 0 ? v + 256 : v)};
        }
        case ptWord: {
            const std::int64_t magnitude = v < 0 ? -v : v;
            if (magnitude > 0x7FFF) {
                return std::nullopt;
            }
            const std::int64_t word = v < 0 ? magnitude + 0x8000 : magnitude;
            return std::vector<std::uint8_t>{static_cast<std::uint8_t>(word & 0xFF),
                                             static_cast<std::uint8_t>(word >> 8)};
        }
        case ptMask: {
            if (v < 0 || v > 0xFFFFFF) {
                return std::nullopt;
            }
            return std::vector<std::uint8_t>{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                                             static_cast<std::uint8_t>(v)};
        }
        default:
            return std::vector<std::uint8_t>{};
    }
}

std::optional<std::wstring> ValueToHex(std::int32_t value, std::uint32_t width) {
    const std::optional<std::vector<std::uint8_t>> bytes = EncodeValueBytes(value, width);
    if (!bytes) {
        return std::nullopt;
    }
    std::wstring hex;
    for (const std::uint8_t b : *bytes) {
        hex += (hex.empty() ? L"" : L" ") + platform::IntToHex(b, 2);
    }
    return hex;
}

std::optional<TValueReplyEntry> DecodeReplyEntry(const std::uint8_t* data,
                                                 std::size_t length,
                                                 std::uint32_t itemWidth) {
    if (data == nullptr || length < 2) {
        return std::nullopt;
    }
    TValueReplyEntry entry;
    entry.code = data[0];
    entry.type = data[1];
    if (entry.type < ptByte || entry.type > ptMask) {
        return std::nullopt;
    }
    entry.size = 2 + entry.type;
    if (length < entry.size) {
        return std::nullopt;
    }
    const std::uint8_t* b = data + 2;
    switch (entry.type) {
        case ptByte:
            entry.value = DecodeByteValue(b[0]);
            break;
        case ptWord:
            entry.value = itemWidth == ptByte ? DecodeByteValue(b[1]) : DecodeWordValue(b[0], b[1]);
            break;
        default:
            entry.value = DecodeMaskValue(b[0], b[1], b[2]);
            break;
    }
    return entry;
}
