#include "Scheme.h"

#include <algorithm>
#include <utility>

#include "UtilPrinter.h"
#include "WaitingWindowHook.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/platform.h"
#include "platform/text.h"

std::unique_ptr<TSchemeOptions2> g_SchemeOptions;
std::wstring g_strSchemeFile;
std::wstring g_strModelName;
std::wstring g_strPrinterName;
std::wstring g_strPrinterPath;
std::uint8_t g_byPage = pgBase;
std::uint8_t g_byStartPage = pgBase;
std::int32_t g_iItem = 0;
std::wstring g_strLocalPortFile;
bool g_bMenuFetched = false;
std::wstring g_strInkIni;

void ResetSchemeGlobals() {
    g_SchemeOptions.reset();
    g_strSchemeFile.clear();
    g_strModelName.clear();
    g_strPrinterName.clear();
    g_strPrinterPath.clear();
    g_byPage = pgBase;
    g_byStartPage = pgBase;
    g_iItem = 0;
    g_strLocalPortFile.clear();
    g_bMenuFetched = false;
    g_strInkIni.clear();
    g_GlobalString = TGlobalString{};
    SetWaitingWindowHook(nullptr);
}

std::wstring PrinterMenuFile() {
    return g_strPrinterPath + L".DAT";
}

namespace {

constexpr wchar_t kGlobalSettings[] = L"GlobalSettings";
constexpr wchar_t kBaseItemME[] = L"BaseItemME";

// The worker is told about one link for the whole run and reaches the model through it, so a model that port
// mode puts in place of the first one is the one it reports to.
class TSchemeOptionsLink : public TRWPrinterModel {
public:
    std::int32_t ReadOnLastFail() const override {
        // Without a model the worker keeps to its long time-outs, as the key's default does.
        return g_SchemeOptions ? g_SchemeOptions->m_Sections.ReadOnLastFail : 1;
    }
    void SetAffirmReadDisableStatus(bool bStatus) override {
        if (g_SchemeOptions) {
            g_SchemeOptions->SetAffirmReadDisableStatus(bStatus);
        }
    }
};

std::uint32_t ReadCardinal(const platform::IniFile& ini, const wchar_t* key, std::uint32_t defaultValue) {
    return static_cast<std::uint32_t>(ini.ReadInteger(kGlobalSettings, key, static_cast<std::int32_t>(defaultValue)));
}

TDateTime ReadDateTime(const platform::IniFile& ini, const wchar_t* key, TDateTime defaultValue) {
    const std::wstring text = ini.ReadString(kGlobalSettings, key, L"");
    return TryParseLocaleDateTime(text, platform::locale().ShortDateFormat()).value_or(defaultValue);
}

}  // namespace

void InstallSchemeOptionsForWorker() {
    static TSchemeOptionsLink link;
    if (GetRWPrinterModel() != &link) {
        SetRWPrinterModel(&link);
    }
}

void TSchemeOptions2::LoadFromFile(const std::wstring& fileName) {
    // A model loaded for a printer is the one the worker asks, even when its file is missing (its zero
    // ReadOnLastFail then switches to short time-outs after a failed read).
    InstallSchemeOptionsForWorker();
    if (!platform::files().FileExists(fileName)) {
        return;
    }
    const platform::IniFile ini(fileName);
    LoadDriverSettings(&ini);
}

void TSchemeOptions2::LoadDriverSettings(const platform::IniFile* iniFile) {
    if (iniFile == nullptr) {
        return;
    }
    // A model that reads a model settings file is one that talks to a printer.
    InstallSchemeOptionsForWorker();

    const platform::IniFile& ini = *iniFile;
    const wchar_t* const g = kGlobalSettings;
    m_strLangStrTail = AddLanguageCode(L".");
    TTagSections& s = m_Sections;
    s.MenuVersion = ini.ReadInteger(g, L"MenuVersion", 0);
    s.PrinterName = ini.ReadString(g, L"PrinterName", L"Varintex Printer");
    s.nSectionCount = ReadCardinal(ini, L"SectionCount", 0);
    s.InstructionTail = ini.ReadString(g, L"InstructionTail", L"1B 1D 1F");
    s.EnterInstruction = ini.ReadString(g, L"EnterInstruction", L"1B 1D 1E 05 01 1B 1D 1F");
    s.SaveInstruction = ini.ReadString(g, L"SaveInstruction", L"1B 1D 1E 05 02 1B 1D 1F");
    s.InstructionGetValueClass = ini.ReadString(g, L"GetInstructionClass", L"1B 1D 1E 05 03");
    s.AffirmReadDisable = ini.ReadBool(g, L"AffirmReadDisable", false);
    s.ReadOnLastFail = ini.ReadInteger(g, L"ReadOnLastFail", 1);
    s.TimeOutItem = ini.ReadInteger(g, L"TimeOutItem", 3000);
    s.TimeOutPage = ini.ReadInteger(g, L"TimeOutPage", 3500);
    s.ReturnPrefix = HexTextToBytes(ini.ReadString(g, L"ReturnPrefix", L"1B 1D 1E 05 03"));
    s.WriteReadDelay = ReadCardinal(ini, L"WriteReadDelay", 0);
    s.ReadMenuDelay = ReadCardinal(ini, L"ReadMenuDelay", 1000);
    s.SleepBeforeRead = ReadCardinal(ini, L"SleepBeforeRead", 30);
    s.ClearBeforeReadMenu = ini.ReadBool(g, L"ClearBeforeReadMenu", true);
    s.MultiReadRetry = ini.ReadBool(g, L"MultiReadRetry", false);
    s.CleanSleeptime = ReadCardinal(ini, L"CleanSleeptime", 150);
    s.DeepcleanSleeptime = ReadCardinal(ini, L"DeepcleanSleeptime", 400);
    s.NewPrinterSleeptime = ReadCardinal(ini, L"NewPrinterSleeptime", 200);
    s.RollercleanTime = ReadCardinal(ini, L"RollercleanTime", 150);
    s.ChangeHeadTime = ReadCardinal(ini, L"ChangeHeadTime", 1200);
    s.ChangeBoxTime = ReadCardinal(ini, L"ChangeBoxTime", 500);
    s.DeepcleanIntervaltime = ReadCardinal(ini, L"DeepcleanIntervaltime", 12);
    s.LastDeepcleantime = ReadDateTime(ini, L"LastDeepcleantime", EncodeDateTime(platform::clock().Now()));
    s.TotalInkQuantity = ini.ReadString(g, L"TotalInkQuantity", L"9000000000");
    s.WebAddress = ini.ReadString(g, L"WebAddress", kDefaultWebAddress);
    s.LenBM = ini.ReadInteger(g, L"LenBM", 0);
    s.LenLock = ini.ReadInteger(g, L"LenLock", 279);

    ReadHeaderItem(ini, kBaseItemME, m_strLangStrTail, m_IndexItems[pgBase]);
}

const ArrSettingItems* TSchemeOptions2::ItemsOfPage(std::uint8_t byPage) const {
    switch (byPage) {
        case pgAdvance:
            return &m_AdvanceItems;
        case pgSingleItem:
        case pgBase:
        case pgSaveValues:
            return &m_BaseItems;
        case pgMaintenance:
            return &m_Maintenance;
        case pgSubGroup01:
            return &m_CustomItems;
        case pgSubGroup02:
            return &m_CustomItems2;
        case pgSubGroup64:
            return &m_CustomItems64;
        default:
            return nullptr;
    }
}

ArrSettingItems* TSchemeOptions2::ItemsOfPage(std::uint8_t byPage) {
    return const_cast<ArrSettingItems*>(std::as_const(*this).ItemsOfPage(byPage));
}

TSettingItem TSchemeOptions2::GetIndexItem(std::uint8_t byPage) const {
    if (byPage >= m_IndexItems.size()) {
        return TSettingItem();
    }
    return m_IndexItems[byPage];
}

bool TSchemeOptions2::GetItem(std::uint8_t byPage, std::int32_t iIndex, TSettingItem& item) const {
    const ArrSettingItems* items = ItemsOfPage(byPage);
    if (items == nullptr || iIndex < 0 || static_cast<std::size_t>(iIndex) >= items->size()) {
        return false;
    }
    item = (*items)[static_cast<std::size_t>(iIndex)];
    return true;
}

TSettingItem TSchemeOptions2::GetItem(std::uint8_t byPage, std::int32_t iIndex) const {
    TSettingItem item;
    GetItem(byPage, iIndex, item);
    return item;
}

std::int32_t TSchemeOptions2::GetItemLength(std::uint8_t byPage) const {
    const ArrSettingItems* items = ItemsOfPage(byPage);
    return items == nullptr ? 0 : static_cast<std::int32_t>(items->size());
}

std::wstring TSchemeOptions2::GetTitleFromValue(std::uint8_t byPage, std::int32_t iIndex, std::int32_t iValue) const {
    const TSettingItem item = GetItem(byPage, iIndex);
    const std::vector<std::int32_t>& values = item.RuleValues.RuleValue;
    const std::vector<std::wstring>& titles = item.RuleValues.RuleTitle;
    std::wstring result;
    switch (item.nParameterByte) {
        case ptByte:
        case ptWord:
            for (std::size_t i = 0; i < values.size() && i < titles.size(); ++i) {
                if (values[i] == iValue) {
                    result = titles[i];
                }
            }
            return result;
        case ptMask: {
            if (iValue == 0) {
                return g_GlobalString.NO;
            }
            const int options = static_cast<int>(std::min<std::size_t>(values.size(), kMaskOptionCount));
            for (int option = 1; option <= options; ++option) {
                if (iValue & (1 << MaskBitOfOption(option))) {
                    result += platform::IntToStr(option) + L" ";
                }
            }
            result = platform::ReplaceAll(platform::Trim(result), L" ", L", ");
            return result.empty() ? g_GlobalString.NO : result;
        }
        default:
            return result;
    }
}

void TSchemeOptions2::SetItem_ValueCurrent(std::uint8_t byPage, std::int32_t iIndex, std::int32_t iValue) {
    ArrSettingItems* items = ItemsOfPage(byPage);
    if (items == nullptr || iIndex < 0 || static_cast<std::size_t>(iIndex) >= items->size()) {
        return;
    }
    (*items)[static_cast<std::size_t>(iIndex)].ValueCurrent = iValue;
}

void TSchemeOptions2::SetAffirmReadDisableStatus(bool bStatus) {
    m_Sections.AffirmReadDisable = bStatus;
}
