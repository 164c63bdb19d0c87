// The worker's reply collection and GetData with its frame-head search: the input is the printer's reply,
// handed over in pieces of its own choosing through the sim's USB bus and the port library.
//
//   offset  size  content
//   0       1     piece size of the device's reads (0 counts as 1)
//   1       1     bit 0 drain first, bit 1 frame-head search
//   2       2     bytes asked of the printer, low first
//   4       2     GetData's buffer high index, low first
//   6       rest  the reply

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ThreadRWPrinter.h"
#include "fuzz_support.h"
#include "platform/clock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::size_t kHead = 6;
    if (size < kHead) {
        return 0;
    }
    const bool resetFirst = data[1] & 1;
    const bool findPrefix = data[1] & 2;
    const std::uint32_t asked = data[2] | (data[3] << 8);
    const std::int32_t bufferHigh = data[4] | (data[5] << 8);
    FuzzSim fuzz;
    fuzz.PlugReplyingPrinter({platform::Bytes(data + kHead, data + size)}, data[0]);

    TRWPrinter worker;
    worker.SetParameters(0, L"1B 1D 1E 05 03 01 24 1B 1D 1F", true, 3500, 0, resetFirst, 30, asked);
    worker.Start();
    while (!worker.Finished()) {
        fuzz.sim.clock().Sleep(50);
    }
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(bufferHigh) + 1);
    std::int32_t count = 0;
    worker.GetData(buffer.data(), bufferHigh, count, findPrefix);
    return 0;
}
