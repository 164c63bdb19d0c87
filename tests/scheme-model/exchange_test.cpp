// The model's door to the exchange worker: time-outs, polling with message handling, what is handed over,
// the printer-name form's port rule, and the raw-byte wrappers with their PrinterNotFound box.

#include <array>
#include <cstdint>
#include <vector>

#include "exchange_fixture.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"

namespace {

using platform::sim::ExpectedBox;
using platform::sim::UserScript;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr wchar_t kReadItem24[] = L"1B 1D 1E 05 03 01 24 1B 1D 1F";
const char* const kReply24 = "1B 1D 1E 05 03 00 24 01 03 1B 1D 1F";

class DoWriteAndReadTest : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        printer->defineItem(0x24, 1, 3);
        buffer.fill(0xEE);
    }

    // One value read of item 24 through the USB-index form.
    bool ReadItem24(std::int32_t& readLength,
                    std::int32_t iTimeOut = 0,
                    bool bReadData = true,
                    std::int32_t bufferSize = 1023,
                    bool bFindPrefix = true) {
        return model().DoWriteAndReadPrinter(0, kReadItem24, buffer.data(), bufferSize, readLength, bReadData, false,
                                             iTimeOut, bFindPrefix);
    }
    bool BufferUntouched() const {
        for (std::uint8_t b : buffer) {
            if (b != 0xEE) {
                return false;
            }
        }
        return true;
    }

    std::array<std::uint8_t, 1024> buffer{};
};

// ---- time-outs ---------------------------------------------------------------------------------------------

TEST_F(DoWriteAndReadTest, ReadTimeOutIsTimeOutPagePlusTheExtraUnlessReadsAreDisabled) {
    struct Case {
        const char* name;
        const wchar_t* keys;
        bool readDisabled;
        std::int32_t extra;
        std::int64_t timeOut;
    };
    const Case cases[] = {
        {"default TimeOutPage 3500 plus 1000", L"", false, 1000, 4500},
        {"TimeOutPage of the file", L"TimeOutPage=2000\n", false, 10, 2010},
        {"read-disable: fixed 1500 whatever the extra", L"", true, 1000, 1500},
        {"read-disable set in the model settings file", L"AffirmReadDisable=1\n", false, 5000, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadModel(c.keys);
        if (c.readDisabled) {
            model().SetAffirmReadDisableStatus(true);
        }
        sim.portLibrary().ClearCalls();
        std::int32_t readLength = 1024;
        EXPECT_TRUE(ReadItem24(readLength, c.extra));
        EXPECT_THAT(ReplyReadTimeOuts(), ElementsAre(c.timeOut));
    }
}

TEST_F(DoWriteAndReadTest, FailedReadShortensEveryLaterReadOfTheRunWhenTheFileSaysSo) {
    struct Case {
        const char* name;
        const wchar_t* keys;
        std::int64_t laterTimeOut;
        bool readDisabled;
    };
    const Case cases[] = {
        {"ReadOnLastFail 0", L"ReadOnLastFail=0\n", 1500, true},
        {"ReadOnLastFail 1 (default)", L"", 4500, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadModel(c.keys);
        sim.portLibrary().ClearCalls();
        std::int32_t readLength = 1024;
        printer->faults().noReply = true;
        EXPECT_FALSE(ReadItem24(readLength, 1000));
        printer->faults().noReply = false;
        EXPECT_EQ(model().m_Sections.AffirmReadDisable, c.readDisabled);
        readLength = 1024;
        EXPECT_TRUE(ReadItem24(readLength, 1000));
        EXPECT_THAT(ReplyReadTimeOuts(), ElementsAre(4500, c.laterTimeOut));
        EXPECT_EQ(model().m_Sections.AffirmReadDisable, c.readDisabled) << "never cleared during the run";
    }
}

// ---- polling ----------------------------------------------------------------------------------------------

TEST_F(DoWriteAndReadTest, WaitHandlesMessagesEvery50MsUntilTheWorkerHasFinished) {
    std::vector<std::uint64_t> ticks;
    const std::uint64_t start = Now();
    platform::forms::Timer timer(nullptr);
    timer.SetInterval(100);
    timer.OnTimer = [&](platform::forms::Component&) { ticks.push_back(Now() - start); };

    printer->faults().noReply = true;
    std::int32_t readLength = 1024;
    EXPECT_FALSE(ReadItem24(readLength, 1000));

    // The worker gives up at 30 + 4500 ms; the next poll, on the 50 ms grid, sees it.
    EXPECT_EQ(Now() - start, 4550u);
    std::vector<std::uint64_t> expected;
    for (std::uint64_t t = 100; t <= 4500; t += 100) {
        expected.push_back(t);
    }
    EXPECT_EQ(ticks, expected) << "every tick on time: the thread never waits more than one poll";
    EXPECT_EQ(readLength, 1024);
    EXPECT_TRUE(BufferUntouched());
}

// ---- what is handed over ----------------------------------------------------------------------------------

TEST_F(DoWriteAndReadTest, ReplyIsHandedOverFromItsFrameHeadWithItsLength) {
    printer->faults().garbageBeforeFrame = Hex("AA BB");
    std::int32_t readLength = 1024;
    EXPECT_TRUE(ReadItem24(readLength));
    ASSERT_EQ(readLength, 12);
    EXPECT_EQ(platform::Bytes(buffer.begin(), buffer.begin() + readLength), Hex(kReply24));
    EXPECT_EQ(buffer[12], 0xEE) << "nothing beyond the reply";
    EXPECT_THAT(Written(), ElementsAre(Hex("1B 1D 1E 05 03 01 24 1B 1D 1F")));
    const auto read = Calls("ReadPort").at(0);
    EXPECT_EQ(read.args[1], 1024) << "the port is asked for readLength's entry value";
    EXPECT_EQ(read.atMs - Calls("WritePort").at(0).atMs, 30u) << "SleepBeforeRead";
    EXPECT_EQ(State(L"ReadPrinter", L"Count"), L"1");
    EXPECT_EQ(State(L"ReadPrinter", L"Last"), L"-1");
}

TEST_F(DoWriteAndReadTest, NothingIsHandedOverOutsideAGoodReplyThatFits) {
    struct Case {
        const char* name;
        bool bReadData;
        std::int32_t readLength;
        std::int32_t bufferSize;
        const char* reply;  // scripted in place of the printer's own, when given
        bool result;
        std::int32_t readLengthAfter;
        bool portRead;
    };
    const Case cases[] = {
        {"write only: the reply is never asked for", false, 1024, 1023, nullptr, true, 1024, false},
        {"readLength 0 hands nothing over", true, 0, 1023, nullptr, true, 0, true},
        {"reply longer than the buffer", true, 1024, 7, nullptr, true, 0, true},
        {"no frame head in the reply", true, 1024, 1023, "AA BB CC 05 03", true, 1024, true},
        {"printer does not answer", true, 1024, 1023, "", false, 1024, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.portLibrary().ClearCalls();
        buffer.fill(0xEE);
        if (c.reply) {
            Script("read 01 items", {Hex(c.reply)});
        }
        std::int32_t readLength = c.readLength;
        EXPECT_EQ(ReadItem24(readLength, 0, c.bReadData, c.bufferSize), c.result);
        EXPECT_EQ(readLength, c.readLengthAfter);
        EXPECT_TRUE(BufferUntouched());
        EXPECT_EQ(Calls("ReadPort").empty(), !c.portRead);
        EXPECT_EQ(printer->scriptLeft(), 0u);
        printer->discardPendingReplies();
    }
    EXPECT_EQ(State(L"ReadPrinter", L"Count"), L"4") << "a write-only exchange counts no read";
}

// ---- printer-name form ------------------------------------------------------------------------------------

TEST_F(DoWriteAndReadTest, PrinterNameFormNeedsAnOnlinePrinterOnAUSBPort) {
    struct Case {
        const char* name;
        const wchar_t* port;
        std::uint32_t attributes;
    };
    const Case cases[] = {
        {"parallel port", L"LPT1:", 0},
        {"USB port, printer offline", L"USB001", platform::kPrinterAttributeWorkOffline},
        {"port name in lower case", L"usb001", 0},
        {"network port", L"IP_192.168.1.20", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.spooler().AddPrinter(L"Other", kDriver, c.port, c.attributes);
        std::int32_t readLength = 1024;
        EXPECT_FALSE(model().DoWriteAndReadPrinter(L"Other", kReadItem24, buffer.data(), 1023, readLength, true, false,
                                                   0, true));
        EXPECT_EQ(readLength, 1024);
    }
    std::int32_t readLength = 1024;
    EXPECT_FALSE(model().DoWriteAndReadPrinter(L"Unknown printer", kReadItem24, buffer.data(), 1023, readLength, true,
                                               false, 0, true));
    EXPECT_THAT(Calls("OpenPrinterUSBPort"), IsEmpty()) << "no worker was started";
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
    EXPECT_TRUE(BufferUntouched());
    EXPECT_EQ(Now(), 0u);
}

TEST_F(DoWriteAndReadTest, PrinterNameFormRunsOnTheQueuesUSBPrinter) {
    // The second printer on the bus: USB index 1, port number 2.
    auto& other = usb.Plug(vprinter::makeIdentity("WQ-472", "SN0002", 2));
    sim.spooler().AddPrinter(L"Second", kDriver, L"USB002");
    other.defineItem(0x24, 1, 7);
    std::int32_t readLength = 1024;
    EXPECT_TRUE(
        model().DoWriteAndReadPrinter(L"Second", kReadItem24, buffer.data(), 1023, readLength, true, false, 0, true));
    EXPECT_EQ(platform::Bytes(buffer.begin(), buffer.begin() + readLength), Hex("1B 1D 1E 05 03 00 24 01 07 1B 1D 1F"));
    EXPECT_EQ(Calls("OpenPrinterUSBPort").at(0).args[0], 2);
}

TEST_F(DoWriteAndReadTest, PrinterNameFormOnAUSBPortWithoutItsPrinterFailsAtThePortOpen) {
    sim.spooler().AddPrinter(L"Gone", kDriver, L"USB009");
    std::int32_t readLength = 1024;
    EXPECT_FALSE(
        model().DoWriteAndReadPrinter(L"Gone", kReadItem24, buffer.data(), 1023, readLength, true, false, 0, true));
    EXPECT_THAT(Calls("OpenPrinterUSBPort"),
                ElementsAre(::testing::Field(&platform::sim::SimUsbCall::args, ElementsAre(0))))
        << "index -1 is passed on unchecked";
    EXPECT_EQ(State(L"ReadPrinter", L"Count"), L"<none>") << "a port that did not open leaves the state file alone";
}

// ---- raw-byte wrappers ------------------------------------------------------------------------------------

class RawBytesTest : public ExchangeTest {
protected:
    static constexpr std::uint8_t kCommand[] = {0x1B, 0x1D, 0x1E, 0x12, 0x09, 0x1B, 0x1D, 0x1F};
    // The drying-time read, which the printer knows; the scripts answer it in place of the printer.
    static constexpr char kLogged[] = "read drying time";
    std::array<std::uint8_t, 512> buffer{};
};

TEST_F(RawBytesTest, WriteAndReadAsksForTheCallersCountAndReturnsTheReplyLength) {
    Script(kLogged, {Hex("1B 1D 1E 12 09 00 2C 01 1B 1D 1F")});
    std::int32_t readLength = 512;
    EXPECT_TRUE(model().WriteAndReadPrinter(kCommand, 8, buffer.data(), 511, readLength, false));
    EXPECT_EQ(readLength, 11);
    EXPECT_EQ(platform::Bytes(buffer.begin(), buffer.begin() + 11), Hex("1B 1D 1E 12 09 00 2C 01 1B 1D 1F"));
    EXPECT_THAT(Written(), ElementsAre(Hex("1B 1D 1E 12 09 1B 1D 1F")));
    const auto read = Calls("ReadPort").at(0);
    EXPECT_EQ(read.args[1], 512);
    EXPECT_EQ(read.args[2], 3510) << "TimeOutPage plus 10";
    EXPECT_EQ(printer->scriptLeft(), 0u);
}

TEST_F(RawBytesTest, WriteAndReadGivesZeroWhenNothingIsHandedOver) {
    struct Case {
        const char* name;
        const char* reply;
        bool bFindPrefix;
        bool result;
    };
    const Case cases[] = {
        {"no frame head to start from", "AA BB CC", true, true},
        {"no reply at all", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script(kLogged, {Hex(c.reply)});
        std::int32_t readLength = 512;
        EXPECT_EQ(model().WriteAndReadPrinter(kCommand, 8, buffer.data(), 511, readLength, c.bFindPrefix), c.result);
        EXPECT_EQ(readLength, 0);
    }
}

TEST_F(RawBytesTest, WritePrinterWritesWithoutReading) {
    EXPECT_TRUE(model().WritePrinter(kCommand, 8));
    EXPECT_THAT(Written(), ElementsAre(Hex("1B 1D 1E 12 09 1B 1D 1F")));
    EXPECT_THAT(Calls("ReadPort"), IsEmpty());
    EXPECT_EQ(State(L"ReadPrinter", L"Count"), L"0");
    EXPECT_EQ(State(L"ReadPrinter", L"Last"), L"-1");
    EXPECT_EQ(Calls("WritePort").at(0).args[2], 2000);
}

TEST_F(RawBytesTest, PrinterNotFoundIsShownOnceAndNothingIsWritten) {
    struct Case {
        const char* name;
        bool offline;  // else the queue is unknown
        bool withRead;
    };
    const Case cases[] = {
        {"offline, write and read", true, true},
        {"offline, write only", true, false},
        {"unknown printer, write and read", false, true},
        {"unknown printer, write only", false, false},
    };
    g_GlobalString.PrinterNotFound = L"No printer found.";
    g_GlobalString.HintTitle = L"Hint";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.messageBoxes().ClearShown();
        sim.spooler().SetAttributes(kPrinter, c.offline ? platform::kPrinterAttributeWorkOffline : 0);
        g_strPrinterName = c.offline ? kPrinter : L"No such queue";
        sim.messageBoxes().ExpectBox(ExpectedBox{.text = L"No printer found.", .caption = L"Hint"});
        std::int32_t readLength = 512;
        const bool result = c.withRead ? model().WriteAndReadPrinter(kCommand, 8, buffer.data(), 511, readLength, true)
                                       : model().WritePrinter(kCommand, 8);
        EXPECT_FALSE(result);
        EXPECT_EQ(readLength, c.withRead ? 0 : 512);
        const auto shown = sim.messageBoxes().Shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, L"No printer found.");
        EXPECT_EQ(shown[0].caption, L"Hint");
        EXPECT_EQ(shown[0].icon, platform::MsgIcon::Error);
    }
    EXPECT_THAT(Calls("OpenPrinterUSBPort"), IsEmpty());
    EXPECT_TRUE(printer->writes().empty());
}

TEST_F(RawBytesTest, OnlinePrinterOffUSBGetsNoBoxAndNoWrite) {
    sim.spooler().AddPrinter(L"Parallel", kDriver, L"LPT1:");
    g_strPrinterName = L"Parallel";
    std::int32_t readLength = 512;
    EXPECT_FALSE(model().WriteAndReadPrinter(kCommand, 8, buffer.data(), 511, readLength, false));
    EXPECT_EQ(readLength, 0);
    EXPECT_FALSE(model().WritePrinter(kCommand, 8));
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
    EXPECT_THAT(Calls("OpenPrinterUSBPort"), IsEmpty());
}

// ---- the user during an exchange --------------------------------------------------------------------------

const platform::forms::ComponentDesign kExchangeLayout[] = {
    {.kind = platform::forms::ComponentKind::Button, .name = L"btnRead"},
    {.kind = platform::forms::ComponentKind::Button, .name = L"btnStop", .left = 80},
    {.kind = platform::forms::ComponentKind::Button,
     .name = L"btnClose",
     .left = 160,
     .modalResult = platform::forms::mrOk},
};

// A dialog whose Read button runs an exchange and reports it in a box, and whose Stop button only notes whether
// the exchange was still running when it was pressed.
class TExchangeDialog : public platform::forms::Form {
public:
    explicit TExchangeDialog(std::function<bool()> exchange)
        : Form(L"TExchangeDialog", platform::forms::FormDesign{.clientWidth = 240, .clientHeight = 40}) {
        using platform::forms::Button;
        using platform::forms::Component;
        CreateComponents(*this, kExchangeLayout);
        Find<Button>(L"btnRead")->OnClick = [this, exchange](Component&) {
            exchanging = true;
            const bool ok = exchange();
            exchanging = false;
            platform::forms::application().ShowMessageBox(ok ? L"Read succeeded" : L"Read failed", L"Hint",
                                                          platform::MsgIcon::Information);
        };
        Find<Button>(L"btnStop")->OnClick = [this](Component&) { stops.push_back(exchanging); };
    }

    bool exchanging = false;
    std::vector<bool> stops;  // for each press, whether the exchange was running
};

TEST_F(RawBytesTest, TheUserClicksWhileTheExchangeWaitsForTheWorker) {
    struct Case {
        const char* name;
        const char* reply;
        const wchar_t* box;
        std::int32_t readLength;
    };
    const Case cases[] = {
        {"the printer answers", "1B 1D 1E 12 09 00 2C 01 1B 1D 1F", L"Read succeeded", 11},
        {"the printer stays silent", "", L"Read failed", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script(kLogged, {Hex(c.reply)});
        std::int32_t readLength = 512;
        auto dialog = platform::forms::MakeForm<TExchangeDialog>(
            [&] { return model().WriteAndReadPrinter(kCommand, 8, buffer.data(), 511, readLength, false); });
        sim.forms().WhenModal(L"TExchangeDialog", UserScript()
                                                      .Click(L"btnRead")
                                                      .DuringNextPump()
                                                      .Click(L"btnStop")
                                                      .ExpectBox(c.box)
                                                      .Click(L"btnStop")
                                                      .Click(L"btnClose"));
        EXPECT_EQ(dialog->ShowModal(), platform::forms::mrOk);
        EXPECT_EQ(dialog->stops, (std::vector<bool>{true, false}));
        EXPECT_EQ(readLength, c.readLength) << "the click left the exchange to finish as it would have";
        EXPECT_TRUE(sim.forms().Unfinished().empty());
    }
}

}  // namespace
