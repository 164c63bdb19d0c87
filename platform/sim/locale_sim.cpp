#include "platform/sim/locale_sim.h"

namespace platform::sim {

std::uint16_t SimLocale::SystemDefaultLangId() {
    std::lock_guard lock(mutex_);
    return systemLangId_;
}

std::uint16_t SimLocale::UserDefaultUILanguage() {
    std::lock_guard lock(mutex_);
    return uiLanguage_;
}

std::wstring SimLocale::ShortDateFormat() {
    std::lock_guard lock(mutex_);
    return shortDateFormat_;
}

std::wstring SimLocale::LongTimeFormat() {
    std::lock_guard lock(mutex_);
    return longTimeFormat_;
}

wchar_t SimLocale::DecimalSeparator() {
    std::lock_guard lock(mutex_);
    return decimalSeparator_;
}

void SimLocale::SetSystemDefaultLangId(std::uint16_t langId) {
    std::lock_guard lock(mutex_);
    systemLangId_ = langId;
}

void SimLocale::SetUserDefaultUILanguage(std::uint16_t langId) {
    std::lock_guard lock(mutex_);
    uiLanguage_ = langId;
}

void SimLocale::SetShortDateFormat(std::wstring format) {
    std::lock_guard lock(mutex_);
    shortDateFormat_ = std::move(format);
}

void SimLocale::SetLongTimeFormat(std::wstring format) {
    std::lock_guard lock(mutex_);
    longTimeFormat_ = std::move(format);
}

void SimLocale::SetDecimalSeparator(wchar_t separator) {
    std::lock_guard lock(mutex_);
    decimalSeparator_ = separator;
}

}  // namespace platform::sim
