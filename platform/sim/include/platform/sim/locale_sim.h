#pragma once
// The simulated system language and locale formats; each value is settable by the test.

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/locale.h"

namespace platform::sim {

class SimLocale : public Locale {
public:
    std::uint16_t SystemDefaultLangId() override;
    std::uint16_t UserDefaultUILanguage() override;
    std::wstring ShortDateFormat() override;
    std::wstring LongTimeFormat() override;
    wchar_t DecimalSeparator() override;

    void SetSystemDefaultLangId(std::uint16_t langId);
    void SetUserDefaultUILanguage(std::uint16_t langId);
    void SetShortDateFormat(std::wstring format);
    void SetLongTimeFormat(std::wstring format);
    void SetDecimalSeparator(wchar_t separator);

private:
    std::mutex mutex_;
    std::uint16_t systemLangId_ = 1033;
    std::uint16_t uiLanguage_ = 1033;
    std::wstring shortDateFormat_ = L"yyyy/M/d";
    std::wstring longTimeFormat_ = L"H:mm:ss";
    wchar_t decimalSeparator_ = L'.';
};

}  // namespace platform::sim
