// The sim's port library and class driver: the behaviour the link relies on and that the real ones share.

#include <gmock/gmock.h>

#include <thread>

#include "link_fixture.h"
#include "platform/port_library.h"
#include "platform/usb_printer.h"

namespace {

class UsbBusSimTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        printer = &usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
        printer->defineItem(0x24, 1, 3);
    }

    platform::FileHandle OpenAndAsk() {
        auto& lib = sim.portLibrary();
        const platform::FileHandle h = lib.OpenPrinterUSBPort(1);
        const platform::Bytes command = Hex("1B 1D 1E 05 03 01 24 1B 1D 1F");
        EXPECT_EQ(lib.WritePort(h, command.data(), static_cast<std::int32_t>(command.size()), 2000), 10);
        return h;
    }

    vprinter::VirtualPrinter* printer = nullptr;
};

TEST_F(UsbBusSimTest, ReadPortWaitsForTheReplyOrTimesOut) {
    struct Case {
        const char* name;
        std::uint32_t replyDelay;
        std::int32_t timeOut;
        std::int32_t count;
        std::uint32_t lastError;
        std::uint64_t elapsed;
    };
    const Case cases[] = {
        {"reply already there", 0, 3500, 12, 77, 0},
        {"reply within the time-out", 700, 3500, 12, 77, 700},
        {"reply after the time-out", 4000, 3500, 0, platform::kErrorTimeout, 3500},
    };
    auto& lib = sim.portLibrary();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->discardPendingReplies();
        printer->faults().replyDelayMs = c.replyDelay;
        const platform::FileHandle h = OpenAndAsk();
        sim.usbDriver().SetLastError(77);  // a successful read leaves it alone
        std::vector<std::uint8_t> buffer(1024);
        const std::uint64_t start = Now();
        EXPECT_EQ(lib.ReadPort(h, buffer.data(), 1024, c.timeOut), c.count);
        EXPECT_EQ(Now() - start, c.elapsed);
        EXPECT_EQ(sim.usbDriver().GetLastError(), c.lastError);
        lib.CloseUSBPort(h);
    }
}

TEST_F(UsbBusSimTest, LastErrorBelongsToTheCallingThread) {
    sim.usbDriver().SetLastError(1460);
    std::uint32_t seen = 99;
    std::thread other([&] {
        seen = sim.usbDriver().GetLastError();
        sim.usbDriver().SetLastError(5);
    });
    other.join();
    EXPECT_EQ(seen, 0u);
    EXPECT_EQ(sim.usbDriver().GetLastError(), 1460u);
}

TEST_F(UsbBusSimTest, LibraryHandlesAreSystemFileHandles) {
    const platform::FileHandle h = OpenAndAsk();
    EXPECT_TRUE(sim.usbDriver().CancelIo(h));
    std::vector<std::uint8_t> buffer(64);
    // A cancel ends transfers only; the queued reply is still there to read.
    EXPECT_EQ(sim.portLibrary().ReadPort(h, buffer.data(), 64, 10), 12);
    EXPECT_TRUE(sim.usbDriver().CloseHandle(h));
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
    EXPECT_FALSE(sim.usbDriver().CloseHandle(h));
    EXPECT_EQ(sim.usbDriver().GetLastError(), platform::kErrorInvalidHandle);
    EXPECT_EQ(sim.portLibrary().WritePort(h, buffer.data(), 1, 2000), -2);
}

TEST_F(UsbBusSimTest, PortsAddressTheListingOfTheLastRefresh) {
    auto& lib = sim.portLibrary();
    EXPECT_EQ(lib.USBPrintRefresh(), 1);
    usb.Plug(vprinter::makeIdentity("WJ-610", "SN0002", 2));
    EXPECT_EQ(lib.OpenPrinterUSBPort(2), platform::kInvalidFileHandle) << "not listed yet";
    EXPECT_EQ(lib.USBPrintRefresh(), 2);
    const platform::FileHandle h = lib.OpenPrinterUSBPort(2);
    EXPECT_TRUE(platform::IsValidFileHandle(h));
    lib.CloseUSBPort(h);
    EXPECT_EQ(lib.OpenPrinterUSBPort(0), platform::kInvalidFileHandle);
}

TEST_F(UsbBusSimTest, BoundOperationsStayBoundWhileUnboundOnesRetryTheModule) {
    auto& lib = sim.portLibrary();
    EXPECT_EQ(lib.USBPrintRefresh(), 1);
    lib.SetModuleMissing(true);
    EXPECT_EQ(lib.USBPrintRefresh(), 1) << "the module is loaded already";
    lib.SetOperationMissing("CloseUSBPort", true);
    const platform::FileHandle h = lib.OpenPrinterUSBPort(1);
    EXPECT_THROW(lib.CloseUSBPort(h), platform::ExternalException);
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 1u);
    lib.SetOperationMissing("CloseUSBPort", false);
    lib.CloseUSBPort(h);
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
}

TEST_F(UsbBusSimTest, StatusRequestNeedsRoomForTheByte) {
    const std::wstring path = L"\\\\?\\USB#VID_5A4B&PID_0472#SN0001#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}";
    auto& driver = sim.usbDriver();
    const platform::FileHandle h = driver.OpenDevice(path, false);
    ASSERT_TRUE(platform::IsValidFileHandle(h)) << "device paths open without regard to case";
    std::uint8_t status = 0;
    std::uint32_t returned = 9;
    EXPECT_FALSE(driver.DeviceIoControl(h, platform::kIoctlUsbprintGetLptStatus, &status, 0, returned));
    EXPECT_EQ(driver.GetLastError(), platform::kErrorInsufficientBuffer);
    EXPECT_FALSE(driver.DeviceIoControl(h, 0x220034, &status, 1, returned));
    EXPECT_EQ(driver.GetLastError(), platform::kErrorInvalidFunction);
    EXPECT_TRUE(driver.DeviceIoControl(h, platform::kIoctlUsbprintGetLptStatus, &status, 1, returned));
    EXPECT_EQ(returned, 1u);
    EXPECT_EQ(status, 0x18);
    driver.CloseHandle(h);
}

}  // namespace
