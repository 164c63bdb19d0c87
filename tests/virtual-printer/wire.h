#pragma once
// Small helpers of the emulator's tests: bytes from hex text, and one write-then-read on the wire.

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "vprinter/virtual_printer.h"

namespace vprinter_test {

using vprinter::Bytes;

// "1B 1D 1E" -> bytes; the tests' own reading, independent of the emulator's.
inline Bytes hex(std::string_view text) {
    Bytes out;
    std::string digits;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits += c;
        }
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return out;
}

inline Bytes cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline std::size_t send(vprinter::VirtualPrinter& vp, const Bytes& bytes, std::uint64_t nowMs = 0) {
    return vp.hostWrite(bytes.data(), bytes.size(), nowMs);
}

inline std::size_t send(vprinter::VirtualPrinter& vp, std::string_view hexText, std::uint64_t nowMs = 0) {
    return send(vp, hex(hexText), nowMs);
}

// Everything readable at nowMs, however many reads it takes.
inline Bytes drain(vprinter::VirtualPrinter& vp, std::uint64_t nowMs = 0) {
    Bytes all;
    for (;;) {
        Bytes piece = vp.hostRead(65536, nowMs);
        if (piece.empty()) {
            return all;
        }
        all.insert(all.end(), piece.begin(), piece.end());
    }
}

inline vprinter::VirtualPrinter makePrinter() {
    return vprinter::VirtualPrinter(vprinter::makeIdentity("WQ-472", "SN0001", 1));
}

}  // namespace vprinter_test
