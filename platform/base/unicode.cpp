// Unicode conversions: UTF-8 and UTF-16LE to and from the wide texts of the program.
#include "platform/text.h"

#include <type_traits>

#include "platform/bytes.h"

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Appends one code point, as a surrogate pair where wchar_t holds UTF-16 units.
void AppendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

// The code point starting at s[i]; advances i. A pair of surrogate units stored as two characters joins into
// one code point (text from UTF-16 sources); a lone surrogate or a value beyond U+10FFFF gives U+FFFD.
char32_t NextCodePoint(const std::wstring& s, std::size_t& i) {
    char32_t c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(s[i++]));
    if (c >= 0xD800 && c <= 0xDBFF && i < s.size()) {
        char32_t low = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(s[i]));
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    if (IsSurrogate(c) || c > 0x10FFFF) {
        return kReplacement;
    }
    return c;
}

}  // namespace

std::wstring Utf8ToWide(const std::string& s) {
    std::wstring out;
    out.reserve(s.size());
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        auto b0 = static_cast<std::uint8_t>(s[i]);
        if (b0 < 0x80) {
            out.push_back(static_cast<wchar_t>(b0));
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2, cp = b0 & 0x1F, minimum = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3, cp = b0 & 0x0F, minimum = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4, cp = b0 & 0x07, minimum = 0x10000;
        }
        if (length == 0) {
            AppendCodePoint(out, kReplacement);
            ++i;
            continue;
        }
        // Take continuation bytes while they fit; a short or broken sequence becomes one U+FFFD and decoding
        // goes on at the first byte that did not belong to it.
        std::size_t k = 1;
        while (k < length && i + k < n && (static_cast<std::uint8_t>(s[i + k]) & 0xC0) == 0x80) {
            cp = (cp << 6) | (static_cast<std::uint8_t>(s[i + k]) & 0x3F);
            ++k;
        }
        if (k < length || cp < minimum || cp > 0x10FFFF || IsSurrogate(cp)) {
            AppendCodePoint(out, kReplacement);
        } else {
            AppendCodePoint(out, cp);
        }
        i += k;
    }
    return out;
}

std::string WideToUtf8(const std::wstring& s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t cp = NextCodePoint(s, i);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::wstring Utf16LeToWide(const std::uint8_t* data, std::size_t byteCount) {
    std::wstring out;
    if (!data) {
        return out;
    }
    const std::size_t units = byteCount / 2;  // an odd trailing byte spells nothing
    out.reserve(units);
    auto unitAt = [data](std::size_t k) -> char32_t { return ReadLe16(data + 2 * k); };
    for (std::size_t k = 0; k < units; ++k) {
        char32_t u = unitAt(k);
        if constexpr (sizeof(wchar_t) == 2) {
            out.push_back(static_cast<wchar_t>(u));
        } else {
            if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
                char32_t low = unitAt(k + 1);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00)));
                    ++k;
                    continue;
                }
            }
            out.push_back(static_cast<wchar_t>(IsSurrogate(u) ? kReplacement : u));
        }
    }
    return out;
}

std::vector<std::uint8_t> WideToUtf16Le(const std::wstring& s) {
    std::vector<std::uint8_t> out;
    out.reserve(s.size() * 2);
    auto put = [&out](char32_t unit) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
    };
    for (wchar_t wc : s) {
        auto c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(wc));
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else if (c > 0x10FFFF) {
            put(kReplacement);
        } else {
            // Surrogate units already in the text pass through, so text that came from UTF-16 goes back intact.
            put(c);
        }
    }
    return out;
}

}  // namespace platform
