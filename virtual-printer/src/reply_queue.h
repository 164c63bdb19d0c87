#pragma once
// The printer's outgoing bytes with the virtual time at which each becomes readable.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "vprinter/virtual_printer.h"

namespace vprinter {

struct Delivery {
    std::uint64_t readyAt = 0;
    std::size_t chunk = 0;  // >0: one piece of this size per read
    std::uint32_t chunkGapMs = 0;
};

class ReplyQueue {
  public:
    // A reply of one or more segments: the first is readable from delivery.readyAt on, each later one only
    // once the one before it has been read to its end (and then from that moment on).
    void push(std::vector<Bytes> segments, const Delivery& delivery);
    Bytes read(std::size_t max, std::uint64_t nowMs);
    std::optional<std::uint64_t> nextReadyAt() const;
    void clear() { segments_.clear(); }

  private:
    struct Segment {
        Bytes data;
        std::size_t offset = 0;
        std::optional<std::uint64_t> readyAt;  // empty while it waits for the segment before it
        std::size_t chunk = 0;
        std::uint32_t chunkGapMs = 0;

        std::size_t pieceEnd() const;
        std::uint64_t pieceReadyAt() const;
    };
    std::deque<Segment> segments_;
};

}  // namespace vprinter
