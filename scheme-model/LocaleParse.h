#pragma once
// Numbers and dates written in the user's locale format, as the menu rules and the model settings file hold
// them, and the program's date-time value.

#include <optional>
#include <string>

#include "platform/clock.h"

// Days since 1899-12-30, the time of day as the fraction.
using TDateTime = double;

TDateTime EncodeDateTime(const platform::LocalTime& time);

// A decimal number with the locale's decimal separator: optional sign, digits, optional fraction and exponent;
// blanks around it are allowed, anything else is not.
std::optional<double> TryParseLocaleFloat(const std::wstring& text, wchar_t decimalSeparator);

// A date in the order of shortDateFormat (numbers separated by any non-digit), optionally followed by a time of
// up to three numbers separated by ":" and an AM/PM marker. Two-digit years are taken as 20yy.
std::optional<TDateTime> TryParseLocaleDateTime(const std::wstring& text, const std::wstring& shortDateFormat);
