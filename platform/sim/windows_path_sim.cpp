#include "platform/sim/windows_path_sim.h"

#include "platform/text.h"

namespace platform::sim {

namespace {

wchar_t FoldChar(wchar_t wc) {
    auto c = static_cast<std::uint32_t>(wc);
    if (c < 0x80) {
        return (c >= 'a' && c <= 'z') ? static_cast<wchar_t>(c - 0x20) : wc;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return static_cast<wchar_t>(c - 0x20);
    }
    if (c == 0xFF) {
        return static_cast<wchar_t>(0x178);
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return static_cast<wchar_t>(c & ~1u);  // even upper, odd lower
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return static_cast<wchar_t>((c & 1u) ? c : c - 1);  // odd upper, even lower
    }
    if (c == 0x3C2) {
        return static_cast<wchar_t>(0x3A3);  // final sigma
    }
    if (c >= 0x3B1 && c <= 0x3C9) {
        return static_cast<wchar_t>(c - 0x20);
    }
    if (c >= 0x430 && c <= 0x44F) {
        return static_cast<wchar_t>(c - 0x20);
    }
    if (c >= 0x450 && c <= 0x45F) {
        return static_cast<wchar_t>(c - 0x50);
    }
    if (c >= 0xFF41 && c <= 0xFF5A) {
        return static_cast<wchar_t>(c - 0x20);
    }
    return wc;
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// "LPT1", "COM3:", "PRN" and the like name devices wherever they stand.
std::optional<std::wstring> DosDeviceName(const std::wstring& name) {
    std::wstring upper = UpperCase(name);
    if (!upper.empty() && upper.back() == L':') {
        upper.pop_back();
    }
    if (upper == L"PRN" || upper == L"AUX" || upper == L"NUL" || upper == L"CON") {
        return upper;
    }
    if (upper.size() == 4 && (StartsWith(upper, L"LPT") || StartsWith(upper, L"COM")) && upper[3] >= L'1' &&
        upper[3] <= L'9') {
        return upper;
    }
    return std::nullopt;
}

}  // namespace

std::wstring FoldCase(const std::wstring& name) {
    std::wstring out = name;
    for (auto& c : out) {
        c = FoldChar(c);
    }
    return out;
}

std::wstring CanonicalPath(const std::wstring& path) {
    auto parsed = WindowsPath::From(path);
    return parsed ? parsed->Key() : std::wstring();
}

std::wstring WindowsPath::Key(std::size_t count) const {
    std::wstring key = rootKey;
    for (std::size_t k = 0; k < count && k < names.size(); ++k) {
        key += L'\\';
        key += FoldCase(names[k]);
    }
    return key;
}

std::wstring WindowsPath::Spelling(std::size_t count) const {
    std::wstring spelling = rootSpelling;
    for (std::size_t k = 0; k < count && k < names.size(); ++k) {
        spelling += L'\\';
        spelling += names[k];
    }
    return spelling;
}

std::optional<WindowsPath> WindowsPath::From(const std::wstring& input) {
    std::wstring s = ReplaceAll(input, L"/", L"\\");
    WindowsPath parsed;
    std::wstring rest;
    bool prefixed = StartsWith(s, L"\\\\?\\") || StartsWith(s, L"\\\\.\\") || StartsWith(s, L"\\??\\");
    if (prefixed) {
        s = s.substr(4);
        if (StartsText(s, L"UNC\\")) {
            s = L"\\\\" + s.substr(4);
            prefixed = false;
        }
    }
    if (s.size() >= 2 && IsAsciiLetter(s[0]) && s[1] == L':' && (s.size() == 2 || s[2] == L'\\')) {
        parsed.rootSpelling = s.substr(0, 2);
        parsed.rootKey = UpperCase(parsed.rootSpelling);
        rest = s.substr(2);
    } else if (prefixed) {
        std::size_t end = s.find(L'\\');
        std::wstring name = s.substr(0, end);
        if (name.empty()) {
            return std::nullopt;
        }
        parsed.device = true;
        parsed.rootSpelling = L"\\\\.\\" + name;
        parsed.rootKey = L"\\\\.\\" + FoldCase(name);
        rest = end == std::wstring::npos ? L"" : s.substr(end);
    } else if (StartsWith(s, L"\\\\")) {
        std::size_t serverEnd = s.find(L'\\', 2);
        if (serverEnd == std::wstring::npos || serverEnd == 2) {
            return std::nullopt;
        }
        std::size_t shareEnd = s.find(L'\\', serverEnd + 1);
        std::wstring share =
            s.substr(serverEnd + 1, shareEnd == std::wstring::npos ? std::wstring::npos : shareEnd - serverEnd - 1);
        if (share.empty()) {
            return std::nullopt;
        }
        parsed.rootSpelling = s.substr(0, serverEnd + 1 + share.size());
        parsed.rootKey = FoldCase(parsed.rootSpelling);
        rest = shareEnd == std::wstring::npos ? L"" : s.substr(shareEnd);
    } else if (auto device = DosDeviceName(s)) {
        parsed.device = true;
        parsed.rootSpelling = L"\\\\.\\" + *device;
        parsed.rootKey = parsed.rootSpelling;
        return parsed;
    } else if (s.size() >= 2 && IsAsciiLetter(s[0]) && s[1] == L':') {
        // Drive-relative ("C:name"): the sim has no current folder per drive, so the drive's root.
        parsed.rootSpelling = s.substr(0, 2);
        parsed.rootKey = UpperCase(parsed.rootSpelling);
        rest = s.substr(2);
    } else {
        return std::nullopt;
    }
    for (const auto& name : Split(rest, L'\\')) {
        if (name.empty() || name == L".") {
            continue;
        }
        if (name == L"..") {
            if (!parsed.names.empty()) {
                parsed.names.pop_back();
            }
            continue;
        }
        parsed.names.push_back(name);
    }
    return parsed;
}

}  // namespace platform::sim
