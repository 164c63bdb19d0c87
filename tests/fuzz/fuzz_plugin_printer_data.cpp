// The plug-in's reading of a printer's stored values (its printer data, else the model settings file) and the
// conversion of its private DEVMODE part, both of which come from the driver or another program.
//
//   offset  size  content
//   0       20    the input private part
//   20      20    the output private part as the driver hands it over
//   40      1     n, the length of the printer data
//   41      n     the printer data "XMove"
//   41 + n  rest  the model settings file

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "option_items.h"
#include "private_devmode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr wchar_t kPrinter[] = L"Office VP-1";
    static constexpr wchar_t kSettingsFile[] = L"C:\\Drivers\\x64\\3\\VP-1 Series_Settings.Dat";
    static constexpr std::size_t kParts = 2 * sizeof(tavrel::PrivateDevMode);
    if (size < kParts + 1) {
        return 0;
    }
    tavrel::PrivateDevMode in{};
    tavrel::PrivateDevMode out{};
    std::memcpy(&in, data, sizeof in);
    std::memcpy(&out, data + sizeof in, sizeof out);
    tavrel::ConvertPrivateDevMode(&in, &out);
    tavrel::ValidatePrivateDevMode(in);

    const std::uint8_t* rest = data + kParts + 1;
    const std::size_t dataLength = std::min<std::size_t>(data[kParts], size - kParts - 1);
    FuzzSim fuzz;
    fuzz.sim.spooler().AddPrinter(kPrinter, L"Maker VP-1 Series", L"USB001");
    fuzz.sim.spooler().PutPrinterData(kPrinter, L"XMove", {3, platform::Bytes(rest, rest + dataLength)});
    fuzz.PutFile(kSettingsFile, platform::Bytes(rest + dataLength, data + size));
    tavrel::GetOptionItemSwitches(kPrinter);
    const platform::PrinterHandle printer = fuzz.sim.spooler().OpenPrinter(kPrinter);
    std::int32_t value = 0;
    for (const wchar_t* name : {L"XMove", L"YMove", L"CompressRate"}) {
        tavrel::ReadPrinterDataValue(name, value, true, printer);
    }
    fuzz.sim.spooler().ClosePrinter(printer);
    return 0;
}
