// The program runtime's formatting: Format's directives and the integer images.
#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace platform {

namespace {

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

std::wstring IntToStr(std::int64_t value) {
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::wstring digits = Digits(magnitude, 10);
    return value < 0 ? L"-" + digits : digits;
}

std::wstring IntToHex(std::uint64_t value, int digits) {
    return ZeroExtend(Digits(value, 16), digits);
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
            d.type = LowerCase(format[j]);
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

}  // namespace platform
