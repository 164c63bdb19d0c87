#include "platform/win32/profile_win32.h"

#include "platform/text.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

// Given as the system's default to tell a missing key from a present one: no INI text holds it.
const wchar_t kAbsent[] = L"\x01\x02\x03";

// Lists grow until they fit; no list the program reads comes near the cap.
constexpr DWORD kMaxList = 16u * 1024u * 1024u;

// A list of zero-terminated names ending in an empty one, each name once (first spelling), in file order.
std::vector<std::wstring> SplitList(const wchar_t* list, DWORD length) {
    std::vector<std::wstring> names;
    const wchar_t* end = list + length;
    for (const wchar_t* p = list; p < end && *p;) {
        const wchar_t* q = p;
        while (q < end && *q) {
            ++q;
        }
        std::wstring name(p, q);
        bool seen = false;
        for (const auto& n : names) {
            seen = seen || SameText(n, name);
        }
        if (!seen) {
            names.push_back(std::move(name));
        }
        p = q + 1;
    }
    return names;
}

// Calls fill(buffer, size) with a growing buffer until its result shows that the list fitted (the profile
// calls give size - 2 when it did not).
template <typename Fill>
std::vector<std::wstring> ReadList(Fill fill) {
    std::vector<wchar_t> buffer(4096);
    while (buffer.size() <= kMaxList) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD n = fill(buffer.data(), size);
        if (n + 2 < size) {
            return SplitList(buffer.data(), n);
        }
        buffer.assign(buffer.size() * 4, L'\0');
    }
    return {};
}

}  // namespace

std::wstring Win32Profile::ReadString(const std::wstring& file,
                                      const std::wstring& section,
                                      const std::wstring& key,
                                      const std::wstring& defaultValue) {
    wchar_t buffer[kProfileValueMax + 1] = {};
    const DWORD n = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), kAbsent, buffer,
                                               static_cast<DWORD>(kProfileValueMax + 1), file.c_str());
    std::wstring value(buffer, std::min<std::size_t>(n, kProfileValueMax));
    return value == kAbsent ? defaultValue : value;
}

bool Win32Profile::WriteString(const std::wstring& file,
                               const std::wstring& section,
                               const std::wstring& key,
                               const std::wstring& value) {
    return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

std::vector<std::wstring> Win32Profile::ReadSectionKeys(const std::wstring& file, const std::wstring& section) {
    return ReadList([&](wchar_t* buffer, DWORD size) {
        return ::GetPrivateProfileStringW(section.c_str(), nullptr, L"", buffer, size, file.c_str());
    });
}

std::vector<std::wstring> Win32Profile::ReadSectionNames(const std::wstring& file) {
    return ReadList(
        [&](wchar_t* buffer, DWORD size) { return ::GetPrivateProfileSectionNamesW(buffer, size, file.c_str()); });
}

bool Win32Profile::DeleteKey(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    if (::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return true;  // nothing to delete, and the system would create the file
    }
    return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, file.c_str());
}

bool Win32Profile::EraseSection(const std::wstring& file, const std::wstring& section) {
    if (::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    return ::WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, file.c_str());
}

}  // namespace platform::win32
