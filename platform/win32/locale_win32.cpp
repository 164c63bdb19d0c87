#include "platform/win32/locale_win32.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

std::wstring UserLocaleInfo(LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[128] = {};
    const int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
    if (n <= 1) {
        return fallback;
    }
    return std::wstring(buffer, static_cast<std::size_t>(n - 1));
}

}  // namespace

std::uint16_t Win32Locale::SystemDefaultLangId() {
    return ::GetSystemDefaultLangID();
}

std::uint16_t Win32Locale::UserDefaultUILanguage() {
    return ::GetUserDefaultUILanguage();
}

std::wstring Win32Locale::ShortDateFormat() {
    return UserLocaleInfo(LOCALE_SSHORTDATE, L"yyyy/M/d");
}

std::wstring Win32Locale::LongTimeFormat() {
    return UserLocaleInfo(LOCALE_STIMEFORMAT, L"H:mm:ss");
}

wchar_t Win32Locale::DecimalSeparator() {
    const std::wstring s = UserLocaleInfo(LOCALE_SDECIMAL, L".");
    return s.empty() ? L'.' : s[0];
}

}  // namespace platform::win32
