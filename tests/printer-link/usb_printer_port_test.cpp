// The USB printer port class against virtual printers through the sim class driver.

#include "PubLib/USBPrinterPort.h"

#include <gmock/gmock.h>

#include "link_fixture.h"
#include "platform/usb_printer.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::wstring kNoPrinter = L"没有找到打印机，请确认打印机已正常开机并连接好USB线！";

class UsbPrinterPortTest : public LinkTest {
protected:
    std::vector<platform::sim::SimUsbCall> DriverCalls(const std::string& operation) {
        std::vector<platform::sim::SimUsbCall> out;
        for (const auto& call : sim.usbDriver().Calls()) {
            if (call.operation == operation) {
                out.push_back(call);
            }
        }
        return out;
    }
    std::uint32_t LastError() { return sim.usbDriver().GetLastError(); }
};

TEST_F(UsbPrinterPortTest, ListsEveryDeviceWithPortMakerModelAndSerial) {
    struct Case {
        const char* name;
        std::string deviceId;
        std::wstring entry;
    };
    const Case cases[] = {
        {"maker and model", "MFG:Maker;MDL:Model 1;", L"USB001:  MakerModel 1   <SN0001>"},
        {"model not closed by ;", "MFG:Maker;MDL:Model 1", L"USB001:  MakerModel 1   <SN0001>"},
        {"no model still listed", "MFG:Maker;CMD:ESC;", L"USB001:  Maker   <SN0001>"},
        {"nothing known", "", L"USB001:     <SN0001>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vprinter::VirtualPrinter& printer = usb.Plug(IdentityWithId(c.deviceId, "SN0001", 1));
        TUSBPrinterPort port(true);
        std::vector<std::wstring> infos{L"old"};
        port.GetActiveUSBPrinters(infos, false);
        EXPECT_THAT(infos, ElementsAre(c.entry));
        sim.usbBus().Unplug(usb.DeviceOf(printer));
    }
}

TEST_F(UsbPrinterPortTest, ListingIsTakenAgainOnlyWhenAskedFor) {
    usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
    TUSBPrinterPort unlisted(false);
    std::vector<std::wstring> infos;
    unlisted.GetActiveUSBPrinters(infos, false);
    EXPECT_THAT(infos, IsEmpty());
    EXPECT_THAT(sim.portLibrary().Calls(), IsEmpty());

    usb.Plug(vprinter::makeIdentity("WJ-610", "SN0002", 2));
    unlisted.GetActiveUSBPrinters(infos, true);
    EXPECT_THAT(infos, ElementsAre(L"USB001:  VarintexWQ-472   <SN0001>", L"USB002:  VarintexWJ-610   <SN0002>"));
}

TEST_F(UsbPrinterPortTest, StatusByteByPortName) {
    vprinter::VirtualPrinter& ready = usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
    vprinter::VirtualPrinter& busy = usb.Plug(vprinter::makeIdentity("WJ-610", "SN0002", 2));
    vprinter::VirtualPrinter& gone = usb.Plug(vprinter::makeIdentity("WJ-610", "SN0003", 3));
    vprinter::Identity lettered = vprinter::makeIdentity("WJ-610", "SN0004", 4);
    lettered.portName = "USBPRN";
    usb.Plug(lettered);
    busy.faults().statusByte = 0x1F;
    gone.faults().unplugged = true;
    (void)ready;
    TUSBPrinterPort port(true);
    struct Case {
        const char* name;
        std::wstring port;
        bool ok;
        std::uint8_t status;
        bool opens;
    };
    const Case cases[] = {
        {"ready printer", L"USB001", true, 0x18, true},
        {"busy printer", L"USB002", true, 0x1F, true},
        {"entry matched ignoring case", L"USBprn", true, 0x18, true},
        {"no such entry", L"USB001x", false, 0x00, false},
        {"USB must be upper case", L"usb001", false, 0x00, false},
        {"not a USB port", L"LPT1", false, 0x00, false},
        {"not listed", L"USB009", false, 0x00, false},
        {"device cannot be opened", L"USB003", false, 0x00, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.usbDriver().ClearCalls();
        std::uint8_t status = 0;
        EXPECT_EQ(port.GetPrinterStatusByte(c.port, status), c.ok);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(DriverCalls("OpenDevice").size(), c.opens ? 1u : 0u);
        if (c.opens) {
            EXPECT_EQ(DriverCalls("OpenDevice")[0].args[0], 0) << "opened without overlapped I/O";
        }
    }
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
}

TEST_F(UsbPrinterPortTest, StatusByteByIndex) {
    usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
    TUSBPrinterPort port(true);
    std::uint8_t status = 0;
    EXPECT_TRUE(port.GetPrinterStatusByte(0, status));
    EXPECT_EQ(status, 0x18);
    EXPECT_FALSE(port.GetPrinterStatusByte(-1, status));
    EXPECT_THROW(port.GetPrinterStatusByte(1, status), platform::Exception) << "the list's index error";
}

TEST_F(UsbPrinterPortTest, WriteDataGoesOutInPiecesWithPauses) {
    vprinter::VirtualPrinter& printer = usb.Plug(vprinter::makeIdentity("WJ-610", "SN0001", 1));
    TUSBPrinterPort port(true);
    const std::vector<std::uint8_t> job(10000, 0x20);
    const std::uint64_t start = Now();

    EXPECT_EQ(port.WriteData(0, job.data(), static_cast<std::uint32_t>(job.size())), 10000);

    std::vector<std::size_t> sizes;
    for (const auto& write : printer.writes()) {
        sizes.push_back(write.size());
    }
    EXPECT_THAT(sizes, ElementsAre(4096u, 4096u, 1808u));
    std::vector<std::uint64_t> times;
    for (const auto& call : DriverCalls("WriteFile")) {
        times.push_back(call.atMs - start);
    }
    EXPECT_THAT(times, ElementsAre(0u, 10u, 20u));
    EXPECT_EQ(Now() - start, 30u) << "a pause after the last piece too";
    EXPECT_EQ(DriverCalls("OpenDevice").at(0).args[0], 1) << "opened for overlapped I/O";
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
}

TEST_F(UsbPrinterPortTest, StalledPieceStopsTheWriteAfterTheWaitTime) {
    vprinter::VirtualPrinter& printer = usb.Plug(vprinter::makeIdentity("WJ-610", "SN0001", 1));
    printer.faults().shortWrite = 100;
    TUSBPrinterPort port(true);
    const std::vector<std::uint8_t> job(10000, 0x20);
    const std::uint64_t start = Now();

    EXPECT_EQ(port.WriteData(0, job.data(), static_cast<std::uint32_t>(job.size())), 100);
    EXPECT_EQ(LastError(), platform::kErrorTimeout);
    EXPECT_EQ(DriverCalls("WriteFile").size(), 1u);
    EXPECT_EQ(DriverCalls("CancelIo").size(), 1u);
    EXPECT_EQ(Now() - start, 5000u) << "no pause after the piece that stopped the write";
}

TEST_F(UsbPrinterPortTest, TransfersWithoutAPrinter) {
    vprinter::VirtualPrinter& printer = usb.Plug(vprinter::makeIdentity("WJ-610", "SN0001", 1));
    TUSBPrinterPort port(true);
    std::vector<std::uint8_t> buffer(16);
    std::uint32_t n = 16;

    EXPECT_EQ(port.WriteData(-1, buffer.data(), n), 0);
    port.ReadData(-1, buffer.data(), n);
    EXPECT_EQ(n, 16u) << "left unchanged";
    EXPECT_THAT(sim.usbDriver().Calls(), IsEmpty());

    printer.faults().unplugged = true;
    try {
        port.WriteData(0, buffer.data(), n);
        FAIL() << "no exception";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), kNoPrinter);
    }
    EXPECT_THROW(port.ReadData(0, buffer.data(), n), platform::Exception);
    EXPECT_THROW(port.WriteAndRead(0, buffer.data(), n, 16), platform::Exception);
    EXPECT_THROW(port.WriteData(1, buffer.data(), n), platform::Exception) << "index past the list";
}

TEST_F(UsbPrinterPortTest, OverlappedReadGivesUpAfterTheWaitTime) {
    usb.Plug(vprinter::makeIdentity("WJ-610", "SN0001", 1));
    TUSBPrinterPort port(true);
    std::vector<std::uint8_t> buffer(512);
    std::uint32_t n = 512;
    const std::uint64_t start = Now();

    port.ReadData(0, buffer.data(), n);

    EXPECT_EQ(n, 0u);
    EXPECT_EQ(LastError(), platform::kErrorTimeout);
    EXPECT_EQ(Now() - start, 5000u);
    EXPECT_EQ(DriverCalls("CancelIo").size(), 1u);
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
}

TEST_F(UsbPrinterPortTest, WriteAndReadFetchesTheReply) {
    vprinter::VirtualPrinter& printer = usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
    printer.defineItem(0x24, 1, 3);
    TUSBPrinterPort port(true);
    struct Case {
        const char* name;
        std::uint32_t replyDelay;
    };
    const Case cases[] = {
        {"reply there at once", 0},
        {"reply after 200 ms: the read goes pending", 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer.faults().replyDelayMs = c.replyDelay;
        std::vector<std::uint8_t> buffer = Hex("1B 1D 1E 05 03 01 24 1B 1D 1F");
        buffer.resize(512);
        std::uint32_t n = 10;
        const std::uint64_t start = Now();

        port.WriteAndRead(0, buffer.data(), n, 512);

        ASSERT_EQ(n, 12u);
        buffer.resize(n);
        EXPECT_EQ(buffer, Hex("1B 1D 1E 05 03 00 24 01 03 1B 1D 1F"));
        EXPECT_EQ(LastError(), platform::kErrorSuccess);
        // The write's one piece and its pause, then the read as soon as the reply is there.
        EXPECT_EQ(Now() - start, std::max<std::uint64_t>(10u, c.replyDelay));
    }
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
}

}  // namespace
