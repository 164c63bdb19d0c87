#include "printer_core.h"

#include <algorithm>
#include <iterator>

#include "commands.h"
#include "frame_splitter.h"
#include "hex.h"
#include "menu_container.h"

namespace vprinter {
namespace {

constexpr std::size_t kLoggedBytes = 8;

std::string modelFromDeviceId(const std::string& deviceId) {
    const auto start = deviceId.find("MDL:");
    if (start == std::string::npos) {
        return {};
    }
    const auto end = deviceId.find(';', start + 4);
    return deviceId.substr(start + 4, end == std::string::npos ? std::string::npos : end - start - 4);
}

}  // namespace

std::string commandText(const std::uint8_t* data, std::size_t n) {
    std::string text = hexBytes(data, std::min(n, kLoggedBytes));
    if (n > kLoggedBytes) {
        text += " ...";
    }
    return text;
}

PrinterCore::PrinterCore(Identity id) : identity(std::move(id)), modelName(modelFromDeviceId(identity.deviceId)) {}

void PrinterCore::run(Bytes& stream, std::uint64_t nowMs) {
    std::size_t pos = 0;
    const BodyLength bodyLength = [this](const std::uint8_t* body, std::size_t available) {
        return knownBodyLength(*this, body, available);
    };
    while (pos < stream.size()) {
        const std::uint8_t* at = stream.data() + pos;
        const Piece piece = nextPiece(at, stream.size() - pos, items.inSettingsMode(), bodyLength);
        if (piece.kind == PieceKind::kNeedMore) {
            break;
        }
        switch (piece.kind) {
            case PieceKind::kFrame:
                runCommand(*this, Frame{at, piece.size, at + piece.bodyOffset, piece.bodySize}, nowMs);
                break;
            case PieceKind::kData:
                runData(at, piece.size);
                break;
            case PieceKind::kMalformed:
                note("malformed " + commandText(at, piece.size));
                break;
            case PieceKind::kNeedMore:
                break;
        }
        pos += piece.size;
    }
    stream.erase(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(pos));
}

void PrinterCore::flush(Bytes& stream) {
    if (stream.empty()) {
        return;
    }
    const bool framed = stream.size() >= 3 && std::equal(std::begin(kFrameHead), std::end(kFrameHead), stream.begin());
    if (framed || items.inSettingsMode()) {
        note("malformed " + commandText(stream.data(), stream.size()));
    } else {
        noteData(stream.size());
    }
    stream.clear();
}

void PrinterCore::reply(std::vector<Bytes> segments, std::uint64_t nowMs) {
    if (ownRepliesHeld || segments.empty()) {
        return;
    }
    Bytes& first = segments.front();
    first.insert(first.begin(), faults.garbageBeforeFrame.begin(), faults.garbageBeforeFrame.end());
    std::size_t total = 0;
    for (const Bytes& segment : segments) {
        total += segment.size();
    }
    if (faults.padReplyTo > total) {
        segments.back().insert(segments.back().end(), faults.padReplyTo - total, 0x00);
    }
    replies.push(std::move(segments), Delivery{nowMs + faults.replyDelayMs, faults.replyChunk, faults.replyChunkGapMs});
}

void PrinterCore::note(std::string line) {
    lastWasData_ = false;
    log.push_back(std::move(line));
}

void PrinterCore::runData(const std::uint8_t* data, std::size_t n) {
    const std::size_t command = runReceiptCommand(*this, data, n);
    if (command < n) {
        noteData(n - command);
    }
}

void PrinterCore::noteData(std::size_t n) {
    // A print job reaches the printer in many writes; one line per run keeps the log readable.
    if (lastWasData_ && !log.empty()) {
        dataRun_ += n;
        log.back() = "data " + std::to_string(dataRun_) + " bytes";
        return;
    }
    dataRun_ = n;
    lastWasData_ = true;
    log.push_back("data " + std::to_string(n) + " bytes");
}

void PrinterCore::followScript(std::size_t logged, std::uint64_t nowMs) {
    if (script.empty()) {
        return;
    }
    const bool noted = log.size() > logged;
    if (!noted || log.back() != script.front().command) {
        if (noted) {
            log.back() = "unexpected " + log.back();
        } else {
            note("unexpected");
        }
        return;
    }
    std::vector<Bytes> segments = std::move(script.front().reply);
    script.pop_front();
    reply(std::move(segments), nowMs);
}

Bytes PrinterCore::menuContainer() const {
    return damageMenuContainer(container, faults.corruptMenuStream, faults.truncateMenuStream);
}

}  // namespace vprinter
