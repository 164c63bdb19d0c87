// The stand-in QVP_RW.dll through the program's own binding (the win32 port library): the seven operations
// found by name, the printer's state shared through its state file, every received byte in its log.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/port_library.h"
#include "platform/text.h"
#include "platform/usb_printer.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "vprinter/virtual_printer.h"

namespace {

using platform::Bytes;

constexpr std::uint8_t kItem = 0x22;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

Bytes Frame(std::initializer_list<std::uint8_t> body) {
    return Cat({Bytes{0x1B, 0x1D, 0x1E}, Bytes(body), Bytes{0x1B, 0x1D, 0x1F}});
}

class StandInTest : public ::testing::Test {
protected:
    StandInTest() {
        folder_ = platform::WideToUtf8(platform::files().TempFolder());
        state_ = folder_ + "standin-state.txt";
        log_ = folder_ + "standin-log.bin";
        ::DeleteFileA(state_.c_str());
        ::DeleteFileA(log_.c_str());
        // The printer the runs share: one item, set to 0.
        vprinter::VirtualPrinter printer(vprinter::makeIdentity("VP-1", "VP0001", 1));
        printer.defineItem(kItem, 1, 0);
        EXPECT_TRUE(printer.saveState(state_));
        ::SetEnvironmentVariableA("QVP_RW_STATE", state_.c_str());
        ::SetEnvironmentVariableA("QVP_RW_LOG", log_.c_str());
    }

    platform::win32::Win32Platform win32_;
    std::string folder_;
    std::string state_;
    std::string log_;
};

TEST_F(StandInTest, ListsOnePrinterAndTalksToIt) {
    auto& library = platform::portLibrary();
    ASSERT_EQ(library.USBPrintRefresh(), 1);
    char path[1024] = {};
    std::uint32_t length = sizeof path;
    EXPECT_NE(library.GetUSBPrintFileName(0, path, length), 0);
    EXPECT_EQ(std::string(path).rfind("\\\\?\\usb#", 0), 0u) << path;
    char port[1024] = {};
    char id[1024] = {};
    EXPECT_NE(library.GetUSBHWID(0, port, sizeof port, id, sizeof id), 0);
    EXPECT_STREQ(port, "USB001");
    EXPECT_NE(std::strstr(id, "MDL:VP-1;"), nullptr) << id;
    EXPECT_EQ(library.OpenPrinterUSBPort(2), platform::kInvalidFileHandle);

    const platform::FileHandle h = library.OpenPrinterUSBPort(1);
    ASSERT_TRUE(platform::IsValidFileHandle(h));
    const Bytes set = Cat({Frame({0x05, 0x01}), Frame({0x04, kItem, 0x05}), Frame({0x05, 0x02})});
    EXPECT_EQ(library.WritePort(h, set.data(), static_cast<std::int32_t>(set.size()), 2000),
              static_cast<std::int32_t>(set.size()));
    const Bytes read = Frame({0x05, 0x03, 0x01, kItem});
    EXPECT_EQ(library.WritePort(h, read.data(), static_cast<std::int32_t>(read.size()), 2000),
              static_cast<std::int32_t>(read.size()));
    std::uint8_t reply[64] = {};
    const std::int32_t n = library.ReadPort(h, reply, sizeof reply, 1000);
    EXPECT_EQ(Bytes(reply, reply + std::max(n, 0)), Frame({0x05, 0x03, 0x00, kItem, 0x01, 0x05}));

    // Nothing more to read: a time-out, told by the thread's last-error value.
    platform::usbDriver().SetLastError(0);
    EXPECT_EQ(library.ReadPort(h, reply, sizeof reply, 20), 0);
    EXPECT_EQ(platform::usbDriver().GetLastError(), platform::kErrorTimeout);
    library.CloseUSBPort(h);

    // The next run sees the value that this one set; the log holds every byte the printer received.
    vprinter::VirtualPrinter next(vprinter::makeIdentity("VP-1", "VP0001", 1));
    ASSERT_TRUE(next.loadState(state_));
    EXPECT_EQ(next.itemValue(kItem), 5);
    EXPECT_EQ(platform::files().ReadWholeFile(platform::Utf8ToWide(log_)), Cat({set, read}));
}

}  // namespace
