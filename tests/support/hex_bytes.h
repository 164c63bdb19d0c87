#pragma once
// Bytes from hex digits with blanks between them: the tests' own reading of wire bytes, independent of the
// program's converters under test.

#include <cstdint>
#include <string>

#include "platform/types.h"

inline platform::Bytes HexBytes(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c != ' ') {
            digits += c;
        }
    }
    platform::Bytes out;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return out;
}
