#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/bytes.h"

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

wchar_t AsciiUpper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

wchar_t AsciiLower(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

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

std::size_t FindFrom(const std::wstring& sub, const std::wstring& s, std::size_t from, bool ignoreCase) {
    if (sub.empty() || from < 1 || from > s.size() || sub.size() > s.size() - (from - 1)) {
        return 0;
    }
    for (std::size_t start = from - 1; start + sub.size() <= s.size(); ++start) {
        std::size_t k = 0;
        while (k < sub.size() &&
               (ignoreCase ? AsciiUpper(s[start + k]) == AsciiUpper(sub[k]) : s[start + k] == sub[k])) {
            ++k;
        }
        if (k == sub.size()) {
            return start + 1;
        }
    }
    return 0;
}

// ---- Format ----

struct Directive {
    bool leftAlign = false;
    int width = -1;
    int precision = -1;
    wchar_t type = 0;
};

std::wstring Pad(std::wstring body, const Directive& d) {
    if (d.width > 0 && body.size() < static_cast<std::size_t>(d.width)) {
        std::wstring fill(static_cast<std::size_t>(d.width) - body.size(), L' ');
        body = d.leftAlign ? body + fill : fill + body;
    }
    return body;
}

// Integers of the 32-bit range print as the 32-bit values the program's Integer arguments are, so -1 is
// FFFFFFFF in hex and 4294967295 unsigned; wider values keep 64 bits.
std::uint64_t UnsignedImage(std::int64_t v) {
    if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()) {
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
    }
    return static_cast<std::uint64_t>(v);
}

std::wstring Digits(std::uint64_t v, unsigned base) {
    std::wstring out;
    do {
        unsigned digit = static_cast<unsigned>(v % base);
        out.insert(out.begin(), static_cast<wchar_t>(digit < 10 ? L'0' + digit : L'A' + digit - 10));
        v /= base;
    } while (v != 0);
    return out;
}

std::wstring ZeroExtend(std::wstring digits, int precision) {
    if (precision > 0 && digits.size() < static_cast<std::size_t>(precision)) {
        digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), L'0');
    }
    return digits;
}

// Fixed notation with decimals digits after the point, rounding the value's 18 significant decimal digits
// half away from zero rather than to even (0.125 -> "0.13", while 2.675, stored just below, gives "2.67").
std::wstring FixedText(double value, int decimals) {
    if (std::isnan(value)) {
        return L"NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? L"-INF" : L"INF";
    }
    bool negative = std::signbit(value);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17e", std::fabs(value));
    // buf: d.ddddddddddddddddde[+-]xx
    std::string mantissa;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            mantissa.push_back(*p);
        }
    }
    int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    // Digit k of mantissa has weight 10^(exponent - k). Keep the digits down to weight 10^-decimals.
    int keep = exponent + 1 + decimals;  // how many mantissa digits lie at or above that weight
    std::string digits;                  // integer of the value scaled by 10^decimals
    if (keep <= 0) {
        digits.assign(1, (keep == 0 && mantissa[0] >= '5') ? '1' : '0');
    } else {
        for (int k = 0; k < keep; ++k) {
            digits.push_back(k < static_cast<int>(mantissa.size()) ? mantissa[static_cast<std::size_t>(k)] : '0');
        }
        if (keep < static_cast<int>(mantissa.size()) && mantissa[static_cast<std::size_t>(keep)] >= '5') {
            int k = static_cast<int>(digits.size()) - 1;
            while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9') {
                digits[static_cast<std::size_t>(k)] = '0';
                --k;
            }
            if (k < 0) {
                digits.insert(digits.begin(), '1');
            } else {
                ++digits[static_cast<std::size_t>(k)];
            }
        }
    }
    if (digits.size() < static_cast<std::size_t>(decimals) + 1) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    std::string intPart = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    std::string fracPart = digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    bool allZero =
        intPart.find_first_not_of('0') == std::string::npos && fracPart.find_first_not_of('0') == std::string::npos;
    std::wstring out;
    if (negative && !allZero) {
        out.push_back(L'-');
    }
    for (char c : intPart) {
        out.push_back(static_cast<wchar_t>(c));
    }
    if (decimals > 0) {
        out.push_back(L'.');
        for (char c : fracPart) {
            out.push_back(static_cast<wchar_t>(c));
        }
    }
    return out;
}

// Renders one directive; false when the argument is missing or of the wrong kind.
bool RenderDirective(const Directive& d, const FormatArg* arg, std::wstring& out) {
    if (!arg) {
        return false;
    }
    switch (d.type) {
        case L's': {
            const auto* text = std::get_if<std::wstring>(arg);
            if (!text) {
                return false;
            }
            std::wstring body = *text;
            if (d.precision >= 0 && body.size() > static_cast<std::size_t>(d.precision)) {
                body.resize(static_cast<std::size_t>(d.precision));
            }
            out = Pad(body, d);
            return true;
        }
        case L'd': {
            const auto* v = std::get_if<std::int64_t>(arg);
            if (!v) {
                return false;
            }
            std::uint64_t magnitude = *v < 0 ? 0 - static_cast<std::uint64_t>(*v) : static_cast<std::uint64_t>(*v);
            std::wstring body = ZeroExtend(Digits(magnitude, 10), d.precision);
            out = Pad(*v < 0 ? L"-" + body : body, d);
            return true;
        }
        case L'u':
        case L'x': {
            const auto* v = std::get_if<std::int64_t>(arg);
            if (!v) {
                return false;
            }
            out = Pad(ZeroExtend(Digits(UnsignedImage(*v), d.type == L'u' ? 10 : 16), d.precision), d);
            return true;
        }
        case L'f': {
            const auto* v = std::get_if<double>(arg);
            if (!v) {
                return false;
            }
            out = Pad(FixedText(*v, d.precision >= 0 ? std::min(d.precision, 18) : 2), d);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

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
        c = AsciiUpper(c);
    }
    return out;
}

std::wstring LowerCase(const std::wstring& s) {
    std::wstring out = s;
    for (auto& c : out) {
        c = AsciiLower(c);
    }
    return out;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareText(const std::wstring& a, const std::wstring& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<std::uint32_t>(AsciiUpper(a[i]));
        auto cb = static_cast<std::uint32_t>(AsciiUpper(b[i]));
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

std::wstring IntToStr(std::int64_t value) {
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::wstring digits = Digits(magnitude, 10);
    return value < 0 ? L"-" + digits : digits;
}

std::wstring IntToHex(std::uint64_t value, int digits) {
    return ZeroExtend(Digits(value, 16), digits);
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

std::wstring Format(const std::wstring& format, std::initializer_list<FormatArg> args) {
    return Format(format, std::vector<FormatArg>(args));
}

// Directive syntax: "%" [index ":"] ["-"] [width] ["." precision] type; width and precision may be "*" (taken
// from the next integer argument). Type letters match in either case; %x and %X both give upper-case digits.
std::wstring Format(const std::wstring& format, const std::vector<FormatArg>& args) {
    std::wstring out;
    std::size_t nextArg = 0;
    std::size_t i = 0;
    const std::size_t n = format.size();

    // Reads a decimal number or "*" at position j; -1 when neither is there. A "*" whose argument is not an
    // integer fails the directive.
    auto readNumber = [&](std::size_t& j, bool& ok) -> long long {
        if (j < n && format[j] == L'*') {
            ++j;
            if (nextArg >= args.size() || !std::holds_alternative<std::int64_t>(args[nextArg])) {
                ok = false;
                return -1;
            }
            return std::get<std::int64_t>(args[nextArg++]);
        }
        if (j >= n || format[j] < L'0' || format[j] > L'9') {
            return -1;
        }
        long long v = 0;
        while (j < n && format[j] >= L'0' && format[j] <= L'9') {
            v = std::min<long long>(v * 10 + (format[j] - L'0'), 1 << 20);
            ++j;
        }
        return v;
    };

    while (i < n) {
        if (format[i] != L'%') {
            out.push_back(format[i++]);
            continue;
        }
        if (i + 1 < n && format[i + 1] == L'%') {
            out.push_back(L'%');
            i += 2;
            continue;
        }
        const std::size_t start = i;
        std::size_t j = i + 1;
        bool ok = true;
        Directive d;
        const std::size_t savedNext = nextArg;
        std::size_t k = j;
        std::size_t index = 0;
        while (k < n && format[k] >= L'0' && format[k] <= L'9') {
            index = std::min<std::size_t>(index * 10 + static_cast<std::size_t>(format[k] - L'0'), 1 << 20);
            ++k;
        }
        if (k > j && k < n && format[k] == L':') {
            nextArg = index;
            j = k + 1;
        }
        if (j < n && format[j] == L'-') {
            d.leftAlign = true;
            ++j;
        }
        long long width = readNumber(j, ok);
        if (ok && width >= 0) {
            d.width = static_cast<int>(width);
        }
        if (ok && j < n && format[j] == L'.') {
            ++j;
            long long precision = readNumber(j, ok);
            d.precision = precision >= 0 ? static_cast<int>(precision) : 0;
        }
        std::wstring rendered;
        if (ok && j < n) {
            d.type = AsciiLower(format[j]);
            ++j;
            const FormatArg* arg = nextArg < args.size() ? &args[nextArg] : nullptr;
            if (RenderDirective(d, arg, rendered)) {
                ++nextArg;
                out += rendered;
                i = j;
                continue;
            }
        }
        // Missing or unsuitable argument, unknown type or a directive cut off by the end: keep its text.
        nextArg = savedNext;
        out.append(format, start, j - start);
        i = j;
    }
    return out;
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

namespace {

const wchar_t* const kMonthNames[12] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                        L"July",    L"August",   L"September", L"October", L"November", L"December"};
const wchar_t* const kDayNames[7] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                     L"Thursday", L"Friday", L"Saturday"};

// 0 = Sunday, for the proleptic Gregorian calendar.
int DayOfWeek(int year, int month, int day) {
    static const int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) {
        return 0;
    }
    if (month < 3) {
        year -= 1;
    }
    long long y = year;
    long long v = y + y / 4 - y / 100 + y / 400 + offsets[month - 1] + day;
    // floor division semantics for years before 0 are not needed by the program, but keep the index valid
    return static_cast<int>(((v % 7) + 7) % 7);
}

std::wstring Number(long long v, std::size_t minDigits) {
    std::wstring digits = Digits(static_cast<std::uint64_t>(v < 0 ? -v : v), 10);
    if (digits.size() < minDigits) {
        digits.insert(0, minDigits - digits.size(), L'0');
    }
    return v < 0 ? L"-" + digits : digits;
}

}  // namespace

// Names of days and months are the English ones; the program's pictures use numbers only.
std::wstring FormatDateTime(const std::wstring& picture, const LocalTime& time) {
    std::wstring out;
    const std::size_t n = picture.size();
    std::size_t i = 0;
    while (i < n) {
        wchar_t c = picture[i];
        if (c == L'\'') {
            // Quoted literal; two quotes in a row stand for one.
            ++i;
            while (i < n) {
                if (picture[i] == L'\'') {
                    if (i + 1 < n && picture[i + 1] == L'\'') {
                        out.push_back(L'\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out.push_back(picture[i++]);
            }
            continue;
        }
        std::size_t run = 1;
        while (i + run < n && picture[i + run] == c) {
            ++run;
        }
        switch (c) {
            case L'y':
                if (run == 1) {
                    out += Number(time.year % 10, 1);
                } else if (run == 2) {
                    out += Number(time.year % 100, 2);
                } else {
                    out += Number(time.year, 4);
                }
                break;
            case L'M':
                if (run <= 2) {
                    out += Number(time.month, run);
                } else if (time.month >= 1 && time.month <= 12) {
                    std::wstring name = kMonthNames[time.month - 1];
                    out += run == 3 ? name.substr(0, 3) : name;
                }
                break;
            case L'd':
                if (run <= 2) {
                    out += Number(time.day, run);
                } else {
                    std::wstring name = kDayNames[DayOfWeek(time.year, time.month, time.day)];
                    out += run == 3 ? name.substr(0, 3) : name;
                }
                break;
            case L'H':
                out += Number(time.hour, std::min<std::size_t>(run, 2));
                break;
            case L'h': {
                int h = time.hour % 12;
                out += Number(h == 0 ? 12 : h, std::min<std::size_t>(run, 2));
                break;
            }
            case L'm':
                out += Number(time.minute, std::min<std::size_t>(run, 2));
                break;
            case L's':
                out += Number(time.second, std::min<std::size_t>(run, 2));
                break;
            case L't': {
                std::wstring marker = time.hour < 12 ? L"AM" : L"PM";
                out += run == 1 ? marker.substr(0, 1) : marker;
                break;
            }
            default:
                out.append(run, c);
                break;
        }
        i += run;
    }
    return out;
}

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
