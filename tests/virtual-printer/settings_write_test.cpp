// The settings write sequence: values change only when a save closes an enter.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wire.h"

namespace vprinter_test {
namespace {

using vprinter::ItemCode;

const ItemCode kMode = 0x22;                   // width 1, set frame 04 22
const ItemCode kLeftMargin{0x0A, 0x00, 0x0B};  // width 1, set frame 00 0B
const ItemCode kTopOfForm{0x4B, 0x04, 0x13};   // width 2, set frame 04 13
const ItemCode kInterfaces = 0x30;             // width 3, a mask

struct Expect {
    ItemCode code;
    std::int32_t value;
};

struct WriteCase {
    const char* name;
    std::vector<std::string> writes;  // one host write each
    std::vector<Expect> values;
    bool settingsModeAfter;
};

void defineItems(vprinter::VirtualPrinter& printer) {
    printer.defineItem(kMode, 1, 0);
    printer.defineItem(kLeftMargin, 1, 0);
    printer.defineItem(kTopOfForm, 2, 0);
    printer.defineItem(kInterfaces, 3, 0);
}

class SettingsWrite : public ::testing::Test {
  protected:
    void SetUp() override { defineItems(vp); }
    vprinter::VirtualPrinter vp = makePrinter();
};

const std::vector<WriteCase> kWriteCases = {
    {"EnterSetSaveInOneWrite",
     {"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 22 01 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"},
     {{kMode, 1}},
     false},
    {"SetWithoutEnterChangesNothing", {"1B 1D 1E 04 22 01 1B 1D 1F"}, {{kMode, 0}}, false},
    {"SetAfterSaveChangesNothing",
     {"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F", "1B 1D 1E 04 22 01 1B 1D 1F"},
     {{kMode, 0}},
     false},
    {"EnterWithoutSaveChangesNothing", {"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 22 01 1B 1D 1F"}, {{kMode, 0}}, true},
    {"SecondEnterDropsWhatTheFirstStaged",
     {"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 22 01 1B 1D 1F", "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"},
     {{kMode, 0}},
     false},
    {"SequenceCutMidFrameAcrossWrites",
     {"1B 1D 1E 05", "01 1B 1D 1F 1B", "1D 1E 04 22 01 1B 1D", "1F 1B 1D 1E 05 02 1B 1D 1F"},
     {{kMode, 1}},
     false},
    {"ByteByByte",
     {"1B", "1D", "1E", "05", "01", "1B", "1D", "1F", "1B", "1D", "1E", "04", "22",
      "FF", "1B", "1D", "1F", "1B", "1D", "1E", "05", "02", "1B", "1D", "1F"},
     {{kMode, -1}},
     false},
    // The group dialogs write their item frames without the frame head.
    {"GroupFramesWithoutHead",
     {"1B 1D 1E 05 01 1B 1D 1F 00 0B 03 1B 1D 1F 04 13 05 80 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"},
     {{kLeftMargin, 3}, {kTopOfForm, -5}},
     false},
    {"SeveralItemsUnderOneEnter",
     {"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 13 2C 01 1B 1D 1F 1B 1D 1E 00 0B 05 1B 1D 1F 1B 1D 1E 04 30 A0 00 00 "
      "1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"},
     {{kTopOfForm, 300}, {kLeftMargin, 5}, {kInterfaces, 0xA00000}},
     false},
    {"LastSetOfAnItemWins",
     {"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 22 01 1B 1D 1F 1B 1D 1E 04 22 02 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"},
     {{kMode, 2}},
     false},
    // Known width: value bytes that spell the tail do not end the frame.
    {"MaskBytesThatSpellTheTail",
     {"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 30 1B 1D 1F 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"},
     {{kInterfaces, 0x1B1D1F}},
     false},
    {"WrongValueByteCountIsRefused",
     {"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 22 01 02 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"},
     {{kMode, 0}},
     false},
    {"SetOfAnUnknownItemIsIgnored",
     {"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 77 01 1B 1D 1F 1B 1D 1E 04 22 01 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"},
     {{kMode, 1}},
     false},
};

TEST_F(SettingsWrite, ValuesChangeOnlyOnSave) {
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.name);
        vprinter::VirtualPrinter printer = makePrinter();
        defineItems(printer);
        for (const std::string& w : c.writes) {
            send(printer, w);
        }
        for (const Expect& e : c.values) {
            EXPECT_EQ(printer.itemValue(e.code), e.value);
        }
        EXPECT_EQ(printer.inSettingsMode(), c.settingsModeAfter);
        EXPECT_FALSE(printer.nextReplyAt().has_value()) << "a settings write is not answered";
    }
}

TEST_F(SettingsWrite, LogNamesEachStep) {
    send(vp, "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 22 03 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    send(vp, "1B 1D 1E 04 22 01 1B 1D 1F");
    send(vp, "1B 1D 1E 04 13 05 80 1B 1D 1F");
    EXPECT_EQ(vp.commandLog(),
              (std::vector<std::string>{"enter", "set 22=03", "save", "set 22=01 (not in settings mode)",
                                        "set 13=05 80 (not in settings mode)"}));
}

// Values are kept as their wire bytes, so a read answers exactly what was written, across the asymmetric
// one-byte range too.
TEST_F(SettingsWrite, ReadAnswersTheBytesThatWereSet) {
    struct Case {
        const char* name;
        const char* setFrame;
        const char* readReply;
        std::int32_t value;
    };
    const Case cases[] = {
        {"ByteMinusOne", "1B 1D 1E 04 22 FF 1B 1D 1F", "1B 1D 1E 05 03 00 22 01 FF 1B 1D 1F", -1},
        {"ByteMinusHundredReadsAsPositive", "1B 1D 1E 04 22 9C 1B 1D 1F", "1B 1D 1E 05 03 00 22 01 9C 1B 1D 1F", 156},
        {"WordMinusFive", "1B 1D 1E 04 13 05 80 1B 1D 1F", "1B 1D 1E 05 03 00 4B 02 05 80 1B 1D 1F", -5},
        {"MaskHighByteFirst", "1B 1D 1E 04 30 A0 00 01 1B 1D 1F", "1B 1D 1E 05 03 00 30 03 A0 00 01 1B 1D 1F",
         0xA00001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        drain(vp);
        send(vp, cat(cat(hex("1B 1D 1E 05 01 1B 1D 1F"), hex(c.setFrame)), hex("1B 1D 1E 05 02 1B 1D 1F")));
        const Bytes reply = hex(c.readReply);
        const std::uint8_t code = reply[6];
        send(vp, cat(cat(hex("1B 1D 1E 05 03 01"), Bytes{code}), hex("1B 1D 1F")));
        EXPECT_EQ(drain(vp), reply);
    }
    EXPECT_EQ(vp.itemValue(kMode), 156);
    EXPECT_EQ(vp.itemValue(kTopOfForm), -5);
    EXPECT_EQ(vp.itemValue(kInterfaces), 0xA00001);
}

TEST_F(SettingsWrite, PrintJobCarriesCommandsToo) {
    const Bytes sequence = hex("1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 22 01 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    vp.hostPrintJob(L"Printer setting job", sequence, 0);
    EXPECT_EQ(vp.itemValue(kMode), 1);
    ASSERT_EQ(vp.jobs().size(), 1u);
    EXPECT_EQ(vp.jobs()[0].docName, L"Printer setting job");
    EXPECT_EQ(vp.jobs()[0].data, sequence);
    EXPECT_TRUE(vp.writes().empty()) << "a job is not a port write";
}

// A job is a whole: its unfinished last frame is dropped and cannot swallow the next port write.
TEST_F(SettingsWrite, PrintJobEndsItsOwnFrames) {
    vp.hostPrintJob(L"Printer setting job", hex("1B 40 41 42 1B 1D 1E 05 01 1B 1D"), 0);
    send(vp, "1F 1B 1D 1E 04 22 01 1B 1D 1F");
    EXPECT_FALSE(vp.inSettingsMode());
    EXPECT_EQ(vp.itemValue(kMode), 0);
    EXPECT_EQ(vp.commandLog(), (std::vector<std::string>{"data 4 bytes", "malformed 1B 1D 1E 05 01 1B 1D",
                                                         "data 1 bytes", "set 22=01 (not in settings mode)"}));
}

}  // namespace
}  // namespace vprinter_test
