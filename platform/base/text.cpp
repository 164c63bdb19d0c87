// The string helpers: trimming, letter case, searching, cutting, the integer rules and splitting.
#include "platform/text.h"

#include <algorithm>

#include "platform/types.h"

namespace platform {

namespace {

std::size_t FindFrom(const std::wstring& sub, const std::wstring& s, std::size_t from, bool ignoreCase) {
    if (sub.empty() || from < 1 || from > s.size() || sub.size() > s.size() - (from - 1)) {
        return 0;
    }
    for (std::size_t start = from - 1; start + sub.size() <= s.size(); ++start) {
        std::size_t k = 0;
        while (k < sub.size() && (ignoreCase ? UpperCase(s[start + k]) == UpperCase(sub[k]) : s[start + k] == sub[k])) {
            ++k;
        }
        if (k == sub.size()) {
            return start + 1;
        }
    }
    return 0;
}

}  // namespace

wchar_t UpperCase(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

wchar_t LowerCase(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool IsBlankOrControl(wchar_t c) {
    return static_cast<std::uint32_t>(c) <= 0x20;
}

std::wstring Trim(const std::wstring& s) {
    return TrimLeft(TrimRight(s));
}

std::wstring TrimLeft(const std::wstring& s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlankOrControl(s[i])) {
        ++i;
    }
    return s.substr(i);
}

std::wstring TrimRight(const std::wstring& s) {
    std::size_t n = s.size();
    while (n > 0 && IsBlankOrControl(s[n - 1])) {
        --n;
    }
    return s.substr(0, n);
}

std::wstring UpperCase(const std::wstring& s) {
    std::wstring out = s;
    for (auto& c : out) {
        c = UpperCase(c);
    }
    return out;
}

std::wstring LowerCase(const std::wstring& s) {
    std::wstring out = s;
    for (auto& c : out) {
        c = LowerCase(c);
    }
    return out;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareText(const std::wstring& a, const std::wstring& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<std::uint32_t>(UpperCase(a[i]));
        auto cb = static_cast<std::uint32_t>(UpperCase(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

std::size_t Pos(const std::wstring& sub, const std::wstring& s, std::size_t from) {
    return FindFrom(sub, s, from, false);
}

std::size_t PosText(const std::wstring& sub, const std::wstring& s, std::size_t from) {
    return FindFrom(sub, s, from, true);
}

bool ContainsText(const std::wstring& s, const std::wstring& sub) {
    return PosText(sub, s) > 0;
}

std::wstring Copy(const std::wstring& s, std::ptrdiff_t index, std::ptrdiff_t count) {
    // As the program's runtime does: an index below 1 starts at the first character.
    const auto length = static_cast<std::ptrdiff_t>(s.size());
    const std::ptrdiff_t first = std::max<std::ptrdiff_t>(index, 1);
    if (count <= 0 || first > length) {
        return {};
    }
    const std::ptrdiff_t available = length - first + 1;
    return s.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(std::min(count, available)));
}

bool StartsWith(const std::wstring& s, const std::wstring& prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool StartsText(const std::wstring& s, const std::wstring& prefix) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

std::wstring ReplaceAll(const std::wstring& s, const std::wstring& from, const std::wstring& to) {
    if (from.empty()) {
        return s;
    }
    std::wstring out;
    std::size_t i = 0;
    while (true) {
        std::size_t at = s.find(from, i);
        if (at == std::wstring::npos) {
            out.append(s, i, std::wstring::npos);
            return out;
        }
        out.append(s, i, at - i);
        out += to;
        i = at + from.size();
    }
}

std::optional<std::int32_t> TryParseInteger(const std::wstring& text) {
    std::size_t i = 0;
    bool hex = false;
    bool negative = false;
    if (text.size() >= 1 && text[0] == L'$') {
        hex = true;
        i = 1;
    } else if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        hex = true;
        i = 2;
    } else if (!text.empty() && (text[0] == L'+' || text[0] == L'-')) {
        negative = text[0] == L'-';
        i = 1;
    }
    if (i >= text.size()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < text.size(); ++i) {
        int digit = hex ? HexDigitValue(text[i]) : ((text[i] >= L'0' && text[i] <= L'9') ? text[i] - L'0' : -1);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > limit) {
            return std::nullopt;
        }
    }
    if (hex) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value));
}

std::int32_t StrToIntDef(const std::wstring& text, std::int32_t defaultValue) {
    return TryParseInteger(text).value_or(defaultValue);
}

std::int32_t StrToInt(const std::wstring& text) {
    const std::optional<std::int32_t> value = TryParseInteger(text);
    if (!value) {
        throw Exception(L"'" + text + L"' is not a valid integer value");
    }
    return *value;
}

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    return -1;
}

std::vector<std::wstring> Split(const std::wstring& s, wchar_t delimiter) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t at = s.find(delimiter, start);
        if (at == std::wstring::npos) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, at - start));
        start = at + 1;
    }
}

std::vector<std::wstring> SplitCommaText(const std::wstring& s) {
    std::vector<std::wstring> entries;
    const std::size_t end = std::min(s.find(L'\0'), s.size());
    auto skipBlanks = [&](std::size_t& p) {
        while (p < end && IsBlankOrControl(s[p])) {
            ++p;
        }
    };
    std::size_t p = 0;
    skipBlanks(p);
    while (p < end) {
        std::wstring entry;
        if (s[p] == L'"') {
            for (++p; p < end; ++p) {
                if (s[p] == L'"') {
                    if (p + 1 < end && s[p + 1] == L'"') {
                        entry += L'"';
                        ++p;
                        continue;
                    }
                    ++p;
                    break;
                }
                entry += s[p];
            }
        } else {
            const std::size_t start = p;
            while (p < end && !IsBlankOrControl(s[p]) && s[p] != L',') {
                ++p;
            }
            entry = s.substr(start, p - start);
        }
        entries.push_back(std::move(entry));
        skipBlanks(p);
        if (p < end && s[p] == L',') {
            if (p + 1 == end) {
                entries.emplace_back();  // a final comma still ends an entry
            }
            ++p;
            skipBlanks(p);
        }
    }
    return entries;
}
std::vector<std::wstring> SplitLines(const std::wstring& s) {
    std::vector<std::wstring> lines(1);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'\r' || s[i] == L'\n') {
            if (s[i] == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n') {
                ++i;
            }
            lines.emplace_back();
        } else {
            lines.back().push_back(s[i]);
        }
    }
    return lines;
}

}  // namespace platform
