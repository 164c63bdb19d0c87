#include "platform/sim/codepage_sim.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "platform/bytes.h"
#include "platform/text.h"

namespace platform::sim {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves unassigned map to the control characters
// of the same value, as the platform's converter does, so that they survive a round trip.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::wstring FromCp1252(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<std::uint8_t>(ch);
        out.push_back(b >= 0x80 && b <= 0x9F ? static_cast<wchar_t>(kCp1252High[b - 0x80]) : static_cast<wchar_t>(b));
    }
    return out;
}

std::string ToCp1252(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        char byte = '?';
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            byte = static_cast<char>(c);
        } else {
            for (std::uint32_t k = 0; k < 32; ++k) {
                if (kCp1252High[k] == c) {
                    byte = static_cast<char>(0x80 + k);
                    break;
                }
            }
        }
        out.push_back(byte);
    }
    return out;
}

// Code pages without a converter: ASCII passes, everything else is unknown.
std::wstring FromAscii(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<std::uint8_t>(ch);
        out.push_back(b < 0x80 ? static_cast<wchar_t>(b) : kReplacement);
    }
    return out;
}

std::string ToAscii(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        out.push_back(static_cast<std::uint32_t>(wc) < 0x80 ? static_cast<char>(wc) : '?');
    }
    return out;
}

std::string IconvName(std::uint32_t codePage) {
    switch (codePage) {
        case 936:
            return "CP936";
        case 950:
            return "CP950";
        case 932:
            return "CP932";
        default:
            return "CP" + std::to_string(codePage);
    }
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Multi-byte text through the C library's converter. A byte that starts no valid sequence becomes U+FFFD and
// decoding goes on at the next byte; a sequence cut off by the end becomes one U+FFFD.
std::optional<std::wstring> FromIconv(std::uint32_t codePage, const std::string& bytes) {
    Converter conv("UTF-32LE", IconvName(codePage).c_str());
    if (!conv.valid()) {
        return std::nullopt;
    }
    std::wstring out;
    out.reserve(bytes.size());
    std::vector<char> buffer(4 * 256);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t rc = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
        int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
        std::size_t produced = buffer.size() - outLeft;
        for (std::size_t k = 0; k + 4 <= produced; k += 4) {
            out.push_back(static_cast<wchar_t>(ReadLe32(reinterpret_cast<const std::uint8_t*>(buffer.data() + k))));
        }
        if (error == EILSEQ) {
            out.push_back(kReplacement);
            ++in;
            --inLeft;
            iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
        } else if (error == EINVAL) {
            out.push_back(kReplacement);
            break;
        } else if (error != 0 && error != E2BIG) {
            break;
        }
    }
    return out;
}

std::optional<std::string> ToIconv(std::uint32_t codePage, const std::wstring& text) {
    Converter conv(IconvName(codePage).c_str(), "UTF-32LE");
    if (!conv.valid()) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(text.size() * 2);
    std::string units;
    units.reserve(text.size() * 4);
    for (wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        for (int shift = 0; shift < 32; shift += 8) {
            units.push_back(static_cast<char>((c >> shift) & 0xFF));
        }
    }
    std::vector<char> buffer(1024);
    char* in = units.data();
    std::size_t inLeft = units.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t rc = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
        int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
        out.append(buffer.data(), buffer.size() - outLeft);
        if (error == EILSEQ) {
            // A character the code page cannot hold: the platform writes its default character.
            out.push_back('?');
            std::size_t skip = inLeft < 4 ? inLeft : 4;
            in += skip;
            inLeft -= skip;
            iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
        } else if (error != 0 && error != E2BIG) {
            break;
        }
    }
    // Return any shift state to the initial one (stateless for these code pages, but cheap to be sure).
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    iconv(conv.get(), nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer.data(), buffer.size() - outLeft);
    return out;
}

// The code pages the sim knows by name all spell ASCII as ASCII, so ASCII text skips the converter.
bool AsciiCompatible(std::uint32_t codePage) {
    return codePage == 1252 || codePage == 936 || codePage == 950 || codePage == 932 || codePage == 65001;
}

}  // namespace

std::string SimCodePage::ToSystem(const std::wstring& text) {
    return ToCodePage(codePage_, text);
}

std::wstring SimCodePage::FromSystem(const std::string& bytes) {
    return FromCodePage(codePage_, bytes);
}

std::string SimCodePage::ToCodePage(std::uint32_t codePage, const std::wstring& text) {
    if (AsciiCompatible(codePage) &&
        std::all_of(text.begin(), text.end(), [](wchar_t c) { return static_cast<std::uint32_t>(c) < 0x80; })) {
        return std::string(text.begin(), text.end());
    }
    if (codePage == 1252) {
        return ToCp1252(text);
    }
    if (codePage == 65001) {
        return WideToUtf8(text);
    }
    if (auto converted = ToIconv(codePage, text)) {
        return *converted;
    }
    return ToAscii(text);
}

std::wstring SimCodePage::FromCodePage(std::uint32_t codePage, const std::string& bytes) {
    if (AsciiCompatible(codePage) &&
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<std::uint8_t>(c) < 0x80; })) {
        return std::wstring(bytes.begin(), bytes.end());
    }
    if (codePage == 1252) {
        return FromCp1252(bytes);
    }
    if (codePage == 65001) {
        return Utf8ToWide(bytes);
    }
    if (auto converted = FromIconv(codePage, bytes)) {
        return *converted;
    }
    return FromAscii(bytes);
}

}  // namespace platform::sim
