#include "print_job.h"

#include <stdexcept>
#include <string>

namespace printjob {

namespace {

// The job:
//   offset  size      content
//   0       2         1B 40                  printer reset
//   2       3         1B 55 01               print in one direction (strokes line up)
//   5       7         1B 28 43 02 00 nL nH   page length in lines of 1/360 inch
//   12      ...       lines: 1B 2A m nL nH, the columns (3 bytes each for m 33, 1 byte for m 0), 1B 4A 18
//   size-1  1         0C                     form feed
// Full lines use 24-dot graphics (m 33); the last line is 8-dot graphics (m 0) as wide as the remaining
// bytes allow, so that the job ends exactly at its size.
constexpr std::uint8_t kEsc = 0x1B;
constexpr std::size_t kSetUpSize = 12;
constexpr std::size_t kLineHeadSize = 5;
constexpr std::size_t kFeedSize = 3;
constexpr std::size_t kFormFeedSize = 1;
constexpr std::uint8_t kFeed = 24;
constexpr std::uint8_t kWideMode = 33;
constexpr std::uint8_t kNarrowMode = 0;
// Columns of a full line, and the columns one stroke of the staircase spans.
constexpr std::size_t kColumns = 960;
constexpr std::size_t kStrokeColumns = 8;
constexpr std::uint16_t kPageLength = 360 * 11;

void PutWord(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// Column c of a 24-dot line: the stroke of nozzle (c / kStrokeColumns) mod 24, one dot high, so that the
// strokes climb one nozzle per stroke; a gap column between strokes keeps them apart.
void PutWideColumn(std::vector<std::uint8_t>& out, std::size_t column) {
    const std::size_t nozzle = (column / kStrokeColumns) % 24;
    const bool gap = column % kStrokeColumns == kStrokeColumns - 1;
    for (std::size_t byte = 0; byte < 3; ++byte) {
        const bool here = !gap && nozzle / 8 == byte;
        out.push_back(here ? static_cast<std::uint8_t>(0x80 >> (nozzle % 8)) : 0);
    }
}

void PutNarrowColumn(std::vector<std::uint8_t>& out, std::size_t column) {
    const std::size_t nozzle = (column / kStrokeColumns) % 8;
    const bool gap = column % kStrokeColumns == kStrokeColumns - 1;
    out.push_back(gap ? 0 : static_cast<std::uint8_t>(0x80 >> nozzle));
}

void PutLine(std::vector<std::uint8_t>& out, std::uint8_t mode, std::size_t columns) {
    out.insert(out.end(), {kEsc, 0x2A, mode});
    PutWord(out, columns);
    for (std::size_t column = 0; column < columns; ++column) {
        if (mode == kWideMode) {
            PutWideColumn(out, column);
        } else {
            PutNarrowColumn(out, column);
        }
    }
    out.insert(out.end(), {kEsc, 0x4A, kFeed});
}

}  // namespace

std::size_t MinimumSize() {
    return kSetUpSize + kLineHeadSize + 1 + kFeedSize + kFormFeedSize;
}

std::vector<std::uint8_t> NozzleCheckJob(std::size_t size) {
    if (size < MinimumSize()) {
        throw std::invalid_argument("a nozzle-check job needs at least " + std::to_string(MinimumSize()) + " bytes");
    }
    std::vector<std::uint8_t> out;
    out.reserve(size);
    out.insert(out.end(), {kEsc, 0x40, kEsc, 0x55, 0x01, kEsc, 0x28, 0x43, 0x02, 0x00});
    PutWord(out, kPageLength);

    constexpr std::size_t kFullLine = kLineHeadSize + 3 * kColumns + kFeedSize;
    constexpr std::size_t kLastLineOverhead = kLineHeadSize + kFeedSize + kFormFeedSize;
    // Full lines while a last line of at least one column still fits after them.
    while (size - out.size() >= kFullLine + kLastLineOverhead + 1) {
        PutLine(out, kWideMode, kColumns);
    }
    // Below one full line and its overhead, so well within the 16-bit column count.
    const std::size_t rest = size - out.size() - kLastLineOverhead;
    PutLine(out, kNarrowMode, rest);
    out.push_back(0x0C);
    return out;
}

}  // namespace printjob
