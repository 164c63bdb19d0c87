// The model settings file's global section and base page header, through the sim's profile functions (UTF-16LE
// with byte-order mark, or 8-bit).

#include <cstddef>
#include <cstdint>

#include "Scheme.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr wchar_t kSchemeFile[] = L"C:\\Windows\\System32\\spool\\drivers\\W32X86\\3\\WQ-472_Settings.Dat";
    FuzzSim fuzz;
    fuzz.PutFile(kSchemeFile, platform::Bytes(data, data + size));
    TSchemeOptions2 model;
    model.LoadFromFile(kSchemeFile);
    return 0;
}
