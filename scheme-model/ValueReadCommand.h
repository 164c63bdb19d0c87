#pragma once
// The value read command, as hex command text:
//   InstructionGetValueClass  (default 1B 1D 1E 05 03)
//   item count                two hexadecimal digits, lower case ("01", "0c")
//   read codes                each item's GetInstruction, in list order
//   InstructionTail           (default 1B 1D 1F)
// The printer answers with the value reply that ValueEncoding.h describes entry by entry.

#include <string>

#include "Scheme.h"

// "1B 1D 1E 05 03 01 24 1B 1D 1F" for item code 24 with the default instructions.
std::wstring ItemValueReadCommand(const TTagSections& sections, const TSettingItem& item);
// "1B 1D 1E 05 03 03 21 22 2C 1B 1D 1F" for items 21, 22, 2C; an empty page still counts "00".
std::wstring PageValueReadCommand(const TTagSections& sections, const ArrSettingItems& items);
