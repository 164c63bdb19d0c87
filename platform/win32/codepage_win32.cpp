#include "platform/win32/codepage_win32.h"

#include <climits>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

std::uint32_t Win32CodePage::SystemCodePage() {
    return ::GetACP();
}

std::string Win32CodePage::ToSystem(const std::wstring& text) {
    if (text.empty() || text.size() > INT_MAX / 4) {
        return {};
    }
    const int units = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), units, out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Win32CodePage::FromSystem(const std::string& bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX / 2) {
        return {};
    }
    const int count = static_cast<int>(bytes.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, out.data(), size);
    return out;
}

}  // namespace platform::win32
