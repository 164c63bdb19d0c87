#include "option_items.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "model_settings_file.h"
#include "platform/ini_file.h"
#include "platform/locale.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/thread_state.h"
#include "plugin_strings.h"
#include "private_devmode.h"
#include "thread_printer_items.h"

namespace tavrel {

namespace {

namespace dk = driverkit;

constexpr wchar_t kSettings[] = L"Settings";
constexpr wchar_t kImageProcess[] = L"ImageProcess";
// A method 1 key that reads as this integer counts as absent.
constexpr std::int32_t kAbsentKey = 1024;
constexpr std::size_t kValueChars = 100;  // INI value texts, terminator included
constexpr std::size_t kDataBytes = 200;   // the printer data read buffer

// One kind of option item: its name text, its printer data names for methods 0 and 1, its range, and what a
// value outside the range becomes.
struct ItemKind {
    std::uint32_t nameId;
    const wchar_t* dataName[2];
    std::int32_t lowest;
    std::int32_t highest;
    std::int32_t outside;
};
constexpr ItemKind kCompress{IDS_COMPRESS_RATE, {L"COMPRESS_VALUE", L"CompressRate"}, 25, 100, 100};
constexpr ItemKind kXMove{IDS_X_MOVE, {L"XMove", L"MoveX"}, -50, 50, 0};
constexpr ItemKind kYMove{IDS_Y_MOVE, {L"MoveY", L"MoveY"}, -100, 100, 0};  // method 1 only

const wchar_t* DataName(const ItemKind& kind, int method) {
    return kind.dataName[method == 1 ? 1 : 0];
}

const wchar_t* SectionOf(int method) {
    return method == 1 ? kImageProcess : kSettings;
}

int MethodOf(const platform::IniFile& file) {
    return file.ReadInteger(kSettings, L"GraphicProcessMethod", 0);
}

// The offered items in their fixed order.
std::vector<const ItemKind*> OfferedItems(const OptionItemSwitches& switches) {
    std::vector<const ItemKind*> kinds;
    if (switches.bCompress) {
        kinds.push_back(&kCompress);
    }
    if (switches.bXMove) {
        kinds.push_back(&kXMove);
    }
    if (switches.bYMove && switches.method == 1) {
        kinds.push_back(&kYMove);
    }
    return kinds;
}

std::wstring PrinterNameOf(const dk::OEMCUIPPARAM& param) {
    return param.pPrinterName ? std::wstring(param.pPrinterName) : std::wstring();
}

platform::PrinterHandle PrinterOf(const dk::OEMCUIPPARAM& param) {
    return reinterpret_cast<platform::PrinterHandle>(param.hPrinter);
}

platform::HeapHandle HeapOf(const dk::OEMCUIPPARAM& param) {
    return reinterpret_cast<platform::HeapHandle>(param.hOEMHeap);
}

// The leading decimal integer of a text, as the C runtime reads one: blanks, a sign, digits; 0 without
// digits. A number that does not fit in 32 bits is no value.
std::optional<std::int32_t> LeadingInteger(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// REG_SZ in decimal, without a terminator.
void WritePrinterDataValue(platform::PrinterHandle printer, const wchar_t* name, dk::LONG value) {
    platform::PrinterDataValue data;
    data.type = platform::kRegSz;
    data.data = platform::WideToUtf16Le(platform::IntToStr(value));
    platform::spooler().SetPrinterData(printer, name, data);  // a failed write leaves the sheet as it is
}

void FillItem(dk::OPTITEM& item, const dk::OEMCUIPPARAM& param, const ItemKind& kind, dk::LONG value) {
    item.Level = 1;
    item.Flags = dk::OPTIF_COLLAPSE;
    item.pName = LoadItemName(HeapOf(param), param.hModule, kind.nameId);
    item.Sel = value;
    item.pOptType = CreateUpDownType(HeapOf(param), 2);
    if (item.pOptType) {
        dk::OPTPARAM& range = item.pOptType->pOptParam[1];
        range.IconID = static_cast<dk::ULONG_PTR>(static_cast<dk::LONG_PTR>(kind.lowest));
        range.lParam = kind.highest;
    }
}

PrivateDevMode* PrivatePartOf(const dk::OEMCUIPPARAM& param) {
    return static_cast<PrivateDevMode*>(param.pOEMDM);
}

// The document item's Sel becomes the private part's rate.
void TakeDocumentRate(const dk::OPTITEM& item, PrivateDevMode& part) {
    if (static_cast<dk::LONG>(part.dwCompressRate) != item.Sel) {
        part.dwCompressRate = static_cast<dk::DWORD>(item.Sel);
    }
}

}  // namespace

driverkit::HRESULT OemCommonUIProp(driverkit::DWORD dwMode, driverkit::OEMCUIPPARAM* pOemCUIPParam) {
    switch (dwMode) {
        case dk::OEMCUIP_DOCPROP:
            BuildDocumentPropItems(pOemCUIPParam);
            return dk::E_FAIL;
        case dk::OEMCUIP_PRNPROP:
            BuildPrinterPropItems(pOemCUIPParam);
            return dk::S_OK;
        default:
            platform::threadState().SetLastError(platform::kErrorInvalidParameter);
            return dk::E_FAIL;
    }
}

OptionItemSwitches GetOptionItemSwitches(const std::wstring& printerName) {
    OptionItemSwitches switches;
    std::wstring path;
    if (!GetModelSettingsFile(printerName, path)) {
        return switches;
    }
    const platform::IniFile file(path);
    switches.method = MethodOf(file);
    if (switches.method == 0) {
        switches.bCompress = file.ReadInteger(kSettings, L"Landscape_Compress", 0) != 0;
        switches.bXMove = file.ReadInteger(kSettings, L"XMoveEnable", 0) != 0;
    } else if (switches.method == 1) {
        auto present = [&](const wchar_t* key) {
            return file.ReadInteger(kImageProcess, key, kAbsentKey) != kAbsentKey;
        };
        switches.bCompress = present(L"CompressRate");
        switches.bXMove = present(L"MoveX");
        switches.bYMove = present(L"MoveY");
    }
    return switches;
}

bool ReadPrinterDataValue(const std::wstring& name,
                          std::int32_t& value,
                          bool useData,
                          platform::PrinterHandle printer) {
    // The data is read over a pre-filled buffer and written without a terminator, so the digits are always
    // followed by the rest of this text, which never begins with a digit.
    platform::Bytes buffer = platform::WideToUtf16Le(L"Value Unknow");
    buffer.resize(kDataBytes, 0);
    std::wstring text;
    const auto data = useData ? platform::spooler().GetPrinterData(printer, name) : std::nullopt;
    if (data && data->data.size() <= kDataBytes) {
        std::copy(data->data.begin(), data->data.end(), buffer.begin());
        text = platform::Utf16LeToWide(buffer.data(), buffer.size());
        text.resize(std::min(text.find(L'\0'), text.size()));
    } else {
        text = L"0";
        if (const auto path = ModelSettingsFileOf(printer)) {
            const platform::IniFile file(*path);
            text = file.ReadString(SectionOf(MethodOf(file)), name, L"0");
            text.resize(std::min(text.size(), kValueChars - 1));
        }
        if (text.empty()) {
            return false;
        }
    }
    const auto number = LeadingInteger(text);
    if (!number) {
        return false;
    }
    value = *number;
    return true;
}

void BuildPrinterPropItems(driverkit::OEMCUIPPARAM* pOemCUIPParam) {
    dk::OEMCUIPPARAM& param = *pOemCUIPParam;
    if (!param.pOEMOptItems) {
        param.cOEMOptItems = static_cast<dk::DWORD>(OfferedItems(GetOptionItemSwitches(PrinterNameOf(param))).size());
        return;
    }
    param.OEMCUIPCallback = PrinterPropCallback;
    InitOptionItems(param.pOEMOptItems, param.cOEMOptItems);
    const OptionItemSwitches switches = GetOptionItemSwitches(PrinterNameOf(param));
    dk::DWORD next = 0;
    // The file may have changed since the counting call: never more items than the driver made room for.
    for (const ItemKind* kind : OfferedItems(switches)) {
        if (next == param.cOEMOptItems) {
            break;
        }
        std::int32_t value = 0;
        ReadPrinterDataValue(DataName(*kind, switches.method), value, true, PrinterOf(param));
        if (value < kind->lowest || value > kind->highest) {
            value = kind->outside;
        }
        FillItem(param.pOEMOptItems[next++], param, *kind, value);
    }
}

driverkit::LONG PrinterPropCallback(driverkit::CPSUICBPARAM* pCallbackParam, driverkit::OEMCUIPPARAM* pOemCUIPParam) {
    if (!pCallbackParam || !pOemCUIPParam || pCallbackParam->Reason != dk::CPSUICB_REASON_APPLYNOW) {
        return dk::CPSUICB_ACTION_NONE;
    }
    const dk::OEMCUIPPARAM& param = *pOemCUIPParam;
    const OptionItemSwitches switches = GetOptionItemSwitches(PrinterNameOf(param));
    dk::DWORD next = 0;
    for (const ItemKind* kind : OfferedItems(switches)) {
        if (!param.pOEMOptItems || next == param.cOEMOptItems) {
            break;
        }
        WritePrinterDataValue(PrinterOf(param), DataName(*kind, switches.method), param.pOEMOptItems[next++].Sel);
    }
    return dk::CPSUICB_ACTION_NONE;
}

void BuildDocumentPropItems(driverkit::OEMCUIPPARAM* pOemCUIPParam) {
    dk::OEMCUIPPARAM& param = *pOemCUIPParam;
    if (!param.pOEMOptItems) {
        param.cOEMOptItems = 1;
        return;
    }
    param.OEMCUIPCallback = DocumentPropCallback;
    InitOptionItems(param.pOEMOptItems, param.cOEMOptItems);
    if (param.cOEMOptItems == 0) {
        return;
    }
    dk::LONG rate = kCompress.outside;
    if (PrivateDevMode* part = PrivatePartOf(param)) {
        if (part->dwCompressRate < static_cast<dk::DWORD>(kCompress.lowest)) {
            part->dwCompressRate = static_cast<dk::DWORD>(kCompress.outside);
        }
        rate = static_cast<dk::LONG>(part->dwCompressRate);
    }
    FillItem(param.pOEMOptItems[0], param, kCompress, rate);
}

driverkit::LONG DocumentPropCallback(driverkit::CPSUICBPARAM* pCallbackParam, driverkit::OEMCUIPPARAM* pOemCUIPParam) {
    if (!pCallbackParam || !pOemCUIPParam || !pOemCUIPParam->pOEMOptItems || pOemCUIPParam->cOEMOptItems == 0 ||
        !PrivatePartOf(*pOemCUIPParam)) {
        return dk::CPSUICB_ACTION_NONE;
    }
    const dk::OEMCUIPPARAM& param = *pOemCUIPParam;
    dk::OPTITEM& item = param.pOEMOptItems[0];
    PrivateDevMode& part = *PrivatePartOf(param);
    switch (pCallbackParam->Reason) {
        case dk::CPSUICB_REASON_SETACTIVE:
            if (static_cast<dk::LONG>(part.dwCompressRate) != item.Sel) {
                if (part.dwCompressRate < static_cast<dk::DWORD>(kCompress.lowest)) {
                    part.dwCompressRate = static_cast<dk::DWORD>(kCompress.outside);
                }
                item.Sel = static_cast<dk::LONG>(part.dwCompressRate);
                item.Flags |= dk::OPTIF_CHANGED;
                return dk::CPSUICB_ACTION_OPTIF_CHANGED;
            }
            break;
        case dk::CPSUICB_REASON_KILLACTIVE:
            TakeDocumentRate(item, part);
            break;
        case dk::CPSUICB_REASON_APPLYNOW: {
            const OptionItemSwitches switches = GetOptionItemSwitches(PrinterNameOf(param));
            if (switches.bCompress) {
                WritePrinterDataValue(PrinterOf(param), DataName(kCompress, switches.method), item.Sel);
            }
            if (!switches.bXMove && !switches.bYMove) {
                TakeDocumentRate(item, part);
            }
            break;
        }
        default:
            break;
    }
    return dk::CPSUICB_ACTION_NONE;
}

wchar_t* LoadItemName(platform::HeapHandle heap, driverkit::HANDLE module, std::uint32_t id) {
    // The texts are the plug-in's own; the module the driver names is this one.
    (void)module;
    auto* block = static_cast<wchar_t*>(platform::heap().Alloc(heap, kNameChars * sizeof(wchar_t)));
    if (!block) {
        return nullptr;
    }
    std::wstring text = PluginString(id, platform::locale().UserDefaultUILanguage()).value_or(std::wstring());
    text.resize(std::min(text.size(), kNameChars - 1));
    std::copy(text.begin(), text.end(), block);
    // A heap that cannot shrink the block leaves it whole, which is just as good.
    if (void* shrunk = platform::heap().ReAlloc(heap, block, (text.size() + 1) * sizeof(wchar_t))) {
        block = static_cast<wchar_t*>(shrunk);
    }
    return block;
}

driverkit::OPTTYPE* CreateUpDownType(platform::HeapHandle heap, driverkit::WORD count) {
    auto* type = static_cast<dk::OPTTYPE*>(platform::heap().Alloc(heap, sizeof(dk::OPTTYPE)));
    auto* params = static_cast<dk::OPTPARAM*>(platform::heap().Alloc(heap, sizeof(dk::OPTPARAM) * count));
    if (!type || !params) {
        if (type) {
            platform::heap().Free(heap, type);
        }
        if (params) {
            platform::heap().Free(heap, params);
        }
        return nullptr;
    }
    type->cbSize = sizeof(dk::OPTTYPE);
    type->Type = dk::TVOT_UDARROW;
    type->Count = count;
    type->pOptParam = params;
    for (dk::WORD i = 0; i < count; ++i) {
        params[i].cbSize = sizeof(dk::OPTPARAM);
    }
    return type;
}

void InitOptionItems(driverkit::OPTITEM* items, driverkit::DWORD count) {
    if (!items) {
        return;
    }
    for (dk::DWORD i = 0; i < count; ++i) {
        std::memset(&items[i], 0, sizeof(dk::OPTITEM));
        items[i].cbSize = sizeof(dk::OPTITEM);
        items[i].DMPubID = dk::DMPUB_NONE;
    }
}

}  // namespace tavrel
