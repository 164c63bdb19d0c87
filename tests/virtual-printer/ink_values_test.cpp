// The ink printer's values outside the menu: alignment per resolution, drying time, page count and ink level,
// read back in frames that repeat the command and set by their own frames.

#include <gtest/gtest.h>

#include <string>

#include "wire.h"

namespace vprinter_test {
namespace {

struct ReadCase {
    const char* name;
    const char* command;
    const char* reply;
};

TEST(InkValues, ReadsRepeatTheCommandAndPutTheValueAfterIt) {
    vprinter::VirtualPrinter vp = makePrinter();
    vp.setAlignment(0, -6);
    vp.setAlignment(1, 3);
    vp.setAlignment(2, 10);
    vp.setDryingTime(150);
    vp.setPageCount(0x80000001u);
    vp.setInkLevel(75);
    const ReadCase cases[] = {
        {"alignment 300 dpi", "1B 1D 1E 12 02 01 00 1B 1D 1F", "1B 1D 1E 12 02 01 00 FA 1B 1D 1F"},
        {"alignment 600 dpi", "1B 1D 1E 12 02 01 01 1B 1D 1F", "1B 1D 1E 12 02 01 01 03 1B 1D 1F"},
        {"alignment 1200 dpi", "1B 1D 1E 12 02 01 02 1B 1D 1F", "1B 1D 1E 12 02 01 02 0A 1B 1D 1F"},
        {"page count", "1B 1D 1E 12 07 02 1B 1D 1F", "1B 1D 1E 12 07 02 01 00 00 80 1B 1D 1F"},
        {"ink level", "1B 1D 1E 12 07 07 1B 1D 1F", "1B 1D 1E 12 07 07 4B 1B 1D 1F"},
        {"drying time", "1B 1D 1E 12 09 1B 1D 1F", "1B 1D 1E 12 09 96 00 1B 1D 1F"},
        {"a counter the printer does not keep", "1B 1D 1E 12 07 05 1B 1D 1F", ""},
        {"an unknown resolution", "1B 1D 1E 12 02 01 03 1B 1D 1F", ""},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        send(vp, c.command);
        EXPECT_EQ(drain(vp), hex(c.reply));
    }
}

TEST(InkValues, TheAlignmentItemsFrameSetsOneResolutionInsideSettingsMode) {
    vprinter::VirtualPrinter vp = makePrinter();
    send(vp, "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 11 02 01 02 F9 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(vp.alignment(2), -7);
    EXPECT_EQ(vp.alignment(0), 0);
    EXPECT_EQ(vp.alignment(1), 0);

    // Outside settings mode the frame is noted and changes nothing.
    send(vp, "1B 1D 1E 11 02 01 01 05 1B 1D 1F");
    EXPECT_EQ(vp.alignment(1), 0);
    EXPECT_EQ(vp.commandLog().back(), "set alignment 01=05 (not in settings mode)");

    // A value byte that spells the tail's first byte does not cut the frame.
    send(vp, "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 11 02 01 00 1B 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(vp.alignment(0), 0x1B);
}

TEST(InkValues, TheDryingFrameSetsAloneAndThePatternPrintAnswersNothing) {
    vprinter::VirtualPrinter vp = makePrinter();
    send(vp, "1B 1D 1E 11 1D 96 00 1B 1D 1F");
    EXPECT_EQ(vp.dryingTime(), 150);
    send(vp, "1B 1D 1E 10 10 01 01 1B 1D 1F");
    EXPECT_TRUE(drain(vp).empty());
    EXPECT_EQ(vp.commandLog(), (std::vector<std::string>{"set drying time 96 00", "print alignment pattern 01"}));
}

}  // namespace
}  // namespace vprinter_test
