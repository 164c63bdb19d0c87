#pragma once
// The printer's command table: one rule per command, keyed by class byte and command byte.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vprinter {

struct PrinterCore;

struct Frame {
    const std::uint8_t* raw;  // the whole frame as received, head and tail included
    std::size_t rawSize;
    const std::uint8_t* body;  // class byte, command byte and data
    std::size_t bodySize;
};

// The body length of a frame whose shape the printer knows from its first bytes; nullopt when the tail
// alone ends it.
std::optional<std::size_t> knownBodyLength(const PrinterCore& core, const std::uint8_t* body, std::size_t available);
void runCommand(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);

}  // namespace vprinter
