#pragma once
// The option items that the plug-in adds to the driver's printer properties (compression rate, horizontal
// and vertical move), kept as printer data, and the one compression item of the document properties, kept
// in the private DEVMODE part.

#include <cstdint>
#include <string>

#include "driver_kit.h"
#include "platform/heap.h"
#include "platform/spooler.h"

namespace tavrel {

// dwMode OEMCUIP_DOCPROP: the document item, then E_FAIL; OEMCUIP_PRNPROP: the printer items, then S_OK;
// anything else: E_FAIL with ERROR_INVALID_PARAMETER.
driverkit::HRESULT OemCommonUIProp(driverkit::DWORD dwMode, driverkit::OEMCUIPPARAM* pOemCUIPParam);

// Counting call (no pOEMOptItems): how many items; filling call: the items and their callback.
void BuildPrinterPropItems(driverkit::OEMCUIPPARAM* pOemCUIPParam);
driverkit::LONG PrinterPropCallback(driverkit::CPSUICBPARAM* pCallbackParam, driverkit::OEMCUIPPARAM* pOemCUIPParam);
void BuildDocumentPropItems(driverkit::OEMCUIPPARAM* pOemCUIPParam);
driverkit::LONG DocumentPropCallback(driverkit::CPSUICBPARAM* pCallbackParam, driverkit::OEMCUIPPARAM* pOemCUIPParam);

// Which items the model settings file of the printer offers.
struct OptionItemSwitches {
    int method = 0;  // GraphicProcessMethod
    bool bCompress = false;
    bool bXMove = false;
    bool bYMove = false;
};
OptionItemSwitches GetOptionItemSwitches(const std::wstring& printerName);

// A printer's stored value: its printer data when useData and the data is there and fits the 100-character
// buffer, else the model settings file's starting value. False, value untouched, when the text found is
// empty or its number does not fit in 32 bits.
bool ReadPrinterDataValue(const std::wstring& name, std::int32_t& value, bool useData, platform::PrinterHandle printer);

// Heap blocks for the items. Each returns null when the heap refuses.
wchar_t* LoadItemName(platform::HeapHandle heap, driverkit::HANDLE module, std::uint32_t id);
driverkit::OPTTYPE* CreateUpDownType(platform::HeapHandle heap, driverkit::WORD count);
void InitOptionItems(driverkit::OPTITEM* items, driverkit::DWORD count);

}  // namespace tavrel
