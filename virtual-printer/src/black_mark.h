#pragma once
// The black-mark functions beyond the three switches (which are plain items of the store): the distance from
// the black mark to the tear-off position, set by its own frame, and the print start offset, set by the
// receipt command GS ( F sent outside any frame.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vprinter {

struct PrinterCore;
struct Frame;

struct BlackMarkState {
    // 1/144 inch, as the frames carry them; empty until first set.
    std::optional<std::uint16_t> tearDistance;
    std::optional<std::uint16_t> stagedTearDistance;
    std::optional<std::uint16_t> printStartOffset;
};

// Tear distance: 1B 1D 1E 04 24 nH nL 1B 1D 1F, high byte first, staged like every setting until the save.
std::optional<std::size_t> tearDistanceLength(const PrinterCore& core, const std::uint8_t* body, std::size_t available);
void setTearDistance(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);
// What an enter and a save do to the staged tear distance.
void enterBlackMark(PrinterCore& core);
void saveBlackMark(PrinterCore& core);

// A run of bytes outside any frame that opens with a receipt command the printer knows: runs it and returns
// how many bytes it took (the rest of the run is print data); 0 when the run opens with none.
std::size_t runReceiptCommand(PrinterCore& core, const std::uint8_t* data, std::size_t n);

}  // namespace vprinter
