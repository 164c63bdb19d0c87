#pragma once
// The records of the menu definition: one setting item with its allowed values, and the item lists.

#include <cstdint>
#include <string>
#include <vector>

// An item's allowed values and the text shown for each; both lists always have the same length.
struct TTagItemRuleValues {
    std::vector<std::int32_t> RuleValue;
    std::vector<std::wstring> RuleTitle;

    bool operator==(const TTagItemRuleValues&) const = default;
};

struct TSettingItem {
    std::int32_t TaskIndex = 0;
    std::wstring Name;
    std::wstring GetInstruction;
    std::wstring SetInstruction;
    std::wstring Icon;
    // Value width: 1 ptByte, 2 ptWord, 3 ptMask. A record made in code starts at 0 like every other field;
    // the menu loader gives an item 1 when its "ParameterCount" is absent.
    std::uint32_t nParameterByte = 0;
    std::wstring RuleType;
    std::wstring RuleString;
    std::wstring Title;
    std::wstring Note;
    std::wstring Explain;
    std::int32_t ValueDefault = 0;
    std::int32_t ValueCurrent = 0;
    std::uint32_t nRuleValueCount = 0;
    TTagItemRuleValues RuleValues;
    std::int32_t iSubGroup = 0;

    bool operator==(const TSettingItem&) const = default;
};

using ArrSettingItems = std::vector<TSettingItem>;

struct TSettingSection {
    std::wstring Title;
    std::uint32_t nItemCount = 0;
    ArrSettingItems Item;
};

// ValueCurrent of an item for which the printer's page reply held no value.
inline constexpr std::int32_t kNoPrinterValue = INT32_MIN;
