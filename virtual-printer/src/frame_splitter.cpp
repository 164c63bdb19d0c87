#include "frame_splitter.h"

#include <algorithm>
#include <cstring>

namespace vprinter {
namespace {

bool startsWith(const std::uint8_t* data, std::size_t n, const std::uint8_t (&pattern)[3]) {
    return n >= 3 && std::memcmp(data, pattern, 3) == 0;
}

// Length of the longest proper start of the head that the data ends with.
std::size_t headStartAtEnd(const std::uint8_t* data, std::size_t n) {
    for (std::size_t k = std::min<std::size_t>(2, n); k > 0; --k) {
        if (std::memcmp(data + n - k, kFrameHead, k) == 0) {
            return k;
        }
    }
    return 0;
}

std::optional<std::size_t> find(const std::uint8_t* data, std::size_t n, const std::uint8_t (&pattern)[3]) {
    for (std::size_t i = 0; i + 3 <= n; ++i) {
        if (std::memcmp(data + i, pattern, 3) == 0) {
            return i;
        }
    }
    return std::nullopt;
}

Piece dataRun(const std::uint8_t* data, std::size_t n) {
    if (auto head = find(data, n, kFrameHead)) {
        return {PieceKind::kData, *head};
    }
    const std::size_t keep = headStartAtEnd(data, n);
    if (keep == n) {
        return {PieceKind::kNeedMore};
    }
    return {PieceKind::kData, n - keep};
}

}  // namespace

Piece nextPiece(const std::uint8_t* data, std::size_t n, bool settingsMode, const BodyLength& bodyLength) {
    if (n == 0) {
        return {};
    }
    if (n < 3 && std::memcmp(data, kFrameHead, n) == 0) {
        return {};
    }
    const bool framed = startsWith(data, n, kFrameHead);
    if (!framed && !settingsMode) {
        return dataRun(data, n);
    }
    const std::size_t header = framed ? 3 : 0;
    const std::uint8_t* body = data + header;
    const std::size_t available = n - header;
    if (available == 0) {
        return {};
    }

    auto frame = [&](std::size_t bodySize) {
        return Piece{PieceKind::kFrame, header + bodySize + 3, header, bodySize, framed};
    };
    const auto nextHead = find(body, available, kFrameHead);

    if (auto expected = bodyLength(body, available)) {
        const bool headInside = nextHead && *nextHead < *expected + 3;
        if (!headInside) {
            if (available < *expected + 3) {
                return {};
            }
            if (startsWith(body + *expected, 3, kFrameTail)) {
                return frame(*expected);
            }
        }
    }

    const auto tail = find(body, available, kFrameTail);
    if (tail && (!nextHead || *tail < *nextHead)) {
        return frame(*tail);
    }
    if (nextHead) {
        return {PieceKind::kMalformed, header + *nextHead, header, *nextHead, framed};
    }
    if (available > kMaxFrameBytes) {
        return {PieceKind::kMalformed, n, header, available, framed};
    }
    return {};
}

}  // namespace vprinter
