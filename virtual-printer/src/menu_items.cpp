#include "menu_items.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <string>
#include <string_view>

namespace vprinter {
namespace {

// Only the ASCII keys and hex texts matter here, so every other character may become '?'.
std::string narrowText(const Bytes& bytes) {
    std::string text;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const unsigned unit = bytes[i] | (bytes[i + 1] << 8);
            text += unit < 0x80 ? static_cast<char>(unit) : '?';
        }
        return text;
    }
    text.assign(bytes.begin(), bytes.end());
    return text;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') {
        s.remove_suffix(1);
    }
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// Decimal, or hex after "0x" or "$"; anything else gives the default.
std::int32_t integerOr(std::string_view text, std::int32_t fallback) {
    text = trim(text);
    int base = 10;
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > 0xFFFFFFFFll) {
        return fallback;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

using Section = std::map<std::string, std::string>;

}  // namespace

std::vector<MenuItem> itemsFromMenu(const Bytes& menuFile) {
    const std::string text = narrowText(menuFile);
    std::vector<std::pair<std::string, Section>> sections;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line = trim(std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string name = lower(line.substr(1, line.size() - 2));
            const bool known =
                std::any_of(sections.begin(), sections.end(), [&](const auto& s) { return s.first == name; });
            sections.emplace_back(known ? std::string() : name, Section{});
            continue;
        }
        const auto equals = line.find('=');
        if (sections.empty() || sections.back().first.empty() || equals == std::string_view::npos) {
            continue;
        }
        sections.back().second.emplace(lower(trim(line.substr(0, equals))), std::string(trim(line.substr(equals + 1))));
    }

    std::vector<MenuItem> items;
    for (const auto& [name, keys] : sections) {
        const auto get = keys.find("getinstruction");
        const auto set = keys.find("setinstruction");
        if (get == keys.end() || set == keys.end()) {
            continue;
        }
        const auto code = ItemCode::fromMenuTexts(get->second, set->second);
        const auto width = keys.find("parametercount");
        const auto value = keys.find("default");
        MenuItem item;
        item.width = width == keys.end() ? 1 : integerOr(width->second, 1);
        item.value = value == keys.end() ? 0 : integerOr(value->second, 0);
        if (!code || item.width < 1 || item.width > 3) {
            continue;
        }
        item.code = *code;
        items.push_back(item);
    }
    return items;
}

}  // namespace vprinter
