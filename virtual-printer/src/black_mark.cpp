#include "black_mark.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "commands.h"
#include "hex.h"
#include "printer_core.h"

namespace vprinter {
namespace {

// GS ( F: set the print start position, sent unframed:
//   offset  size  content
//   0       3     1D 28 46
//   3       2     parameter count, low byte first: 04 00
//   5       1     function 01 (print start position)
//   6       1     direction 00
//   7       2     offset in 1/144 inch, low byte first
constexpr std::uint8_t kSetAdjustment[] = {0x1D, 0x28, 0x46};
constexpr std::size_t kAdjustmentHead = 5;
constexpr std::uint8_t kPrintStartFunction = 0x01;

}  // namespace

std::optional<std::size_t> tearDistanceLength(const PrinterCore&, const std::uint8_t*, std::size_t) {
    return 4;
}

void setTearDistance(PrinterCore& core, const Frame& frame, std::uint64_t) {
    if (frame.bodySize != 4) {
        core.note("malformed " + commandText(frame.raw, frame.rawSize));
        return;
    }
    std::string line = "tear distance " + hexBytes(frame.body + 2, 2);
    if (core.items.inSettingsMode()) {
        core.blackMark.stagedTearDistance = static_cast<std::uint16_t>(frame.body[2] << 8 | frame.body[3]);
    } else {
        line += " (not in settings mode)";
    }
    core.note(std::move(line));
}

void enterBlackMark(PrinterCore& core) {
    core.blackMark.stagedTearDistance.reset();
}

void saveBlackMark(PrinterCore& core) {
    BlackMarkState& state = core.blackMark;
    if (state.stagedTearDistance) {
        state.tearDistance = state.stagedTearDistance;
        state.stagedTearDistance.reset();
    }
}

std::size_t runReceiptCommand(PrinterCore& core, const std::uint8_t* data, std::size_t n) {
    if (n < kAdjustmentHead || !std::equal(std::begin(kSetAdjustment), std::end(kSetAdjustment), data)) {
        return 0;
    }
    const std::size_t parameters = data[3] + 256u * data[4];
    const std::size_t size = kAdjustmentHead + parameters;
    if (size > n) {
        return 0;  // cut short: print data as far as the printer can tell
    }
    if (parameters != 4 || data[5] != kPrintStartFunction || data[6] != 0x00) {
        core.note("unknown " + commandText(data, size));
        return size;
    }
    core.blackMark.printStartOffset = static_cast<std::uint16_t>(data[7] | data[8] << 8);
    core.note("print start offset " + hexBytes(data + 7, 2));
    return size;
}

}  // namespace vprinter
