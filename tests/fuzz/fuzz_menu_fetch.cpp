// The menu fetch end to end: the model reply (its name after the challenge's CRC-32, which is put back into
// every input so that mutations get past the check), the menu reply with its declared length, and the menu
// container unpacked into the menu file.
//
//   offset  size  content
//   0       1     piece size of the device's reads (0 counts as 1)
//   1       1     where the CRC-32 goes into the model reply (modulo its length + 1)
//   2       2     length of the model reply, low first (cut to what the input holds)
//   4       n     the model reply without the CRC-32
//   4 + n   rest  the menu reply

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "CRC32.h"
#include "Scheme.h"
#include "ThreadRWPrinter.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::size_t kHead = 4;
    static constexpr std::uint8_t kChallenge[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    static constexpr wchar_t kPrinter[] = L"Varintex WQ-472";
    if (size < kHead) {
        return 0;
    }
    const std::size_t modelLength = std::min<std::size_t>(data[2] | (data[3] << 8), size - kHead);
    platform::Bytes modelReply(data + kHead, data + kHead + modelLength);
    const std::uint32_t crc = ComputeCRC32(0, kChallenge, sizeof kChallenge);
    const platform::Bytes crcBytes = {static_cast<std::uint8_t>(crc), static_cast<std::uint8_t>(crc >> 8),
                                      static_cast<std::uint8_t>(crc >> 16), static_cast<std::uint8_t>(crc >> 24)};
    modelReply.insert(modelReply.begin() + static_cast<std::ptrdiff_t>(data[1] % (modelLength + 1)), crcBytes.begin(),
                      crcBytes.end());
    const platform::Bytes menuReply(data + kHead + modelLength, data + size);

    FuzzSim fuzz;
    fuzz.PlugReplyingPrinter({modelReply, menuReply}, data[0]);
    fuzz.sim.spooler().AddPrinter(kPrinter, kPrinter, L"USB001");
    const std::wstring folder = fuzz.sim.files().TempFolder() + L"Varintex Printer\\";
    fuzz.sim.files().ForceDirectories(folder);
    g_strPrinterName = kPrinter;
    g_strPrinterPath = folder + kPrinter;
    g_strPrinterIni = g_strPrinterPath + L".ini";
    g_SchemeOptions = std::make_unique<TSchemeOptions2>();
    InstallSchemeOptionsForWorker();
    g_SchemeOptions->GetPrinterMenuResources();
    return 0;
}
