#include "state_file.h"

#include <charconv>
#include <limits>
#include <sstream>

#include "frame_splitter.h"
#include "hex.h"

namespace vprinter {
namespace {

constexpr std::string_view kMagic = "vprinter-state 1";
static_assert(kMaxPadReplyTo == 32768 + kMaxFrameBytes);

std::string hexOrDash(const Bytes& bytes) {
    return bytes.empty() ? "-" : hexBytes(bytes.data(), bytes.size(), "");
}

std::optional<Bytes> parseHexOrDash(std::string_view text) {
    if (text == "-") {
        return Bytes{};
    }
    return parseHex(text);
}

template <typename T>
std::optional<T> parseNumber(std::string_view text, int base = 10) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> parseFlag(std::string_view text) {
    if (text == "0") {
        return false;
    }
    if (text == "1") {
        return true;
    }
    return std::nullopt;
}

template <typename T>
std::string optionalText(const std::optional<T>& value) {
    return value ? std::to_string(*value) : "-";
}

template <typename T>
bool parseOptional(std::string_view text, std::optional<T>& out) {
    if (text == "-") {
        out.reset();
        return true;
    }
    auto value = parseNumber<T>(text);
    if (!value) {
        return false;
    }
    out = *value;
    return true;
}

template <typename T>
bool parseInto(std::string_view text, T& out) {
    auto value = parseNumber<T>(text);
    if (!value) {
        return false;
    }
    out = *value;
    return true;
}

bool parseFlagInto(std::string_view text, bool& out) {
    auto value = parseFlag(text);
    if (!value) {
        return false;
    }
    out = *value;
    return true;
}

bool parseFault(std::string_view name, std::string_view value, Faults& faults) {
    if (name == "unplugged") {
        return parseFlagInto(value, faults.unplugged);
    }
    if (name == "noReply") {
        return parseFlagInto(value, faults.noReply);
    }
    if (name == "replyDelayMs") {
        return parseInto(value, faults.replyDelayMs);
    }
    if (name == "replyChunk") {
        return parseInto(value, faults.replyChunk);
    }
    if (name == "replyChunkGapMs") {
        return parseInto(value, faults.replyChunkGapMs);
    }
    if (name == "garbageBeforeFrame") {
        auto bytes = parseHexOrDash(value);
        if (!bytes) {
            return false;
        }
        faults.garbageBeforeFrame = std::move(*bytes);
        return true;
    }
    if (name == "padReplyTo") {
        // Every reply is built at this size, so a wild value would exhaust memory at the next command.
        auto size = parseNumber<std::size_t>(value);
        if (!size || *size > kMaxPadReplyTo) {
            return false;
        }
        faults.padReplyTo = *size;
        return true;
    }
    if (name == "wrongCrc") {
        return parseFlagInto(value, faults.wrongCrc);
    }
    if (name == "menuLengthOverride") {
        return parseOptional(value, faults.menuLengthOverride);
    }
    if (name == "corruptMenuStream") {
        return parseFlagInto(value, faults.corruptMenuStream);
    }
    if (name == "truncateMenuStream") {
        return parseFlagInto(value, faults.truncateMenuStream);
    }
    if (name == "shortWrite") {
        return parseOptional(value, faults.shortWrite);
    }
    if (name == "menuInSecondRead") {
        return parseFlagInto(value, faults.menuInSecondRead);
    }
    if (name == "statusByte") {
        return parseInto(value, faults.statusByte);
    }
    return false;
}

std::vector<std::string_view> splitBlanks(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ') {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < line.size() && line[pos] != ' ') {
            ++pos;
        }
        if (pos > start) {
            words.push_back(line.substr(start, pos - start));
        }
    }
    return words;
}

bool parseItem(const std::vector<std::string_view>& words, std::vector<StoredItem>& items) {
    if (words.size() != 6) {
        return false;
    }
    const auto get = parseNumber<std::uint8_t>(words[1], 16);
    const auto setClass = parseNumber<std::uint8_t>(words[2], 16);
    const auto set = parseNumber<std::uint8_t>(words[3], 16);
    const auto width = parseNumber<int>(words[4]);
    const auto raw = parseNumber<std::uint32_t>(words[5], 16);
    if (!get || !setClass || !set || !width || !raw || *width < 1 || *width > 3) {
        return false;
    }
    if (*raw >> (8 * *width) != 0) {
        return false;
    }
    items.push_back({ItemCode(*get, *setClass, *set), *width, *raw});
    return true;
}

}  // namespace

std::string writeState(const PrinterState& state) {
    const Faults& f = state.faults;
    std::ostringstream out;
    out << kMagic << '\n';
    out << "model " << hexOrDash(Bytes(state.modelName.begin(), state.modelName.end())) << '\n';
    for (const StoredItem& item : state.items) {
        out << "item " << hexByte(item.code.get) << ' ' << hexByte(item.code.setClass) << ' ' << hexByte(item.code.set)
            << ' ' << item.width << ' ' << hexBytes(valueBytes(3, item.raw).data(), 3, "") << '\n';
    }
    out << "menu " << hexOrDash(state.menuFile) << '\n';
    out << "fault unplugged " << int{f.unplugged} << '\n';
    out << "fault noReply " << int{f.noReply} << '\n';
    out << "fault replyDelayMs " << f.replyDelayMs << '\n';
    out << "fault replyChunk " << f.replyChunk << '\n';
    out << "fault replyChunkGapMs " << f.replyChunkGapMs << '\n';
    out << "fault garbageBeforeFrame " << hexOrDash(f.garbageBeforeFrame) << '\n';
    out << "fault padReplyTo " << f.padReplyTo << '\n';
    out << "fault wrongCrc " << int{f.wrongCrc} << '\n';
    out << "fault menuLengthOverride " << optionalText(f.menuLengthOverride) << '\n';
    out << "fault corruptMenuStream " << int{f.corruptMenuStream} << '\n';
    out << "fault truncateMenuStream " << int{f.truncateMenuStream} << '\n';
    out << "fault shortWrite " << optionalText(f.shortWrite) << '\n';
    out << "fault menuInSecondRead " << int{f.menuInSecondRead} << '\n';
    out << "fault statusByte " << int{f.statusByte} << '\n';
    return out.str();
}

std::optional<PrinterState> readState(std::string_view text) {
    PrinterState state;
    bool sawMagic = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        if (!sawMagic) {
            if (line != kMagic) {
                return std::nullopt;
            }
            sawMagic = true;
            continue;
        }
        const auto words = splitBlanks(line);
        if (words.empty()) {
            continue;
        }
        bool good = false;
        if (words[0] == "model" && words.size() == 2) {
            auto name = parseHexOrDash(words[1]);
            if (name) {
                state.modelName.assign(name->begin(), name->end());
                good = true;
            }
        } else if (words[0] == "item") {
            good = parseItem(words, state.items);
        } else if (words[0] == "menu" && words.size() == 2) {
            auto menu = parseHexOrDash(words[1]);
            if (menu) {
                state.menuFile = std::move(*menu);
                good = true;
            }
        } else if (words[0] == "fault" && words.size() == 3) {
            good = parseFault(words[1], words[2], state.faults);
        }
        if (!good) {
            return std::nullopt;
        }
    }
    if (!sawMagic) {
        return std::nullopt;
    }
    return state;
}

}  // namespace vprinter
