// The settings program's options file and the port list it names (ParseLocalPorts).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Options.h"
#include "UtilPrinter.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr wchar_t kOptionsFile[] = L"C:\\Program Files\\Corventa\\Corventa.ini";
    FuzzSim fuzz;
    fuzz.PutFile(kOptionsFile, platform::Bytes(data, data + size));
    TIniOptions options;
    options.LoadFromFile(kOptionsFile);
    std::vector<std::wstring> names;
    std::vector<std::wstring> files;
    ParseLocalPorts(options.FSettingsLocalPorts, &names, &files);
    PortModeSchemeFile(L"C:\\Program Files\\Corventa\\Corventa.exe", options.FSettingsDefaultScheme);
    return 0;
}
