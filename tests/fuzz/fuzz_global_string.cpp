// The localisation table: the embedded table's bytes, read through the profile functions in each of the four
// languages (the first byte picks the system language).

#include <array>
#include <cstddef>
#include <cstdint>

#include "GlobalString.h"
#include "fuzz_support.h"
#include "platform/resources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // Simplified Chinese, Traditional Chinese, English, Japanese.
    static constexpr std::array<std::uint16_t, 4> kLanguages = {0x0804, 0x0404, 0x0409, 0x0411};
    FuzzSim fuzz;
    fuzz.sim.locale().SetSystemDefaultLangId(kLanguages[data[0] % kLanguages.size()]);
    fuzz.sim.resources().Add(L"RESSTRING", platform::ResourceType::RCData, platform::Bytes(data + 1, data + size));
    LoadGlobalStrings(L"RESSTRING");
    for (const TGlobalStringKey& key : GlobalStringKeys()) {
        UnescapeLineBreaks(g_GlobalString.*key.Field);
    }
    return 0;
}
