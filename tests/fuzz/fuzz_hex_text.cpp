// Hex command text to bytes, in every mode: the menu's instruction texts reach the wire through it, and the
// worker packs its command text with it (bad pairs as zero bytes, the text's own characters).

#include <cstddef>
#include <cstdint>
#include <string>

#include "ThreadRWPrinter.h"
#include "UtilPrinter.h"
#include "fuzz_support.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzSim fuzz;
    const std::wstring text = platform::Utf16LeToWide(data, size);
    for (const BadHexPair bad : {BadHexPair::Dropped, BadHexPair::ZeroByte}) {
        for (const HexPairSource source : {HexPairSource::SystemCodePage, HexPairSource::Characters}) {
            HexTextToBytes(text, bad, source);
        }
    }
    TRWPrinter worker;
    worker.SetParameters(0, text, true, 3500, 0, false, 30, 1024);
    return 0;
}
