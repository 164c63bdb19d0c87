#include "commands.h"

#include <algorithm>
#include <iterator>

#include "black_mark.h"
#include "frame_splitter.h"
#include "hex.h"
#include "ink_values.h"
#include "menu_container.h"
#include "printer_core.h"
#include "vprinter/crc32.h"

namespace vprinter {
namespace {

constexpr int kAny = -1;

using Handler = void (*)(PrinterCore&, const Frame&, std::uint64_t);
using Length = std::optional<std::size_t> (*)(const PrinterCore&, const std::uint8_t*, std::size_t);

// New command classes (maintenance, ink values, group writes, black mark) join as rows of this table.
struct CommandRule {
    int commandClass;  // kAny matches every class
    int command;       // kAny matches every command byte
    Handler handle;
    Length length;  // nullptr: the frame ends at its tail
};

void appendLe32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

Bytes frameOpening(std::uint8_t commandClass, std::uint8_t command) {
    return {kFrameHead[0], kFrameHead[1], kFrameHead[2], commandClass, command};
}

void appendTail(Bytes& out) {
    out.insert(out.end(), std::begin(kFrameTail), std::end(kFrameTail));
}

void malformed(PrinterCore& core, const Frame& frame) {
    core.note("malformed " + commandText(frame.raw, frame.rawSize));
}

// Enter: 1B 1D 1E 05 01 1B 1D 1F. Changes are staged from here on.
void enterSettings(PrinterCore& core, const Frame& frame, std::uint64_t) {
    if (frame.bodySize != 2) {
        return malformed(core, frame);
    }
    core.items.enter();
    enterBlackMark(core);
    core.note("enter");
}

// Save: 1B 1D 1E 05 02 1B 1D 1F. The staged changes become the printer's values.
void saveSettings(PrinterCore& core, const Frame& frame, std::uint64_t) {
    if (frame.bodySize != 2) {
        return malformed(core, frame);
    }
    core.items.save();
    saveBlackMark(core);
    core.note("save");
}

// Value read:
//   offset  size  content
//   0       5     1B 1D 1E 05 03
//   5       1     item count n
//   6       n     read codes, one byte each
//   6+n     3     1B 1D 1F
// Value reply:
//   0       5     1B 1D 1E 05 03
//   5       1     entry count - 1
//   6       ...   per known item, in the order asked: code, width (1, 2, 3), the value bytes
//   end-3   3     1B 1D 1F
// Codes the printer does not know get no entry; when it knows none of them it does not answer at all, as a
// count of zero entries cannot be written. Code 4E is the measured page length (see measurePageLength).
// The read names its item codes after a count byte, so its length is known before the tail: a code that spells
// part of the tail must not end the frame.
std::optional<std::size_t> valueReadLength(const PrinterCore&, const std::uint8_t* body, std::size_t available) {
    if (available < 3) {
        return std::nullopt;
    }
    return 3u + body[2];
}

// The read code that answers the measured page length: two bytes, low first, unsigned, in 1/60 inch.
constexpr std::uint8_t kMeasuredLengthCode = 0x4E;
// How long the printer takes to feed a page through and measure it.
constexpr std::uint64_t kMeasureMs = 5000;

std::uint16_t measuredLength(PrinterCore& core, std::uint64_t nowMs) {
    if (core.measuring && nowMs >= core.measuringEndsAt) {
        core.measuredLength = *core.measuring;
        core.measuring.reset();
    }
    return core.measuredLength;
}

void readValues(PrinterCore& core, const Frame& frame, std::uint64_t nowMs) {
    if (frame.bodySize < 3 || frame.bodySize != 3u + frame.body[2]) {
        return malformed(core, frame);
    }
    const std::size_t count = frame.body[2];
    core.note("read " + hexByte(static_cast<std::uint8_t>(count)) + " items");

    Bytes entries;
    std::size_t known = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (frame.body[3 + i] == kMeasuredLengthCode) {
            const std::uint16_t length = measuredLength(core, nowMs);
            ++known;
            entries.insert(entries.end(), {kMeasuredLengthCode, 0x02, static_cast<std::uint8_t>(length),
                                           static_cast<std::uint8_t>(length >> 8)});
            continue;
        }
        const StoredItem* item = core.items.findByGet(frame.body[3 + i]);
        if (!item) {
            continue;
        }
        ++known;
        entries.push_back(item->code.get);
        entries.push_back(static_cast<std::uint8_t>(item->width));
        const Bytes value = valueBytes(item->width, item->raw);
        entries.insert(entries.end(), value.begin(), value.end());
    }
    if (known == 0) {
        return;
    }
    Bytes reply = frameOpening(0x05, 0x03);
    reply.push_back(static_cast<std::uint8_t>(known - 1));
    reply.insert(reply.end(), entries.begin(), entries.end());
    appendTail(reply);
    core.reply({std::move(reply)}, nowMs);
}

// Model query:
//   0       5     1B 1D 1E 04 0F
//   5       1     challenge length n
//   6       n     challenge bytes
//   6+n     3     1B 1D 1F
std::optional<std::size_t> modelQueryLength(const PrinterCore&, const std::uint8_t* body, std::size_t available) {
    if (available < 3) {
        return std::nullopt;
    }
    return 3u + body[2];
}

// Model reply:
//   0       5     1B 1D 1E 04 0F
//   5       4     CRC-32 of the challenge, low byte first
//   9       2     firmware revision
//   11      1     name length n
//   12      n     model name
//   12+n    3     1B 1D 1F
void modelQuery(PrinterCore& core, const Frame& frame, std::uint64_t nowMs) {
    if (frame.bodySize < 3 || frame.bodySize != 3u + frame.body[2]) {
        return malformed(core, frame);
    }
    core.note("model query");
    std::uint32_t crc = crc32(frame.body + 3, frame.body[2]);
    if (core.faults.wrongCrc) {
        crc = ~crc;
    }
    const std::size_t nameLength = std::min<std::size_t>(core.modelName.size(), 255);

    Bytes reply = frameOpening(0x04, 0x0F);
    appendLe32(reply, crc);
    reply.push_back(0x01);
    reply.push_back(0x00);
    reply.push_back(static_cast<std::uint8_t>(nameLength));
    reply.insert(reply.end(), core.modelName.begin(), core.modelName.begin() + static_cast<std::ptrdiff_t>(nameLength));
    appendTail(reply);
    core.reply({std::move(reply)}, nowMs);
}

// Menu request: 1B 1D 1E 06 03 1B 1D 1F. Menu reply:
//   0       5     1B 1D 1E 06 03
//   5       4     menu data length L, low byte first
//   9       2     reserved, zero
//   11      L     menu data: the menu container
//   11+L    1     closing byte, zero
// With the second-read fault the reply stops after offset 11, and the L data bytes follow only once those
// eleven have been read.
void menuRequest(PrinterCore& core, const Frame& frame, std::uint64_t nowMs) {
    if (frame.bodySize != 2) {
        return malformed(core, frame);
    }
    core.note("menu request");
    const Bytes data = core.menuContainer();
    const std::uint32_t declared = core.faults.menuLengthOverride.value_or(static_cast<std::uint32_t>(data.size()));

    Bytes head = frameOpening(0x06, 0x03);
    appendLe32(head, declared);
    head.push_back(0x00);
    head.push_back(0x00);
    if (core.faults.menuInSecondRead) {
        core.reply({std::move(head), data}, nowMs);
        return;
    }
    head.insert(head.end(), data.begin(), data.end());
    head.push_back(0x00);
    core.reply({std::move(head)}, nowMs);
}

// Set frame of one item: class, set code, the value bytes of the item's width. Outside settings mode the
// printer takes note and changes nothing.
std::optional<std::size_t> setItemLength(const PrinterCore& core, const std::uint8_t* body, std::size_t available) {
    if (available < 2) {
        return std::nullopt;
    }
    const StoredItem* item = core.items.findBySet(body[0], body[1]);
    if (!item) {
        return std::nullopt;
    }
    return 2u + static_cast<std::size_t>(item->width);
}

void setItem(PrinterCore& core, const Frame& frame, std::uint64_t) {
    const StoredItem* item = frame.bodySize >= 2 ? core.items.findBySet(frame.body[0], frame.body[1]) : nullptr;
    if (!item) {
        core.note("unknown " + commandText(frame.raw, frame.rawSize));
        return;
    }
    if (frame.bodySize != 2u + static_cast<std::size_t>(item->width)) {
        return malformed(core, frame);
    }
    const std::uint32_t raw = rawFromBytes(item->width, frame.body + 2);
    std::string line = "set " + hexByte(frame.body[1]) + "=" + hexBytes(frame.body + 2, frame.bodySize - 2);
    if (!core.items.stage(*item, raw)) {
        line += " (not in settings mode)";
    }
    core.note(std::move(line));
}

// 04 24 belongs to an item when the menu defines one on it; otherwise it is the black-mark tear distance.
std::optional<std::size_t> setItemOrTearLength(const PrinterCore& core, const std::uint8_t* body, std::size_t available) {
    return core.items.findBySet(body[0], body[1]) ? setItemLength(core, body, available)
                                                  : tearDistanceLength(core, body, available);
}

void setItemOrTear(PrinterCore& core, const Frame& frame, std::uint64_t nowMs) {
    if (core.items.findBySet(frame.body[0], frame.body[1])) {
        setItem(core, frame, nowMs);
    } else {
        setTearDistance(core, frame, nowMs);
    }
}

// Page length measurement: 1B 1D 1E 00 1B 00 00 1B 1D 1F, sent alone. The printer feeds the page through
// and, kMeasureMs later, the read code 4E answers the length it found; until then it answers the length of
// the measurement before (0 when there was none). Not a setting: nothing is staged or saved.
std::optional<std::size_t> measureLength(const PrinterCore&, const std::uint8_t*, std::size_t) {
    return 4;
}

void measurePageLength(PrinterCore& core, const Frame& frame, std::uint64_t nowMs) {
    if (frame.bodySize != 4 || frame.body[2] != 0x00 || frame.body[3] != 0x00) {
        return malformed(core, frame);
    }
    measuredLength(core, nowMs);
    core.measuring = core.pageLength;
    core.measuringEndsAt = nowMs + kMeasureMs;
    core.note("measure page length");
}

// clang-format off
constexpr CommandRule kRules[] = {
    {0x05, 0x01, &enterSettings, nullptr},
    {0x05, 0x02, &saveSettings, nullptr},
    {0x05, 0x03, &readValues, &valueReadLength},
    {0x04, 0x0F, &modelQuery, &modelQueryLength},
    {0x06, 0x03, &menuRequest, nullptr},
    {0x00, 0x1B, &measurePageLength, &measureLength},
    {0x10, 0x10, &printAlignmentPattern, &alignmentPrintLength},
    {0x10, kAny, &runMaintenance, &maintenanceLength},
    {0x11, 0x13, &setHeadChangeState, &headChangeStateLength},
    {0x11, 0x02, &setAlignment, &alignmentSetLength},
    {0x11, 0x1D, &setDryingTime, &dryingSetLength},
    {0x12, 0x02, &readAlignment, &alignmentReadLength},
    {0x12, 0x07, &readInquiry, &inquiryReadLength},
    {0x12, 0x09, &readDryingTime, &dryingReadLength},
    {0x04, 0x24, &setItemOrTear, &setItemOrTearLength},
    {kAny, kAny, &setItem, &setItemLength},
};
// clang-format on

const CommandRule* findRule(const std::uint8_t* body, std::size_t available) {
    if (available == 0) {
        return nullptr;
    }
    for (const CommandRule& rule : kRules) {
        if (rule.commandClass != kAny && rule.commandClass != body[0]) {
            continue;
        }
        if (rule.command != kAny && (available < 2 || rule.command != body[1])) {
            continue;
        }
        return &rule;
    }
    return nullptr;
}

}  // namespace

std::optional<std::size_t> knownBodyLength(const PrinterCore& core, const std::uint8_t* body, std::size_t available) {
    // Until the command byte is in, the rule is not yet known.
    if (available < 2) {
        return std::nullopt;
    }
    const CommandRule* rule = findRule(body, available);
    if (!rule || !rule->length) {
        return std::nullopt;
    }
    return rule->length(core, body, available);
}

void runCommand(PrinterCore& core, const Frame& frame, std::uint64_t nowMs) {
    const std::size_t logged = core.log.size();
    const bool scripted = !core.script.empty();
    core.ownRepliesHeld = scripted;
    if (const CommandRule* rule = findRule(frame.body, frame.bodySize)) {
        rule->handle(core, frame, nowMs);
    } else {
        core.note("unknown " + commandText(frame.raw, frame.rawSize));
    }
    core.ownRepliesHeld = false;
    if (scripted) {
        core.followScript(logged, nowMs);
    }
}

}  // namespace vprinter
