// Loading the menu definition into the model: page headers and the six item lists.

#include "ItemRule.h"
#include "Scheme.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace {

struct TMenuList {
    const wchar_t* Section;     // holds ItemCount
    const wchar_t* ItemFormat;  // section of item n
    ArrSettingItems TSchemeOptions2::*Items;
    bool WithExplain;
};

constexpr TMenuList kMenuLists[] = {
    {L"BaseSection", L"BaseItem%.2d", &TSchemeOptions2::m_BaseItems, false},
    {L"AdvanceSection", L"AdvanceItem%.2d", &TSchemeOptions2::m_AdvanceItems, false},
    {L"MaintenanceSection", L"MaintenanceItem%.2d", &TSchemeOptions2::m_Maintenance, true},
    {L"SubGroup01", L"SubGroup01Item%.2d", &TSchemeOptions2::m_CustomItems, false},
    {L"SubGroup02", L"SubGroup02Item%.2d", &TSchemeOptions2::m_CustomItems2, false},
    {L"SubGroup64", L"SubGroup64Item%.2d", &TSchemeOptions2::m_CustomItems64, false},
};

void ReadItem(const platform::IniFile& ini,
              const std::wstring& section,
              const std::wstring& suffix,
              bool withExplain,
              TSettingItem& item) {
    item.TaskIndex = ini.ReadInteger(section, L"TaskIndex", 0);
    ReadHeaderItem(ini, section, suffix, item);
    item.GetInstruction = ini.ReadString(section, L"GetInstruction", L"");
    item.SetInstruction = ini.ReadString(section, L"SetInstruction", L"");
    item.nParameterByte = static_cast<std::uint32_t>(ini.ReadInteger(section, L"ParameterCount", 1));
    item.RuleType = ini.ReadString(section, L"RuleType", L"");
    item.RuleString = ini.ReadString(section, L"Rule" + suffix, L"");
    item.ValueDefault = ini.ReadInteger(section, L"Default", 0);
    item.iSubGroup = ini.ReadInteger(section, L"SubGroup", 0);
    if (withExplain) {
        item.Explain = ini.ReadString(section, L"Explain" + suffix, L"");
    }
    item.ValueCurrent = item.ValueDefault;
}

}  // namespace

void ReadHeaderItem(const platform::IniFile& ini,
                    const std::wstring& section,
                    const std::wstring& suffix,
                    TSettingItem& item) {
    item.Name = ini.ReadString(section, L"Name", L"");
    item.Icon = ini.ReadString(section, L"Icon", L"");
    item.Title = ini.ReadString(section, L"Title" + suffix, L"");
    item.Note = ini.ReadString(section, L"Note" + suffix, L"");
}

void TSchemeOptions2::LoadPrinterMenu(const std::wstring& fileName) {
    if (!platform::files().FileExists(fileName)) {
        return;
    }
    const platform::IniFile ini(fileName);
    LoadSettings(&ini);
}

void TSchemeOptions2::LoadSettings(const platform::IniFile* iniFile) {
    if (iniFile == nullptr) {
        return;
    }
    const platform::IniFile& ini = *iniFile;
    m_strLangStrTail = AddLanguageCode(L".");
    ReadHeaderItem(ini, L"BaseItem00", m_strLangStrTail, m_IndexItems[pgAdvance]);
    ReadHeaderItem(ini, L"BaseItem99", m_strLangStrTail, m_IndexItems[pgMaintenance]);

    for (const TMenuList& list : kMenuLists) {
        const std::int32_t count = ini.ReadInteger(list.Section, L"ItemCount", 0);
        if (count < 0 || count > kMaxMenuItemCount) {
            throw platform::Exception(L"ItemCount " + platform::IntToStr(count) + L" of [" + list.Section +
                                      L"] is out of range (0 to " + platform::IntToStr(kMaxMenuItemCount) + L")");
        }
        ArrSettingItems& items = this->*list.Items;
        items.assign(static_cast<std::size_t>(count), TSettingItem());
        for (std::int32_t n = 1; n <= count; ++n) {
            const std::wstring section = platform::Format(list.ItemFormat, {std::int64_t{n}});
            TSettingItem& item = items[static_cast<std::size_t>(n - 1)];
            ReadItem(ini, section, m_strLangStrTail, list.WithExplain, item);
            try {
                ParseItemRule(item);
            } catch (const platform::Exception& e) {
                throw platform::Exception(L"[" + section + L"] " + e.Message());
            }
        }
    }
}
