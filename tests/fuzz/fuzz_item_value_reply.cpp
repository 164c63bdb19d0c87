// The value read of one item (the item dialog's read and its read-back after a set): the printer's reply
// through the worker, the frame-head search and the reply entry of the item, one item of each value width.
//
//   offset  size  content
//   0       1     piece size of the device's reads (0 counts as 1)
//   1       1     the item's index in the base page (0 to 2 name an item)
//   2       rest  the reply

#include <cstddef>
#include <cstdint>
#include <memory>

#include "Scheme.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr wchar_t kMenuFile[] = L"C:\\Users\\tester\\AppData\\Local\\Temp\\Varintex Printer\\WJ.DAT";
    static constexpr char kMenu[] =
        "[BaseSection]\r\nItemCount=3\r\n"
        "[BaseItem01]\r\nGetInstruction=61\r\nParameterCount=1\r\nRuleType=ENUM\r\nRule.CN=0=A,1=B\r\n"
        "[BaseItem02]\r\nGetInstruction=62\r\nParameterCount=2\r\nRuleType=ENUM\r\nRule.CN=-5=A,300=B\r\n"
        "[BaseItem03]\r\nGetInstruction=63\r\nParameterCount=3\r\nRuleType=ENUM\r\nRule.CN=1=A,2=B\r\n";
    static constexpr std::size_t kHead = 2;
    if (size < kHead) {
        return 0;
    }
    FuzzSim fuzz;
    fuzz.PlugReplyingPrinter({platform::Bytes(data + kHead, data + size)}, data[0]);
    fuzz.PutFile(kMenuFile, platform::Bytes(kMenu, kMenu + sizeof kMenu - 1));
    g_SchemeOptions = std::make_unique<TSchemeOptions2>();
    g_SchemeOptions->LoadPrinterMenu(kMenuFile);
    InstallSchemeOptionsForWorker();
    g_byPage = pgBase;
    g_iItem = data[1];
    std::int32_t value = 0;
    g_SchemeOptions->GetItemValueFromUSBPrinter(0, value);
    return 0;
}
