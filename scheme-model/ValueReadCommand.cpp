#include "ValueReadCommand.h"

#include "platform/text.h"

std::wstring ItemValueReadCommand(const TTagSections& sections, const TSettingItem& item) {
    return sections.InstructionGetValueClass + L" 01 " + item.GetInstruction + L" " + sections.InstructionTail;
}

std::wstring PageValueReadCommand(const TTagSections& sections, const ArrSettingItems& items) {
    std::wstring text =
        sections.InstructionGetValueClass + L" " + platform::LowerCase(platform::IntToHex(items.size(), 2)) + L" ";
    for (const TSettingItem& item : items) {
        text += item.GetInstruction + L" ";
    }
    return text + sections.InstructionTail;
}
