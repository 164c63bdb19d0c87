#pragma once
// System language and the user's locale formats. Non-blocking, any thread.

#include <cstdint>
#include <string>

namespace platform {

class Locale {
public:
    virtual ~Locale() = default;
    // The system default language identifier (not the user's interface language), e.g. 2052, 1033.
    virtual std::uint16_t SystemDefaultLangId() = 0;
    // The user interface language identifier (used by the plug-in's resource choice).
    virtual std::uint16_t UserDefaultUILanguage() = 0;
    // The user's short date and long time formats in the platform's picture notation ("yyyy/M/d", "H:mm:ss":
    // y year, M month, d day, H/h hour 24/12, m minute, s second, t AM/PM marker; 'quoted' literals).
    virtual std::wstring ShortDateFormat() = 0;
    virtual std::wstring LongTimeFormat() = 0;
    virtual wchar_t DecimalSeparator() = 0;
};

}  // namespace platform
