// The write-then-read worker, run on its own thread against a virtual printer through the sim port library.

#include "ThreadRWPrinter.h"

#include <gmock/gmock.h>

#include <limits>
#include <memory>

#include "link_fixture.h"
#include "platform/ini_file.h"
#include "platform/port_library.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr wchar_t kStateFile[] = L"C:\\Users\\tester\\AppData\\Local\\Temp\\Varintex Printer\\WQ-472.ini";
// One value read of item 24, and the printer's answer for a one-byte value of 3.
constexpr wchar_t kReadItem24[] = L"1B 1D 1E 05 03 01 24 1B 1D 1F";
const char* const kReply24 = "1B 1D 1E 05 03 00 24 01 03 1B 1D 1F";

class WorkerTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        sim.files().ForceDirectories(L"C:\\Users\\tester\\AppData\\Local\\Temp\\Varintex Printer");
        g_strPrinterIni = kStateFile;
        printer = &usb.Plug(vprinter::makeIdentity("WQ-472", "SN0001", 1));
        printer->defineItem(0x24, 1, 3);
    }

    // A read of item 24 as the model's value read makes it (time-out 3500, read wait 30).
    std::unique_ptr<TRWPrinter> ValueRead(std::uint32_t readData = 1024,
                                          bool resetFirst = false,
                                          const std::wstring& command = kReadItem24) {
        auto worker = std::make_unique<TRWPrinter>();
        worker->SetParameters(0, command, true, 3500, 0, resetFirst, 30, readData);
        return worker;
    }

    std::wstring State(const std::wstring& key) {
        return platform::IniFile(kStateFile).ReadString(L"ReadPrinter", key, L"<none>");
    }

    platform::Bytes Reply(const TRWPrinter& worker) {
        return platform::Bytes(worker.m_Buf.begin(), worker.m_Buf.begin() + std::max(worker.m_nRet, 0));
    }

    vprinter::VirtualPrinter* printer = nullptr;
};

// ---- parameters ------------------------------------------------------------------------------------------

TEST_F(WorkerTest, SetParametersKeepsBadPairsAsZeroBytes) {
    struct Case {
        const char* name;
        std::wstring text;
        std::string bytes;
    };
    const Case cases[] = {
        {"bad pair keeps its place", L"1B ZZ 1D", "1B 00 1D"},
        {"blanks and tabs dropped", L"1b1d 1e\t05", "1B 1D 1E 05"},
        {"odd last character ignored", L"1B 1", "1B"},
        {"empty text", L"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRWPrinter worker;
        worker.SetParameters(0, c.text, true, 3500, 0, false, 30, 1024);
        EXPECT_EQ(worker.m_pBuf, Hex(c.bytes));
        EXPECT_EQ(worker.m_strWriteHex, c.text);
    }
}

TEST_F(WorkerTest, SetParametersTiesMultiReadToTheDrainAndBoundsTheReadToTheBuffer) {
    TRWPrinter drained;
    drained.SetParameters(3, L"", true, 1500, 0, true, 30, 40000);
    EXPECT_TRUE(drained.m_bMultiReadRetry);
    EXPECT_EQ(drained.m_dwReadData, 32768u);
    EXPECT_EQ(drained.m_iUSBPrinter, 3);
    EXPECT_EQ(drained.m_iTimeOut, 1500);

    TRWPrinter plain;
    plain.SetParameters(0, L"", true, 3500, 0, false, 30, 32768);
    EXPECT_FALSE(plain.m_bMultiReadRetry);
    EXPECT_EQ(plain.m_dwReadData, 32768u);
}

// ---- exchanges -------------------------------------------------------------------------------------------

TEST_F(WorkerTest, ValueReadWritesWaitsReadsAndRecordsTheAttempt) {
    auto worker = ValueRead();
    EXPECT_TRUE(Run(*worker));

    EXPECT_EQ(Reply(*worker), Hex(kReply24));
    EXPECT_EQ(worker->m_iLastRead, 12);
    EXPECT_TRUE(worker->m_strWriteHex.empty());
    EXPECT_THAT(printer->writes(), ElementsAre(Hex("1B 1D 1E 05 03 01 24 1B 1D 1F")));

    const auto& lib = sim.portLibrary();
    std::vector<std::string> order;
    for (const auto& call : lib.Calls()) {
        order.push_back(call.operation);
    }
    EXPECT_THAT(order, ElementsAre("OpenPrinterUSBPort", "WritePort", "ReadPort", "CloseUSBPort"));
    const auto write = lib.Calls("WritePort").at(0);
    const auto read = lib.Calls("ReadPort").at(0);
    EXPECT_EQ(lib.Calls("OpenPrinterUSBPort").at(0).args[0], 1);
    EXPECT_EQ(write.args[2], 2000);
    EXPECT_EQ(read.args[1], 1024);
    EXPECT_EQ(read.args[2], 3500);
    EXPECT_EQ(read.atMs - write.atMs, 30u) << "the read waits the read wait after the write";

    EXPECT_EQ(g_iReadCount, 1);
    EXPECT_TRUE(g_bReadLast);
    EXPECT_EQ(State(L"Count"), L"1");
    EXPECT_EQ(State(L"Last"), L"-1");
    EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
}

TEST_F(WorkerTest, CountAddsUpOverExchangesAndRuns) {
    platform::IniFile(kStateFile).WriteInteger(L"ReadPrinter", L"Count", 7);
    auto first = ValueRead();
    EXPECT_TRUE(Run(*first));
    printer->faults().noReply = true;
    auto second = ValueRead();
    EXPECT_FALSE(Run(*second));
    EXPECT_EQ(State(L"Count"), L"9");
    EXPECT_EQ(State(L"Last"), L"0");
    EXPECT_EQ(g_iReadCount, 9);
    EXPECT_FALSE(g_bReadLast);
}

// Regression: a state file holding the largest count made the read's addition a signed overflow.
TEST_F(WorkerTest, CountWrapsAsAnIntegerPastItsLargestValue) {
    for (const wchar_t* stored : {L"2147483647", L"$7FFFFFFF"}) {
        SCOPED_TRACE(stored);
        platform::IniFile(kStateFile).WriteString(L"ReadPrinter", L"Count", stored);
        auto worker = ValueRead();
        EXPECT_TRUE(Run(*worker));
        EXPECT_EQ(g_iReadCount, std::numeric_limits<std::int32_t>::min());
        EXPECT_EQ(State(L"Count"), L"-2147483648");
    }
}

TEST_F(WorkerTest, WriteOnlyExchangeSucceedsWithoutCountingARead) {
    platform::IniFile(kStateFile).WriteInteger(L"ReadPrinter", L"Count", 4);
    TRWPrinter worker;
    worker.SetParameters(0, L"1B 1D 1E 05 01 1B 1D 1F", false, 3500, 0, false, 30, 1024);
    EXPECT_TRUE(Run(worker));
    EXPECT_THAT(sim.portLibrary().Calls("ReadPort"), IsEmpty());
    EXPECT_EQ(State(L"Count"), L"4");
    EXPECT_EQ(State(L"Last"), L"-1");
}

TEST_F(WorkerTest, EmptyCommandGoesStraightToTheRead) {
    // The reply of an earlier write-only exchange is still waiting: an empty command only fetches it.
    TRWPrinter ask;
    ask.SetParameters(0, kReadItem24, false, 3500, 0, false, 30, 1024);
    ASSERT_TRUE(Run(ask));

    auto fetch = ValueRead(1024, false, L"");
    EXPECT_TRUE(Run(*fetch));
    EXPECT_EQ(Reply(*fetch), Hex(kReply24));
    EXPECT_EQ(sim.portLibrary().Calls("WritePort").size(), 1u) << "nothing written by the fetch";
}

TEST_F(WorkerTest, JudgesTheWriteBeforeReading) {
    // A device that goes away once the port is open: the library's write then fails with -2.
    class VanishingDevice : public VirtualUsbDevice {
    public:
        using VirtualUsbDevice::VirtualUsbDevice;
        bool CanOpen() const override { return opens_++ == 0; }

    private:
        mutable int opens_ = 0;
    };
    struct Case {
        const char* name;
        std::optional<std::size_t> shortWrite;
        bool vanishing;
        bool resetFirst;
        bool result;
    };
    const Case cases[] = {
        {"write fails with -2", std::nullopt, true, false, false},
        {"short write", 4, false, false, false},
        // A short write leaves the result as it was, and after a drain that is the drain's own outcome.
        {"short write after a drain", 4, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.portLibrary().ClearCalls();
        std::int32_t index = 0;
        if (c.vanishing) {
            auto device = std::make_shared<VanishingDevice>(
                std::make_shared<vprinter::VirtualPrinter>(vprinter::makeIdentity("WQ-472", "SN0002", 2)));
            sim.usbBus().Plug(device);
            index = static_cast<std::int32_t>(sim.usbBus().Devices().size()) - 1;
            sim.portLibrary().USBPrintRefresh();
        }
        printer->faults().shortWrite = c.shortWrite;
        TRWPrinter worker;
        worker.SetParameters(index, kReadItem24, true, 3500, 0, c.resetFirst, 30, 1024);
        EXPECT_EQ(Run(worker), c.result);
        EXPECT_EQ(sim.portLibrary().Calls("ReadPort").size(), c.resetFirst ? 6u : 0u) << "only the drain reads";
        EXPECT_EQ(State(L"Last"), c.result ? L"-1" : L"0");
        EXPECT_EQ(State(L"Count"), L"0") << "no read was attempted";
        EXPECT_EQ(sim.usbBus().OpenHandleCount(), 0u);
        printer->faults().shortWrite.reset();
        printer->discardPendingReplies();
    }
}

TEST_F(WorkerTest, ReadTimeOutFailsAfterTheExchangesTimeOut) {
    printer->faults().noReply = true;
    auto worker = ValueRead();
    EXPECT_FALSE(Run(*worker));
    const auto read = sim.portLibrary().Calls("ReadPort").at(0);
    const auto close = sim.portLibrary().Calls("CloseUSBPort").at(0);
    EXPECT_EQ(close.atMs - read.atMs, 3500u);
    EXPECT_EQ(worker->m_nRet, 0);
    EXPECT_EQ(State(L"Count"), L"1");
    EXPECT_EQ(State(L"Last"), L"0");
}

TEST_F(WorkerTest, LeastByteZeroAcceptsAnEmptyRead) {
    auto worker = ValueRead(0);
    EXPECT_TRUE(Run(*worker));
    EXPECT_EQ(worker->m_nRet, 0);
}

TEST_F(WorkerTest, DrainThrowsAwayStaleRepliesThenMultiReadCollectsThePieces) {
    // A reply nobody read is still queued in the printer.
    TRWPrinter stale;
    stale.SetParameters(0, kReadItem24, false, 3500, 0, false, 30, 1024);
    ASSERT_TRUE(Run(stale));
    sim.portLibrary().ClearCalls();

    // 15 reply bytes arrive as 10 and 5; the next continuation read times out.
    printer->faults().replyChunk = 10;
    printer->faults().replyChunkGapMs = 40;
    printer->faults().padReplyTo = 15;
    auto worker = ValueRead(1024, /*resetFirst=*/true);
    EXPECT_TRUE(Run(*worker));

    platform::Bytes expected = Hex(kReply24);
    expected.resize(15, 0x00);
    EXPECT_EQ(Reply(*worker), expected);
    EXPECT_EQ(worker->m_nRet, 15);
    EXPECT_EQ(worker->m_iLastRead, 5);

    const auto& lib = sim.portLibrary();
    const auto reads = lib.Calls("ReadPort");
    ASSERT_EQ(reads.size(), 9u);  // 6 drain reads, the first read, one more piece, the timed-out one
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(reads[i].args[1], 32767);
        EXPECT_EQ(reads[i].args[2], i < 5 ? 10 : 20);
        // The first drain read takes the stale reply at once; the others wait out their time-outs.
        EXPECT_EQ(reads[i].result, i == 0 ? 12 : 0);
    }
    EXPECT_EQ(reads[7].args[2], 100);
    EXPECT_EQ(reads[8].args[2], 100);
    EXPECT_EQ(reads[8].result, 0);
    const auto open = lib.Calls("OpenPrinterUSBPort").at(0);
    const auto write = lib.Calls("WritePort").at(0);
    EXPECT_EQ(write.atMs - open.atMs, 4u * 10 + 20 + 20) << "drain reads and the settling pause";
    EXPECT_EQ(sim.usbDriver().Calls().at(0).operation, "CancelIo");
}

TEST_F(WorkerTest, SwitchesTheModelToShortTimeOutsAfterAFailedRead) {
    struct Case {
        const char* name;
        std::int32_t readOnLastFail;
        bool printerAnswers;
        bool portOpens;
        std::int32_t countBefore;
        bool affirmReadDisable;
    };
    const Case cases[] = {
        {"failed read, rule 0", 0, false, true, 0, true},
        {"failed read, rule 1", 1, false, true, 0, false},
        {"good read, rule 0", 0, true, true, 0, false},
        {"port not opened, nothing counted yet", 0, true, false, 0, false},
        {"port not opened, reads counted before", 0, true, false, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.files().DeleteFile(kStateFile);
        if (c.countBefore) {
            platform::IniFile(kStateFile).WriteInteger(L"ReadPrinter", L"Count", c.countBefore);
        }
        model = StandInModel();
        model.readOnLastFail = c.readOnLastFail;
        printer->faults().noReply = !c.printerAnswers;
        printer->faults().unplugged = !c.portOpens;
        auto worker = ValueRead();
        EXPECT_EQ(Run(*worker), c.printerAnswers && c.portOpens);
        EXPECT_EQ(model.affirmReadDisable, c.affirmReadDisable);
        if (!c.portOpens) {
            EXPECT_EQ(State(L"Last"), L"<none>") << "the state file is not touched";
        }
    }
}

TEST_F(WorkerTest, PortModeNeitherReadsNorWritesTheStateFile) {
    g_strPrinterIni.clear();
    g_iReadCount = 5;
    auto worker = ValueRead();
    EXPECT_TRUE(Run(*worker));
    EXPECT_EQ(g_iReadCount, 1) << "every exchange starts from 0";
    EXPECT_FALSE(sim.files().FileExists(kStateFile));
}

TEST_F(WorkerTest, MissingPortLibraryEndsTheExchangeAtTheFailingCall) {
    struct Case {
        const char* name;
        bool moduleMissing;
        const char* operation;
        bool resetFirst;
        std::size_t handlesLeftOpen;
    };
    const Case cases[] = {
        {"module missing", true, "", false, 0},
        // Opened and written, then the read cannot be bound: nothing after it runs, not even the close.
        {"read operation missing", false, "ReadPort", false, 1},
        // Regression: the drain's CancelIo had already set the result, and the exchange reported success.
        {"read operation missing during the drain", false, "ReadPort", true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.portLibrary().SetModuleMissing(c.moduleMissing);
        sim.portLibrary().SetOperationMissing(c.operation, true);
        g_bReadLast = true;
        const std::size_t openBefore = sim.usbBus().OpenHandleCount();
        auto worker = ValueRead(1024, c.resetFirst);
        EXPECT_FALSE(Run(*worker));
        EXPECT_TRUE(g_bReadLast) << "left as it was";
        EXPECT_FALSE(sim.files().FileExists(kStateFile));
        EXPECT_EQ(sim.usbBus().OpenHandleCount() - openBefore, c.handlesLeftOpen);
        sim.portLibrary().SetModuleMissing(false);
        sim.portLibrary().SetOperationMissing(c.operation, false);
    }
}

// ---- the reply handed over -------------------------------------------------------------------------------

TEST_F(WorkerTest, GetDataNeverCopiesMoreThanTheBufferHolds) {
    struct Case {
        const char* name;
        std::size_t replyLength;
        std::int32_t bufferHigh;
        bool ok;
        std::int32_t count;
    };
    const Case cases[] = {
        {"1024 bytes into 1024", 1024, 1023, true, 1024},
        {"1025 bytes into 1024", 1025, 1023, false, 0},
        {"1023 bytes into 1024", 1023, 1023, true, 1023},
        {"a full buffer", 32768, 32767, true, 32768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->faults().padReplyTo = c.replyLength;
        auto worker = ValueRead(32768);
        ASSERT_TRUE(Run(*worker));
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(c.bufferHigh) + 1, 0xEE);
        std::int32_t count = -7;
        EXPECT_EQ(worker->GetData(buffer.data(), c.bufferHigh, count, false), c.ok);
        EXPECT_EQ(count, c.count);
        if (c.ok) {
            EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + count, worker->m_Buf.begin()));
        } else {
            EXPECT_EQ(buffer[0], 0xEE) << "nothing copied";
        }
    }
}

TEST_F(WorkerTest, GetDataFromTheFirstFrameHead) {
    printer->faults().garbageBeforeFrame = Hex("00 00");
    auto worker = ValueRead();
    ASSERT_TRUE(Run(*worker));
    std::vector<std::uint8_t> buffer(1024);
    std::int32_t count = -7;
    EXPECT_TRUE(worker->GetData(buffer.data(), 1023, count, true));
    EXPECT_EQ(count, 12);
    buffer.resize(12);
    EXPECT_EQ(buffer, Hex(kReply24));
}

TEST_F(WorkerTest, GetDataCases) {
    // The fields as an exchange leaves them, set directly to reach the corners.
    struct Case {
        const char* name;
        std::string reply;
        std::int32_t lastRead;
        std::int32_t bufferHigh;
        bool findPrefix;
        bool ok;
        std::int32_t count;
    };
    const Case cases[] = {
        {"frame head after two bytes", "00 00 1B 1D 1E 05 03", 7, 1023, true, true, 5},
        {"no frame head: count unchanged", "00 00 1B 1D 05 03", 6, 1023, true, false, -7},
        {"without prefix: everything", "00 00 1B 1D 05 03", 6, 1023, false, true, 6},
        {"last read longer than the buffer", "00 01 02", 4, 2, false, false, 0},
        // Pieces of a multi-read are small, but together they do not fit: still refused.
        {"reply longer than the buffer", "00 01 02 03 04", 1, 3, false, false, 0},
        {"nothing read", "", 0, 1023, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRWPrinter worker;
        const platform::Bytes reply = Hex(c.reply);
        std::copy(reply.begin(), reply.end(), worker.m_Buf.begin());
        worker.m_nRet = static_cast<std::int32_t>(reply.size());
        worker.m_iLastRead = c.lastRead;
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(c.bufferHigh) + 1);
        std::int32_t count = -7;
        EXPECT_EQ(worker.GetData(buffer.data(), c.bufferHigh, count, c.findPrefix), c.ok);
        EXPECT_EQ(count, c.count);
    }
}

TEST_F(WorkerTest, RepliesOfTheBuffersSizeAndMoreStayInTheBuffer) {
    struct Case {
        const char* name;
        std::size_t replyLength;
        std::uint32_t readData;
        bool resetFirst;
    };
    const Case cases[] = {
        {"exactly 32768", 32768, 32768, false},
        {"40000 asked for and sent", 40000, 40000, false},
        {"40000 sent, read on after a drain", 40000, 32768, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->discardPendingReplies();
        printer->faults().padReplyTo = c.replyLength;
        sim.portLibrary().ClearCalls();
        auto worker = ValueRead(c.readData, c.resetFirst);
        EXPECT_TRUE(Run(*worker));
        EXPECT_EQ(worker->m_nRet, 32768);
        for (const auto& read : sim.portLibrary().Calls("ReadPort")) {
            EXPECT_LE(read.args[1], 32768);
        }
        std::vector<std::uint8_t> small(1024);
        std::int32_t count = -7;
        EXPECT_FALSE(worker->GetData(small.data(), 1023, count, true));
        EXPECT_EQ(count, 0);
    }
}

}  // namespace
