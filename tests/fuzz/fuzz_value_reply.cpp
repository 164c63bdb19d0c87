// The value reply and page reply decoders: one reply entry at every offset and with every item width, and a
// whole page reply against the shipped sample model's menu.
//
//   offset  size  content
//   0       1     page code
//   1       rest  the reply, from its frame head

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "Scheme.h"
#include "ValueEncoding.h"
#include "fuzz_support.h"

namespace {

TSchemeOptions2 LoadSampleMenu(FuzzSim& fuzz) {
    static constexpr wchar_t kMenuFile[] = L"C:\\Users\\tester\\AppData\\Local\\Temp\\Varintex Printer\\WJ.DAT";
    fuzz.PutFile(kMenuFile, SampleFileBytes("WJ-610_Menu.Dat"));
    TSchemeOptions2 model;
    model.LoadPrinterMenu(kMenuFile);
    return model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Loaded once: the decoder changes nothing but the items' current values.
    static FuzzSim fuzz;
    static TSchemeOptions2 model = LoadSampleMenu(fuzz);
    if (size < 1) {
        return 0;
    }
    const std::uint8_t* reply = data + 1;
    const std::size_t length = std::min(size - 1, kPageReplySize);
    for (std::size_t at = 0; at < length; ++at) {
        for (std::uint32_t width = 0; width <= ptMask; ++width) {
            DecodeReplyEntry(reply + at, length - at, width);
        }
    }
    std::array<std::uint8_t, kPageReplySize> page{};
    std::copy_n(reply, length, page.begin());
    model.SetAllCurrentValues_ForPage(page, static_cast<std::int32_t>(length), data[0]);
    return 0;
}
