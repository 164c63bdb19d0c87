// The USB printer list: each device's IEEE 1284 id (manufacturer and model) and the serial number in its
// device path, as the port library and the class driver report them.
//
//   offset  size  content
//   0       n     the device path, up to the first zero byte
//   n + 1   rest  the device id

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PubLib/USBPrinterPort.h"
#include "UtilPrinter.h"
#include "fuzz_support.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* const end = data + size;
    const std::uint8_t* const split = std::find(data, end, 0);
    const std::string devicePath(data, split);
    const std::string deviceId(split == end ? end : split + 1, end);

    FuzzSim fuzz;
    fuzz.sim.usbBus().Plug(std::make_shared<ReplyingDevice>(devicePath, deviceId, std::deque<platform::Bytes>{}, 1));
    fuzz.sim.portLibrary().USBPrintRefresh();

    std::vector<std::wstring> names;
    std::vector<std::wstring> files;
    EnumUSBPrinters(names, files, L"  ");
    TUSBPrinterPort port(true);
    std::vector<std::wstring> infos;
    port.GetActiveUSBPrinters(infos, false);

    const std::wstring id = platform::Utf16LeToWide(data, size);
    std::wstring value;
    for (const wchar_t* key : {L"MFG:", L"MDL:", L"CMD:", L""}) {
        GetDeviceIdValue(id, key, value);
    }
    return 0;
}
