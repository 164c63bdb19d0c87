#pragma once
// Cuts the byte stream that reaches the printer into command frames and runs of other bytes.
//
// A command frame:
//   offset  size  content
//   0       3     frame head 1B 1D 1E (left out by the item frames inside a settings write sequence)
//   3       1     command class
//   4       ...   command byte and data
//   end-3   3     instruction tail 1B 1D 1F
// A frame ends at the first tail, unless the printer knows its length from its first bytes (then the tail
// must stand exactly there, so data bytes that happen to spell the tail do not cut it). A head that shows
// up before the tail ends a broken frame there, so that one damaged command cannot swallow the next.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace vprinter {

inline constexpr std::uint8_t kFrameHead[3] = {0x1B, 0x1D, 0x1E};
inline constexpr std::uint8_t kFrameTail[3] = {0x1B, 0x1D, 0x1F};
// Longest frame looked for; a head with no tail within this many bytes is taken as broken.
inline constexpr std::size_t kMaxFrameBytes = 4096;

enum class PieceKind {
    kFrame,      // a whole frame: body is class, command and data without head and tail
    kData,       // bytes outside any frame (print data or noise)
    kMalformed,  // a frame that was cut off or never ended
    kNeedMore,   // the bytes so far are the start of something not yet complete
};

struct Piece {
    PieceKind kind = PieceKind::kNeedMore;
    std::size_t size = 0;  // bytes consumed from the front of the stream
    std::size_t bodyOffset = 0;
    std::size_t bodySize = 0;
    bool framed = false;  // began with the frame head
};

// The body length of a frame whose shape the printer knows from its first `available` body bytes.
using BodyLength = std::function<std::optional<std::size_t>(const std::uint8_t* body, std::size_t available)>;

// Inside settings mode, bytes without a head are read as item frames; outside it they are data.
Piece nextPiece(const std::uint8_t* data, std::size_t n, bool settingsMode, const BodyLength& bodyLength);

}  // namespace vprinter
