#include "hex.h"

namespace vprinter {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

std::string hexByte(std::uint8_t byte) {
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

std::string hexBytes(const std::uint8_t* data, std::size_t n, std::string_view separator) {
    std::string text;
    text.reserve(n * (2 + separator.size()));
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) {
            text += separator;
        }
        text += hexByte(data[i]);
    }
    return text;
}

std::optional<Bytes> parseHex(std::string_view text) {
    Bytes bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            continue;
        }
        const int value = digitValue(c);
        if (value < 0) {
            return std::nullopt;
        }
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + value));
            high = -1;
        }
    }
    if (high >= 0) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace vprinter
