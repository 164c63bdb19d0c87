// The printer and port utilities against the sim's spooler, file system and a USB bus of virtual printers.

#include "UtilPrinter.h"

#include <gmock/gmock.h>

#include "link_fixture.h"
#include "platform/port_library.h"
#include "platform/text.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class UtilPrinterTest : public LinkTest {};

// ---- hex command text ----------------------------------------------------------------------------------

TEST_F(UtilPrinterTest, HexTextToBytesReadsWholePairsAndDropsBadOnes) {
    struct Case {
        const char* name;
        std::wstring text;
        std::uint32_t codePage;
        std::string expected;
    };
    const Case cases[] = {
        {"frame with blanks", L"1B 1D 1E 05 01 1B 1D 1F", 1252, "1B 1D 1E 05 01 1B 1D 1F"},
        {"lower case", L"1b 1d 1e 05 01 1b 1d 1f", 1252, "1B 1D 1E 05 01 1B 1D 1F"},
        {"no blanks", L"1B1D1E05011B1D1F", 1252, "1B 1D 1E 05 01 1B 1D 1F"},
        {"tab between pairs", L"1B 1D\t1E 05 01 1B 1D 1F", 1252, "1B 1D 1E 05 01 1B 1D 1F"},
        {"blanks inside a pair", L"1 B 1 D", 1252, "1B 1D"},
        {"bad pair dropped, later pairs read", L"1B ZZ 1D", 1252, "1B 1D"},
        {"pair with one bad digit", L"1B 1G 1D", 1252, "1B 1D"},
        {"odd last digit ignored", L"1B 1D 1", 1252, "1B 1D"},
        {"empty", L"", 1252, ""},
        {"wholly invalid", L"ZZ QQ", 1252, ""},
        // A character outside the code page becomes one "?" and shifts the pairs after it.
        {"non-hex character in 1252", L"1B\u4E2D1D", 1252, "1B"},
        // The same character is two bytes in 936: one bad pair, and the pairs after it stay aligned.
        {"non-hex character in 936", L"1B\u4E2D1D", 936, "1B 1D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.codePage().SetSystemCodePage(c.codePage);
        EXPECT_EQ(HexTextToBytes(c.text), Hex(c.expected));
    }
}

TEST_F(UtilPrinterTest, FindBytePatternGivesFirstWholeMatch) {
    struct Case {
        const char* name;
        std::string data;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"exact fit", "1B 1D 1E", 0},
        {"too short", "1B 1D", -1},
        {"empty", "", -1},
        {"after other bytes", "00 1B 00 1B 1D 1E 05", 3},
        {"first of two", "1B 1D 1E 1B 1D 1E", 0},
        {"at the very end", "00 00 1B 1D 1E", 2},
        {"cut at the end", "00 00 1B 1D", -1},
    };
    const platform::Bytes head = Hex("1B 1D 1E");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::Bytes data = Hex(c.data);
        EXPECT_EQ(FindBytePattern(head.data(), data.data(), 3, static_cast<std::int32_t>(data.size())), c.expected);
    }
}

// ---- device ids and the USB printer list ----------------------------------------------------------------

TEST_F(UtilPrinterTest, GetDeviceIdValueLooksWithinFiftyCharacters) {
    const std::wstring fifty(50, L'x');
    const std::wstring fortyNine(49, L'x');
    struct Case {
        const char* name;
        std::wstring deviceId;
        std::wstring key;
        bool found;
        std::wstring value;
    };
    const Case cases[] = {
        {"model", L"MFG:Maker;MDL:Model 1;", L"MDL:", true, L"Model 1"},
        {"maker", L"MFG:Maker;MDL:Model 1;", L"MFG:", true, L"Maker"},
        {"absent key keeps value", L"MFG:Maker;", L"MDL:", false, L"unchanged"},
        {"key is case-sensitive", L"mdl:Model;", L"MDL:", false, L"unchanged"},
        {"not closed by ;", L"MFG:Maker;MDL:Model 1", L"MDL:", true, L""},
        {"49 characters fit", L"MDL:" + fortyNine + L";", L"MDL:", true, fortyNine},
        {"50 characters do not", L"MDL:" + fifty + L";", L"MDL:", true, L""},
        {"key at the end", L"MFG:Maker;MDL:", L"MDL:", true, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring value = L"unchanged";
        EXPECT_EQ(GetDeviceIdValue(c.deviceId, c.key, value), c.found);
        EXPECT_EQ(value, c.value);
    }
}

TEST_F(UtilPrinterTest, EnumUSBPrintersListsOnlyDevicesThatNameTheirModel) {
    const std::string longModel(50, 'L');
    usb.Plug(IdentityWithId("MFG:Maker;MDL:Model 1;", "SN0001", 1));
    usb.Plug(IdentityWithId("MFG:Maker;CMD:ESC;", "SN0002", 2));  // no MDL: not a listed printer
    usb.Plug(IdentityWithId("MDL:" + longModel + ";", "SN0003", 3));
    usb.Plug(IdentityWithId("MDL:Bare;", "SN0004", 4));

    std::vector<std::wstring> names{L"kept"};
    std::vector<std::wstring> files{L"kept"};
    EXPECT_EQ(EnumUSBPrinters(names, files, L"="), 4);
    EXPECT_THAT(names, ElementsAre(L"kept", L"MakerModel 1=USB001", L"=USB003", L"Bare=USB004"));
    EXPECT_THAT(files,
                ElementsAre(L"kept", L"\\\\?\\usb#vid_5a4b&pid_0472#SN0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}",
                            L"\\\\?\\usb#vid_5a4b&pid_0472#SN0003#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}",
                            L"\\\\?\\usb#vid_5a4b&pid_0472#SN0004#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"));
}

TEST_F(UtilPrinterTest, GetUSBPrinterIndexCountsListedPrintersOnly) {
    usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
    usb.Plug(vprinter::makeIdentity("WQ-472", "SN0009", 9, /*withMdl=*/false));
    usb.Plug(vprinter::makeIdentity("WQ-472", "SN0002", 2));
    struct Case {
        const char* name;
        std::wstring port;
        std::int32_t index;
    };
    const Case cases[] = {
        {"first printer", L"USB001", 0},
        // The device without MDL: in front of it does not count, so this printer moves up.
        {"printer behind an unlisted device", L"USB002", 1},
        {"unlisted device", L"USB009", -1},
        {"compared exactly", L"usb002", -1},
        {"no partial match", L"USB00", -1},
        {"unknown port", L"LPT1", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetUSBPrinterIndex(c.port), c.index);
    }
}

TEST_F(UtilPrinterTest, WriteUSBPrinterOpensIndexPlusOneAndClosesTheHandle) {
    usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
    vprinter::VirtualPrinter& second = usb.Plug(vprinter::makeIdentity("WQ-472", "SN0002", 2));
    const platform::Bytes bytes = Hex("1B 1D 1E 05 01 1B 1D 1F");

    const std::int32_t index = GetUSBPrinterIndex(L"USB002");
    ASSERT_EQ(index, 1);
    EXPECT_TRUE(WriteUSBPrinter(bytes, index));

    EXPECT_THAT(second.writes(), ElementsAre(bytes));
    const auto opens = sim.portLibrary().Calls("OpenPrinterUSBPort");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].args[0], 2);
    const auto writes = sim.portLibrary().Calls("WritePort");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].args[2], 2000);
    // Closed with the system's CloseHandle, not with the library's close.
    EXPECT_THAT(sim.portLibrary().Calls("CloseUSBPort"), IsEmpty());
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
}

TEST_F(UtilPrinterTest, WriteUSBPrinterFailures) {
    vprinter::VirtualPrinter& printer = usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
    const platform::Bytes bytes = Hex("1B 1D 1E 05 01 1B 1D 1F");

    EXPECT_FALSE(WriteUSBPrinter(bytes, -1)) << "no such printer";
    printer.faults().shortWrite = 4;
    EXPECT_FALSE(WriteUSBPrinter(bytes, 0)) << "short write";
    printer.faults().shortWrite.reset();
    printer.faults().unplugged = true;
    EXPECT_FALSE(WriteUSBPrinter(bytes, 0)) << "cannot be opened";
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
}

TEST_F(UtilPrinterTest, MissingPortLibraryRaisesAtTheCallAndLoadsAgainLater) {
    usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
    std::vector<std::wstring> names, files;

    sim.portLibrary().SetModuleMissing(true);
    try {
        EnumUSBPrinters(names, files, L"=");
        FAIL() << "no exception";
    } catch (const platform::ExternalException& e) {
        EXPECT_EQ(e.Code(), platform::kDelayLoadModuleNotFound);
    }
    sim.portLibrary().SetModuleMissing(false);
    sim.portLibrary().SetOperationMissing("GetUSBHWID", true);
    try {
        EnumUSBPrinters(names, files, L"=");
        FAIL() << "no exception";
    } catch (const platform::ExternalException& e) {
        EXPECT_EQ(e.Code(), platform::kDelayLoadProcNotFound);
    }
    sim.portLibrary().SetOperationMissing("GetUSBHWID", false);
    EXPECT_EQ(EnumUSBPrinters(names, files, L"="), 1);
}

// ---- the options file's port list ------------------------------------------------------------------------

TEST_F(UtilPrinterTest, ParseLocalPortsSplitsTheListAndExpandsUsb) {
    usb.Plug(IdentityWithId("MFG:Maker;MDL:Model 1;", "SN0001", 1));
    const std::wstring path = L"\\\\?\\usb#vid_5a4b&pid_0472#SN0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    struct Case {
        const char* name;
        std::wstring list;
        std::vector<std::wstring> names;
        std::vector<std::wstring> files;
    };
    const Case cases[] = {
        {"default list", L"LPT1  COM1  _USB", {L"LPT1", L"COM1", L"MakerModel 1 - USB001"}, {L"LPT1", L"COM1", path}},
        {"commas separate too", L"LPT1,COM2", {L"LPT1", L"COM2"}, {L"LPT1", L"COM2"}},
        {"other _ tokens add nothing", L"_FILE LPT1 _usb", {L"LPT1"}, {L"LPT1"}},
        {"empty tokens skipped", L" , ,,LPT1,, ", {L"LPT1"}, {L"LPT1"}},
        {"quoted token keeps blanks",
         L"\"C:\\My Jobs\\out.prn\",LPT2",
         {L"C:\\My Jobs\\out.prn", L"LPT2"},
         {L"C:\\My Jobs\\out.prn", L"LPT2"}},
        {"doubled quote inside quotes", L"\"A\"\"B\"", {L"A\"B"}, {L"A\"B"}},
        {"control characters separate",
         L"LPT1\r\nCOM1\t_USB",
         {L"LPT1", L"COM1", L"MakerModel 1 - USB001"},
         {L"LPT1", L"COM1", path}},
        {"empty list", L"", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::wstring> names{L"old"};
        std::vector<std::wstring> files{L"old"};
        EXPECT_EQ(ParseLocalPorts(c.list, &names, &files), static_cast<std::int32_t>(c.files.size()));
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(files, c.files);
    }
}

TEST_F(UtilPrinterTest, ParseLocalPortsWithoutAListIsMinusOne) {
    std::vector<std::wstring> list{L"old"};
    EXPECT_EQ(ParseLocalPorts(L"LPT1", nullptr, &list), -1);
    EXPECT_EQ(ParseLocalPorts(L"LPT1", &list, nullptr), -1);
    EXPECT_THAT(list, ElementsAre(L"old"));
    EXPECT_THAT(sim.portLibrary().Calls(), IsEmpty());
}

// ---- writers ---------------------------------------------------------------------------------------------

TEST_F(UtilPrinterTest, WriteToPortFileChoosesPathAndDisposition) {
    sim.files().AddDevice(L"\\\\?\\LPT1");
    sim.files().AddDevice(L"\\\\.\\COM1");
    sim.files().ForceDirectories(L"C:\\Jobs");
    struct Case {
        const char* name;
        std::wstring portFile;
        std::wstring opened;
        platform::Disposition disposition;
        bool ok;
    };
    const Case cases[] = {
        {"port name", L"LPT1", L"\\\\?\\LPT1", platform::Disposition::OpenExisting, true},
        {"file on a drive", L"C:\\Jobs\\out.prn", L"\\\\?\\C:\\Jobs\\out.prn", platform::Disposition::CreateAlways,
         true},
        {"device path unchanged", L"\\\\.\\COM1", L"\\\\.\\COM1", platform::Disposition::OpenExisting, true},
        {"port that does not exist", L"LPT2", L"\\\\?\\LPT2", platform::Disposition::OpenExisting, false},
        {"file in a missing folder", L"D:\\none\\out.prn", L"\\\\?\\D:\\none\\out.prn",
         platform::Disposition::CreateAlways, false},
    };
    const platform::Bytes bytes = Hex("1B 1D 1E 05 01 1B 1D 1F");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.files().ClearOpenLog();
        EXPECT_EQ(WriteToPortFile(bytes.data(), static_cast<std::int32_t>(bytes.size()), c.portFile), c.ok);
        const auto log = sim.files().OpenLog();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].path, c.opened);
        EXPECT_EQ(log[0].disposition, c.disposition);
        EXPECT_TRUE(log[0].read && log[0].write && log[0].shareRead && log[0].shareWrite);
    }
    EXPECT_EQ(sim.files().DeviceBytes(L"\\\\?\\LPT1"), bytes);
    EXPECT_EQ(sim.files().DeviceBytes(L"\\\\.\\COM1"), bytes);
    EXPECT_EQ(sim.files().ReadWholeFile(L"C:\\Jobs\\out.prn"), bytes);
}

TEST_F(UtilPrinterTest, SendRawPrintJobReachesThePrinterOnItsPort) {
    vprinter::VirtualPrinter& printer =
        usb.PlugWithQueue(vprinter::makeIdentity("WQ-472", "SN0001", 1), L"WQ-472 Printer", L"Varintex WQ-472");
    const platform::Bytes bytes = Hex("1B 1D 1E 05 01 1B 1D 1F");

    EXPECT_TRUE(SendRawPrintJob(L"WQ-472 Printer", bytes, L"Printer setting job"));
    const auto jobs = sim.spooler().RawJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].docName, L"Printer setting job");
    EXPECT_EQ(jobs[0].dataType, L"RAW");
    EXPECT_TRUE(jobs[0].completed);
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(printer.jobs()[0].data, bytes);

    EXPECT_FALSE(SendRawPrintJob(L"No Such Printer", bytes, L"Printer setting job"));
    sim.spooler().SetWriteFault(true);
    EXPECT_FALSE(SendRawPrintJob(L"WQ-472 Printer", bytes, L"Printer setting job"));
    EXPECT_EQ(sim.spooler().OpenHandleCount(), 0u);
}

// ---- spooler queries -------------------------------------------------------------------------------------

TEST_F(UtilPrinterTest, GetSchemeFileNamesTheModelAfterTheDriversFirstBlank) {
    sim.spooler().SetPrinterDriverDirectory(L"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86");
    sim.spooler().AddPrinter(L"Impact", L"Varintex WQ-472", L"USB001");
    sim.spooler().AddPrinter(L"Bare", L"WQ472", L"USB002");
    sim.spooler().AddPrinter(L"Two Blanks", L"Varintex WJ 610", L"USB003");
    struct Case {
        const char* name;
        std::wstring printer;
        bool ok;
        std::wstring file;
    };
    const Case cases[] = {
        {"driver with maker", L"Impact", true,
         L"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\WQ-472_Settings.Dat"},
        {"driver name without blank", L"Bare", true,
         L"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\WQ472_Settings.Dat"},
        {"only the first blank", L"Two Blanks", true,
         L"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\WJ 610_Settings.Dat"},
        {"empty name", L"", false, L"unchanged"},
        {"unknown printer", L"Nobody", false, L"unchanged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring file = L"unchanged";
        EXPECT_EQ(GetSchemeFile(c.printer, file), c.ok);
        EXPECT_EQ(file, c.file);
    }
    EXPECT_EQ(sim.spooler().OpenHandleCount(), 0u);
}

TEST_F(UtilPrinterTest, GetPrinterPortReportsPortAndOnlineState) {
    sim.spooler().AddPrinter(L"Online", L"Varintex WQ-472", L"USB001");
    sim.spooler().AddPrinter(L"Offline", L"Varintex WQ-472", L"LPT1:", platform::kPrinterAttributeWorkOffline);
    struct Case {
        const char* name;
        std::wstring printer;
        bool ok;
        std::wstring port;
        bool online;
    };
    const Case cases[] = {
        {"online", L"Online", true, L"USB001", true},
        {"offline", L"Offline", true, L"LPT1:", false},
        {"empty name", L"", false, L"unchanged", true},
        {"unknown printer", L"Nobody", false, L"unchanged", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring port = L"unchanged";
        bool online = true;
        EXPECT_EQ(GetPrinterPort(c.printer, port, online), c.ok);
        EXPECT_EQ(port, c.port);
        EXPECT_EQ(online, c.online);
    }
    EXPECT_EQ(sim.spooler().OpenHandleCount(), 0u);
}

}  // namespace
