#pragma once
// The rule parser: turns an item's rule text into its allowed values and their display titles.
//
// ENUM rules list value=title entries; SERIAL rules name Min, Max, Step, DisplayAdd, mmMultiply and Title.
// Entries are separated by commas and line breaks (written "\r" in the menu file); inside an entry "^"
// stands for a blank and "`" for a tab.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SettingItem.h"

// Above this many values a SERIAL rule is refused rather than expanded (a word value has 65536).
inline constexpr std::int64_t kMaxSerialValueCount = 65536;

// Builds nRuleValueCount and RuleValues from RuleType and RuleString; RuleString stays as it is.
// An ENUM value that is no integer, or a SERIAL rule of fewer than four entries, is reported in a
// "Rule parse error" message box and parsing goes on. A SERIAL rule whose Min, Max, Step or DisplayAdd is
// missing or no integer, whose Step is 0 or that spans too many values throws platform::Exception; the item
// then has no values.
void ParseItemRule(TSettingItem& item);

// "^" becomes a blank, "`" a tab, then blanks and control characters at either end go.
std::wstring RestoreRuleToken(const std::wstring& token);

// Splits a prepared rule text into its entries, as comma text (platform::SplitCommaText): separated by commas
// and by runs of characters up to U+0020, an entry may be enclosed in double quotes (two double quotes inside
// stand for one), two commas in a row give an empty entry and so does a comma that ends the text.
std::vector<std::wstring> SplitRuleEntries(const std::wstring& text);

// The integer rule of menu values: optional sign, decimal digits, or hexadecimal digits after "$", "x" or
// "0x"; leading blanks allowed, nothing after the digits.
std::optional<std::int32_t> ParseRuleInteger(const std::wstring& text);
