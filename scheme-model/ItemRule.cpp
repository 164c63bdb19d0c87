#include "ItemRule.h"

#include "LocaleParse.h"
#include "platform/locale.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/types.h"

namespace {

constexpr wchar_t kRuleErrorCaption[] = L"Rule parse error";

void ShowRuleError(const std::wstring& text) {
    platform::messageBoxes().Show(text, kRuleErrorCaption, platform::MsgIcon::Error, platform::MsgButtons::OK);
}

// A conversion of a SERIAL value that must be an integer.
std::int32_t RequireInteger(const std::optional<std::wstring>& text) {
    const std::wstring value = text.value_or(std::wstring());
    const auto number = ParseRuleInteger(value);
    if (!number) {
        throw platform::Exception(L"'" + value + L"' is not a valid integer value");
    }
    return *number;
}

// The text after the first "=" of the first entry whose name is exactly `name` (letter case aside).
std::optional<std::wstring> FindNamedValue(const std::vector<std::wstring>& entries, const std::wstring& name) {
    for (const std::wstring& entry : entries) {
        const std::size_t eq = entry.find(L'=');
        if (eq != std::wstring::npos && platform::SameText(entry.substr(0, eq), name)) {
            return entry.substr(eq + 1);
        }
    }
    return std::nullopt;
}

// Two decimals in the user's locale.
std::wstring FormatMillimetres(double value) {
    std::wstring text = platform::Format(L"%.2f", {value + 0.0});
    const wchar_t separator = platform::locale().DecimalSeparator();
    if (separator != L'.') {
        for (wchar_t& c : text) {
            if (c == L'.') {
                c = separator;
            }
        }
    }
    return text;
}

void ParseEnumRule(TSettingItem& item, const std::vector<std::wstring>& entries) {
    const std::size_t count = entries.size();
    item.nRuleValueCount = static_cast<std::uint32_t>(count);
    item.RuleValues.RuleValue.assign(count, 0);
    item.RuleValues.RuleTitle.assign(count, std::wstring());
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring& entry = entries[i];
        const std::size_t eq = entry.find(L'=');
        const std::wstring valueText = eq == std::wstring::npos ? std::wstring() : entry.substr(0, eq);
        const std::wstring titleText = eq == std::wstring::npos ? std::wstring() : entry.substr(eq + 1);
        if (const auto value = ParseRuleInteger(RestoreRuleToken(valueText))) {
            item.RuleValues.RuleValue[i] = *value;
        } else {
            ShowRuleError(L"while parseing Enum rule\"" + item.Title + L"\"(" + platform::IntToStr(i) +
                          L")Exception !");
        }
        item.RuleValues.RuleTitle[i] = RestoreRuleToken(titleText);
    }
}

void ParseSerialRule(TSettingItem& item, std::vector<std::wstring> entries) {
    if (entries.size() < 4) {
        ShowRuleError(L"while parseing Serial rule\"" + item.Title +
                      L"\"Exception !\r\nMay be leak to write a key word");
    }
    for (std::wstring& entry : entries) {
        entry = platform::Trim(RestoreRuleToken(entry));
    }
    std::int64_t minValue = RequireInteger(FindNamedValue(entries, L"Min"));
    std::int64_t maxValue = RequireInteger(FindNamedValue(entries, L"Max"));
    const std::int64_t step = RequireInteger(FindNamedValue(entries, L"Step"));
    const std::int64_t displayAdd = RequireInteger(FindNamedValue(entries, L"DisplayAdd"));
    double mmMultiply = 0;
    if (const auto text = FindNamedValue(entries, L"mmMultiply")) {
        mmMultiply = TryParseLocaleFloat(*text, platform::locale().DecimalSeparator()).value_or(0.0);
    }
    const std::wstring title = FindNamedValue(entries, L"Title").value_or(std::wstring());

    if (maxValue < minValue) {
        std::swap(minValue, maxValue);
    }
    const std::int64_t stride = step < 0 ? -step : step;
    if (stride == 0) {
        throw platform::Exception(L"Division by zero");
    }
    const std::int64_t count = (maxValue - minValue) / stride + 1;
    if (count > kMaxSerialValueCount) {
        throw platform::Exception(L"SERIAL rule of " + platform::IntToStr(count) + L" values is too large (at most " +
                                  platform::IntToStr(kMaxSerialValueCount) + L")");
    }
    const bool withMillimetres = mmMultiply > 0.001 || mmMultiply < -0.001;

    item.nRuleValueCount = static_cast<std::uint32_t>(count);
    item.RuleValues.RuleValue.assign(static_cast<std::size_t>(count), 0);
    item.RuleValues.RuleTitle.assign(static_cast<std::size_t>(count), std::wstring());
    std::size_t i = 0;
    for (std::int64_t v = minValue; v <= maxValue; v += stride, ++i) {
        item.RuleValues.RuleValue[i] = static_cast<std::int32_t>(v);
        std::wstring text = platform::IntToStr(v + displayAdd) + title;
        if (withMillimetres) {
            text += L"\t ( " + FormatMillimetres(static_cast<double>(v) * mmMultiply) + L"mm )";
        }
        item.RuleValues.RuleTitle[i] = std::move(text);
    }
}

}  // namespace

std::optional<std::int32_t> ParseRuleInteger(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == L' ') {
        ++i;
    }
    std::wstring s = text.substr(i);
    // A sign may stand before hexadecimal digits too, and "x1F" is hexadecimal like "$1F".
    const bool hasSign = !s.empty() && (s[0] == L'+' || s[0] == L'-');
    const bool negative = hasSign && s[0] == L'-';
    std::wstring digits = hasSign ? s.substr(1) : s;
    if (!digits.empty() && (digits[0] == L'x' || digits[0] == L'X')) {
        digits[0] = L'$';
    }
    const bool hex =
        !digits.empty() &&
        (digits[0] == L'$' || (digits.size() >= 2 && digits[0] == L'0' && (digits[1] == L'x' || digits[1] == L'X')));
    if (!hex) {
        return platform::TryParseInteger(s);
    }
    const auto value = platform::TryParseInteger(digits);
    if (!value || !negative) {
        return value;
    }
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(*value));
}

std::wstring RestoreRuleToken(const std::wstring& token) {
    std::wstring s = token;
    for (wchar_t& c : s) {
        if (c == L'^') {
            c = L' ';
        } else if (c == L'`') {
            c = L'\t';
        }
    }
    return platform::Trim(s);
}

std::vector<std::wstring> SplitRuleEntries(const std::wstring& text) {
    return platform::SplitCommaText(text);
}

void ParseItemRule(TSettingItem& item) {
    item.nRuleValueCount = 0;
    item.RuleValues = TTagItemRuleValues();

    std::wstring text = platform::TrimLeft(platform::ReplaceAll(item.RuleString, L"\\r", L"\r\n"));
    // Blanks and tabs are part of an entry, not separators between entries.
    for (wchar_t& c : text) {
        if (c == L'\t') {
            c = L'`';
        } else if (c == L' ') {
            c = L'^';
        }
    }
    const bool isEnum = platform::SameText(item.RuleType, L"ENUM");
    const bool isSerial = platform::SameText(item.RuleType, L"SERIAL");
    if (!isEnum && !isSerial) {
        return;
    }
    std::vector<std::wstring> entries = SplitRuleEntries(text);
    if (isEnum) {
        ParseEnumRule(item, entries);
    } else {
        ParseSerialRule(item, std::move(entries));
    }
}
