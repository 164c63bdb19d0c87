// The scripted conversation: replies the printer would never make of itself, and the request it did not
// expect.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wire.h"

namespace vprinter_test {
namespace {

using Log = std::vector<std::string>;

TEST(Script, StepRepliesInPlaceOfThePrinterAndIsUsedUp) {
    auto vp = makePrinter();
    vp.defineItem(0x24, 1, 3);
    vp.script({{"read 01 items", {hex("1B 1D 1E 05 03 00 24 01")}}});

    send(vp, "1B 1D 1E 05 03 01 24 1B 1D 1F");
    EXPECT_EQ(drain(vp), hex("1B 1D 1E 05 03 00 24 01")) << "the cut reply, not the printer's own";
    EXPECT_EQ(vp.scriptLeft(), 0u);

    send(vp, "1B 1D 1E 05 03 01 24 1B 1D 1F");
    EXPECT_EQ(drain(vp), hex("1B 1D 1E 05 03 00 24 01 03 1B 1D 1F")) << "once played, the printer answers again";
    EXPECT_EQ(vp.commandLog(), (Log{"read 01 items", "read 01 items"}));
}

TEST(Script, SegmentsFollowOneReadAfterAnother) {
    auto vp = makePrinter();
    vp.script({{"menu request", {hex("1B 1D 1E 06 03 05 00 00 00 00 00 00"), hex("4A 5A 01 00 07")}}});
    send(vp, "1B 1D 1E 06 03 1B 1D 1F");
    EXPECT_EQ(vp.hostRead(32768, 0), hex("1B 1D 1E 06 03 05 00 00 00 00 00 00"));
    EXPECT_EQ(vp.hostRead(32768, 0), hex("4A 5A 01 00 07"));
}

TEST(Script, ReplyFaultsShapeTheScriptedReply) {
    auto vp = makePrinter();
    vp.faults().garbageBeforeFrame = hex("AA BB");
    vp.script({{"model query", {hex("01 02")}}});
    send(vp, "1B 1D 1E 04 0F 01 07 1B 1D 1F");
    EXPECT_EQ(drain(vp), hex("AA BB 01 02"));
}

TEST(Script, UnexpectedRequestIsMarkedAndAnswersNothing) {
    auto vp = makePrinter();
    vp.script({{"model query", {hex("01 02")}}, {"menu request", {}}});

    send(vp, "1B 1D 1E 06 03 1B 1D 1F");
    EXPECT_TRUE(drain(vp).empty());
    EXPECT_EQ(vp.scriptLeft(), 2u) << "the step waits for its own command";
    EXPECT_EQ(vp.commandLog(), (Log{"unexpected menu request"}));

    send(vp, "1B 1D 1E 04 0F 01 07 1B 1D 1F");
    EXPECT_EQ(drain(vp), hex("01 02"));
    send(vp, "1B 1D 1E 06 03 1B 1D 1F");
    EXPECT_TRUE(drain(vp).empty()) << "a step without segments answers nothing";
    EXPECT_EQ(vp.scriptLeft(), 0u);
}

}  // namespace
}  // namespace vprinter_test
