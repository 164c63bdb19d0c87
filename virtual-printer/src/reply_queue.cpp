#include "reply_queue.h"

#include <algorithm>

namespace vprinter {

std::size_t ReplyQueue::Segment::pieceEnd() const {
    if (chunk == 0) {
        return data.size();
    }
    return std::min(data.size(), (offset / chunk + 1) * chunk);
}

std::uint64_t ReplyQueue::Segment::pieceReadyAt() const {
    const std::uint64_t piece = chunk == 0 ? 0 : offset / chunk;
    return *readyAt + piece * chunkGapMs;
}

void ReplyQueue::push(std::vector<Bytes> segments, const Delivery& delivery) {
    bool first = true;
    for (Bytes& data : segments) {
        if (data.empty()) {
            continue;
        }
        Segment segment;
        segment.data = std::move(data);
        segment.chunk = delivery.chunk;
        segment.chunkGapMs = delivery.chunkGapMs;
        if (first) {
            segment.readyAt = delivery.readyAt;
            first = false;
        }
        segments_.push_back(std::move(segment));
    }
}

Bytes ReplyQueue::read(std::size_t max, std::uint64_t nowMs) {
    Bytes out;
    while (out.size() < max && !segments_.empty()) {
        Segment& front = segments_.front();
        if (!front.readyAt || nowMs < front.pieceReadyAt()) {
            break;
        }
        const std::size_t take = std::min(front.pieceEnd() - front.offset, max - out.size());
        out.insert(out.end(), front.data.begin() + static_cast<std::ptrdiff_t>(front.offset),
                   front.data.begin() + static_cast<std::ptrdiff_t>(front.offset + take));
        front.offset += take;
        const bool chunked = front.chunk > 0;
        if (front.offset < front.data.size()) {
            break;
        }
        segments_.pop_front();
        if (!segments_.empty() && !segments_.front().readyAt) {
            // The rest of this reply was waiting for the part just read; it follows from now on, never
            // within the same read.
            segments_.front().readyAt = nowMs;
            break;
        }
        if (chunked) {
            break;
        }
    }
    return out;
}

std::optional<std::uint64_t> ReplyQueue::nextReadyAt() const {
    if (segments_.empty() || !segments_.front().readyAt) {
        return std::nullopt;
    }
    return segments_.front().pieceReadyAt();
}

}  // namespace vprinter
