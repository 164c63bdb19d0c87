// The menu definition loader and its rule parser: a menu file (UTF-16LE with byte-order mark, or 8-bit) as the
// printer's menu download or a shipped sample leaves it, then every item's value titles.

#include <cstddef>
#include <cstdint>

#include "Scheme.h"
#include "fuzz_support.h"
#include "platform/types.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr wchar_t kMenuFile[] = L"C:\\Users\\tester\\AppData\\Local\\Temp\\Varintex Printer\\WQ.DAT";
    FuzzSim fuzz;
    fuzz.PutFile(kMenuFile, platform::Bytes(data, data + size));
    TSchemeOptions2 model;
    try {
        model.LoadPrinterMenu(kMenuFile);
    } catch (const platform::Exception&) {
        return 0;  // a refused menu is an outcome, not a fault
    }
    for (int code = 0; code < 256; ++code) {
        const auto page = static_cast<std::uint8_t>(code);
        for (std::int32_t i = 0; i < model.GetItemLength(page); ++i) {
            model.GetTitleFromValue(page, i, 0);
            model.GetTitleFromValue(page, i, -1);
        }
    }
    return 0;
}
