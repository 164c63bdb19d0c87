// The black-mark functions: the three switches read in one value read and set by their own frames, the tear
// distance kept high byte first, and the print start offset of the unframed receipt command.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wire.h"

namespace vprinter_test {
namespace {

using vprinter::kBlackMarkLock;
using vprinter::kBlackMarkMode;
using vprinter::kBlackMarkSensing;

constexpr char kEnter[] = "1B 1D 1E 05 01 1B 1D 1F ";
constexpr char kSave[] = " 1B 1D 1E 05 02 1B 1D 1F";
constexpr char kRead[] = "1B 1D 1E 05 03 03 24 4F 50 1B 1D 1F";

std::string framed(const std::string& frame) {
    return kEnter + frame + kSave;
}

TEST(BlackMark, TheReadAnswersTheThreeSwitchesAtBytes8_11And14) {
    auto vp = makePrinter();
    vp.defineBlackMark(1, 0, 1);
    send(vp, kRead);
    EXPECT_EQ(drain(vp), hex("1B 1D 1E 05 03 02 24 01 01 4F 01 00 50 01 01 1B 1D 1F"));
    EXPECT_EQ(vp.commandLog(), std::vector<std::string>{"read 03 items"});
}

TEST(BlackMark, ASwitchFrameSetsItsSwitchOnlyUnderEnterAndSave) {
    struct Case {
        const char* name;
        std::string writes;
        std::int32_t sensing, mode, lock;
    };
    const Case cases[] = {
        {"sensing off", framed("1B 1D 1E 02 0C 00 1B 1D 1F"), 0, 1, 1},
        {"mode 0", framed("1B 1D 1E 04 22 00 1B 1D 1F"), 1, 0, 1},
        {"lock off", framed("1B 1D 1E 04 25 00 1B 1D 1F"), 1, 1, 0},
        {"a switch frame without enter changes nothing", "1B 1D 1E 02 0C 00 1B 1D 1F", 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto vp = makePrinter();
        vp.defineBlackMark(1, 1, 1);
        send(vp, c.writes);
        EXPECT_EQ(vp.itemValue(kBlackMarkSensing), c.sensing);
        EXPECT_EQ(vp.itemValue(kBlackMarkMode), c.mode);
        EXPECT_EQ(vp.itemValue(kBlackMarkLock), c.lock);
        send(vp, kRead);
        const Bytes reply = drain(vp);
        ASSERT_EQ(reply.size(), 18u);
        EXPECT_EQ(reply[8], c.sensing);
        EXPECT_EQ(reply[11], c.mode);
        EXPECT_EQ(reply[14], c.lock);
    }
}

TEST(BlackMark, TheTearDistanceIsKeptHighByteFirstOnceSaved) {
    struct Case {
        const char* name;
        std::string writes;
        std::optional<std::uint16_t> distance;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"saved", framed("1B 1D 1E 04 24 07 A4 1B 1D 1F"), 0x07A4, {"enter", "tear distance 07 A4", "save"}},
        {"bytes that spell the start of the tail",
         framed("1B 1D 1E 04 24 1B 1D 1B 1D 1F"),
         0x1B1D,
         {"enter", "tear distance 1B 1D", "save"}},
        {"never saved",
         kEnter + std::string("1B 1D 1E 04 24 01 0A 1B 1D 1F"),
         std::nullopt,
         {"enter", "tear distance 01 0A"}},
        {"outside settings mode",
         "1B 1D 1E 04 24 01 0A 1B 1D 1F",
         std::nullopt,
         {"tear distance 01 0A (not in settings mode)"}},
        {"one byte short",
         framed("1B 1D 1E 04 24 01 1B 1D 1F"),
         std::nullopt,
         {"enter", "malformed 1B 1D 1E 04 24 01 1B 1D ...", "save"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto vp = makePrinter();
        vp.defineBlackMark(1, 1, 1);
        send(vp, c.writes);
        EXPECT_EQ(vp.tearDistance(), c.distance);
        EXPECT_EQ(vp.commandLog(), c.log);
    }
}

// An item that a menu defines on 04 24 keeps the frame: the tear distance is only what nothing else claims.
TEST(BlackMark, AnItemDefinedOn0424TakesItsFrame) {
    auto vp = makePrinter();
    vp.defineItem(0x24, 2, 0);
    send(vp, framed("1B 1D 1E 04 24 07 A4 1B 1D 1F"));
    EXPECT_EQ(vp.itemValue(0x24), -(0xA407 - 0x8000));
    EXPECT_FALSE(vp.tearDistance());
}

TEST(BlackMark, ThePrintStartOffsetComesUnframedLowByteFirst) {
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<std::uint16_t> offset;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"before the enter and save frames",
         "1D 28 46 04 00 01 00 9D 06 1B 40 " + framed(""),
         0x069D,
         {"print start offset 9D 06", "data 2 bytes", "enter", "save"}},
        {"another function",
         "1D 28 46 04 00 02 00 9D 06 1B 40",
         std::nullopt,
         {"unknown 1D 28 46 04 00 02 00 9D ...", "data 2 bytes"}},
        {"cut short", "1D 28 46 04 00 01 00 9D", std::nullopt, {"data 8 bytes"}},
        {"inside print data", "41 1D 28 46 04 00 01 00 9D 06", std::nullopt, {"data 10 bytes"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto vp = makePrinter();
        send(vp, c.bytes);
        EXPECT_EQ(vp.printStartOffset(), c.offset);
        EXPECT_EQ(vp.commandLog(), c.log);
    }
}

}  // namespace
}  // namespace vprinter_test
