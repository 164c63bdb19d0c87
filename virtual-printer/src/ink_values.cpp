#include "ink_values.h"

#include <iterator>
#include <string>

#include "commands.h"
#include "frame_splitter.h"
#include "hex.h"
#include "printer_core.h"

namespace vprinter {
namespace {

// Inquiry counters: 02 the pages printed (four bytes, low first), 07 the ink level in percent (one byte).
constexpr std::uint8_t kPageCounter = 0x02;
constexpr std::uint8_t kInkLevel = 0x07;

void malformed(PrinterCore& core, const Frame& frame) {
    core.note("malformed " + commandText(frame.raw, frame.rawSize));
}

// Every reply here repeats the command's body after the frame head and puts its value right after it.
void replyWithValue(PrinterCore& core, const Frame& frame, const Bytes& value, std::uint64_t nowMs) {
    Bytes reply(std::begin(kFrameHead), std::end(kFrameHead));
    reply.insert(reply.end(), frame.body, frame.body + frame.bodySize);
    reply.insert(reply.end(), value.begin(), value.end());
    reply.insert(reply.end(), std::begin(kFrameTail), std::end(kFrameTail));
    core.reply({std::move(reply)}, nowMs);
}

std::optional<std::size_t> fixedLength(std::size_t length) {
    return length;
}

}  // namespace

// Alignment pattern: 1B 1D 1E 10 10 01 r 1B 1D 1F, r the resolution code. Printed, nothing answered.
std::optional<std::size_t> alignmentPrintLength(const PrinterCore&, const std::uint8_t*, std::size_t) {
    return fixedLength(4);
}

void printAlignmentPattern(PrinterCore& core, const Frame& frame, std::uint64_t) {
    if (frame.bodySize != 4 || frame.body[2] != 0x01 || frame.body[3] >= kAlignmentResolutions) {
        return malformed(core, frame);
    }
    core.note("print alignment pattern " + hexByte(frame.body[3]));
}

// Maintenance command: 1B 1D 1E 10 c 1B 1D 1F, c 01 to 08; the nozzle check carries one more byte, the
// pattern (1B 1D 1E 10 09 p 1B 1D 1F).
//   offset  size  content
//   0       3     1B 1D 1E
//   3       2     10 c
//   5       0/1   p, for c 09 only
//   5/6     3     1B 1D 1F
namespace {

const char* const kMaintenanceNames[] = {
    "clean",         "deep clean",  "head change start",  "self test",    "cartridge change",
    "bearing clean", "head change", "head change cancel", "nozzle check",
};
constexpr std::uint8_t kNozzleCheck = 0x09;

}  // namespace

std::optional<std::size_t> maintenanceLength(const PrinterCore&, const std::uint8_t* body, std::size_t) {
    if (body[1] == 0 || body[1] > kNozzleCheck) {
        return std::nullopt;
    }
    return fixedLength(body[1] == kNozzleCheck ? 3 : 2);
}

void runMaintenance(PrinterCore& core, const Frame& frame, std::uint64_t) {
    const std::uint8_t command = frame.body[1];
    if (command == 0 || command > kNozzleCheck) {
        core.note("unknown " + commandText(frame.raw, frame.rawSize));
        return;
    }
    if (frame.bodySize != (command == kNozzleCheck ? 3u : 2u)) {
        return malformed(core, frame);
    }
    std::string line = kMaintenanceNames[command - 1];
    if (command == kNozzleCheck) {
        line += " " + hexByte(frame.body[2]);
    }
    core.note(std::move(line));
}

// Head change state: 1B 1D 1E 11 13 s 1B 1D 1F; s 00 clears the state before a head change starts, 01 ends a
// head change, whether it ran or was cancelled.
std::optional<std::size_t> headChangeStateLength(const PrinterCore&, const std::uint8_t*, std::size_t) {
    return fixedLength(3);
}

void setHeadChangeState(PrinterCore& core, const Frame& frame, std::uint64_t) {
    if (frame.bodySize != 3 || frame.body[2] > 0x01) {
        return malformed(core, frame);
    }
    core.note(frame.body[2] == 0x01 ? "head change end" : "head change reset");
}

// Alignment set, the alignment item's frame inside a settings write sequence:
//   offset  size  content
//   0       3     1B 1D 1E
//   3       3     11 02 01 (the item's set instruction)
//   6       1     resolution code r
//   7       1     value, two's complement
//   8       3     1B 1D 1F
// The printer takes it at once, but only inside settings mode, as it does an item's set frame.
std::optional<std::size_t> alignmentSetLength(const PrinterCore&, const std::uint8_t*, std::size_t) {
    return fixedLength(5);
}

void setAlignment(PrinterCore& core, const Frame& frame, std::uint64_t) {
    if (frame.bodySize != 5 || frame.body[2] != 0x01 || frame.body[3] >= kAlignmentResolutions) {
        return malformed(core, frame);
    }
    std::string line = "set alignment " + hexByte(frame.body[3]) + "=" + hexByte(frame.body[4]);
    if (core.items.inSettingsMode()) {
        core.ink.alignment[frame.body[3]] = frame.body[4];
    } else {
        line += " (not in settings mode)";
    }
    core.note(std::move(line));
}

// Drying time set: 1B 1D 1E 11 1D lo hi 1B 1D 1F, sent alone and taken at once.
std::optional<std::size_t> dryingSetLength(const PrinterCore&, const std::uint8_t*, std::size_t) {
    return fixedLength(4);
}

void setDryingTime(PrinterCore& core, const Frame& frame, std::uint64_t) {
    if (frame.bodySize != 4) {
        return malformed(core, frame);
    }
    core.ink.dryingTime = static_cast<std::uint16_t>(frame.body[2] | (frame.body[3] << 8));
    core.note("set drying time " + hexBytes(frame.body + 2, 2));
}

// Alignment read: 1B 1D 1E 12 02 01 r 1B 1D 1F. Reply:
//   0       3     1B 1D 1E
//   3       4     12 02 01 r
//   7       1     the value of resolution r
//   8       3     1B 1D 1F
std::optional<std::size_t> alignmentReadLength(const PrinterCore&, const std::uint8_t*, std::size_t) {
    return fixedLength(4);
}

void readAlignment(PrinterCore& core, const Frame& frame, std::uint64_t nowMs) {
    if (frame.bodySize != 4 || frame.body[2] != 0x01 || frame.body[3] >= kAlignmentResolutions) {
        return malformed(core, frame);
    }
    core.note("read alignment " + hexByte(frame.body[3]));
    replyWithValue(core, frame, {core.ink.alignment[frame.body[3]]}, nowMs);
}

// Inquiry read: 1B 1D 1E 12 07 t 1B 1D 1F. Reply:
//   0       3     1B 1D 1E
//   3       3     12 07 t
//   6       4     t = 02: the page count, low byte first
//   6       1     t = 07: the ink level in percent
//   end-3   3     1B 1D 1F
// Other counters are not kept: no reply.
std::optional<std::size_t> inquiryReadLength(const PrinterCore&, const std::uint8_t*, std::size_t) {
    return fixedLength(3);
}

void readInquiry(PrinterCore& core, const Frame& frame, std::uint64_t nowMs) {
    if (frame.bodySize != 3) {
        return malformed(core, frame);
    }
    const std::uint8_t counter = frame.body[2];
    core.note("inquiry " + hexByte(counter));
    if (counter == kPageCounter) {
        Bytes value;
        for (int i = 0; i < 4; ++i) {
            value.push_back(static_cast<std::uint8_t>(core.ink.pageCount >> (8 * i)));
        }
        replyWithValue(core, frame, value, nowMs);
    } else if (counter == kInkLevel) {
        replyWithValue(core, frame, {core.ink.inkLevel}, nowMs);
    }
}

// Drying time read: 1B 1D 1E 12 09 1B 1D 1F. Reply:
//   0       3     1B 1D 1E
//   3       2     12 09
//   5       2     the drying time, low byte first
//   7       3     1B 1D 1F
std::optional<std::size_t> dryingReadLength(const PrinterCore&, const std::uint8_t*, std::size_t) {
    return fixedLength(2);
}

void readDryingTime(PrinterCore& core, const Frame& frame, std::uint64_t nowMs) {
    if (frame.bodySize != 2) {
        return malformed(core, frame);
    }
    core.note("read drying time");
    const std::uint16_t time = core.ink.dryingTime;
    replyWithValue(core, frame, {static_cast<std::uint8_t>(time), static_cast<std::uint8_t>(time >> 8)}, nowMs);
}

}  // namespace vprinter
