#pragma once
// The system default language and the user's locale formats, read from the system at every call.

#include "platform/locale.h"

namespace platform::win32 {

class Win32Locale : public Locale {
public:
    std::uint16_t SystemDefaultLangId() override;
    std::uint16_t UserDefaultUILanguage() override;
    std::wstring ShortDateFormat() override;
    std::wstring LongTimeFormat() override;
    wchar_t DecimalSeparator() override;
};

}  // namespace platform::win32
