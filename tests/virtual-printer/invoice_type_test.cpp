// The invoice-type settings of booklet and card forms: read at fixed reply positions, set in raw frames whose
// set codes differ from the read codes, and the page length measurement.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wire.h"

namespace vprinter_test {
namespace {

using vprinter::ItemCode;

const ItemCode kTopOfForm{0x4B, 0x04, 0x13};      // width 2, sign and magnitude
const ItemCode kBookletHeight{0x4D, 0x00, 0x1A};  // width 2
const ItemCode kLeftMargin{0x0A, 0x00, 0x0B};     // width 1
const ItemCode kCopyStrength{0x0F, 0x00, 0x10};   // width 1, 7 = automatic

class InvoiceType : public ::testing::Test {
protected:
    void SetUp() override {
        vp.defineItem(kTopOfForm, 2, -5);
        vp.defineItem(kBookletHeight, 2, 600);
        vp.defineItem(kLeftMargin, 1, 2);
        vp.defineItem(kCopyStrength, 1, 7);
    }
    vprinter::VirtualPrinter vp = makePrinter();
};

// The dialog takes its values at fixed offsets: 8-9 top of form, 12 left margin, 15 copy strength, 18-19 the
// booklet height; the reply keeps the order asked.
TEST_F(InvoiceType, ReadsAnswerInTheOrderAsked) {
    struct Case {
        const char* name;
        const char* read;
        const char* reply;
    };
    const Case cases[] = {
        {"FourItemsBookletShown", "1B 1D 1E 05 03 04 4B 0A 0F 4D 1B 1D 1F",
         "1B 1D 1E 05 03 03 4B 02 05 80 0A 01 02 0F 01 07 4D 02 58 02 1B 1D 1F"},
        {"ThreeItemsBookletHidden", "1B 1D 1E 05 03 03 4B 0A 0F 1B 1D 1F",
         "1B 1D 1E 05 03 02 4B 02 05 80 0A 01 02 0F 01 07 1B 1D 1F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(hex(c.read).size(), std::string(c.name).starts_with("Four") ? 13u : 12u);
        send(vp, c.read);
        EXPECT_EQ(drain(vp), hex(c.reply));
    }
}

// The set of the dialog: enter, one raw frame per field, save.
TEST_F(InvoiceType, RawFramesSetEveryField) {
    send(vp,
         "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 13 00 00 1B 1D 1F 1B 1D 1E 00 1A 04 00 1B 1D 1F "
         "1B 1D 1E 00 0B 05 1B 1D 1F 1B 1D 1E 00 10 02 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(vp.itemValue(kTopOfForm), 0);
    EXPECT_EQ(vp.itemValue(kBookletHeight), 4);
    EXPECT_EQ(vp.itemValue(kLeftMargin), 5);
    EXPECT_EQ(vp.itemValue(kCopyStrength), 2);
    EXPECT_EQ(vp.commandLog(),
              (std::vector<std::string>{"enter", "set 13=00 00", "set 1A=04 00", "set 0B=05", "set 10=02", "save"}));
}

TEST_F(InvoiceType, MeasuredLengthIsReadableOnceTheMeasurementEnds) {
    const char* const kMeasure = "1B 1D 1E 00 1B 00 00 1B 1D 1F";
    const char* const kReadLength = "1B 1D 1E 05 03 01 4E 1B 1D 1F";
    vp.setPageLength(600);

    send(vp, kReadLength, 0);
    EXPECT_EQ(drain(vp, 0), hex("1B 1D 1E 05 03 00 4E 02 00 00 1B 1D 1F")) << "nothing measured yet";
    send(vp, kMeasure, 1000);
    EXPECT_FALSE(vp.nextReplyAt().has_value()) << "the measurement itself is not answered";
    send(vp, kReadLength, 5999);
    EXPECT_EQ(drain(vp, 5999), hex("1B 1D 1E 05 03 00 4E 02 00 00 1B 1D 1F")) << "still measuring";
    send(vp, kReadLength, 6000);
    EXPECT_EQ(drain(vp, 6000), hex("1B 1D 1E 05 03 00 4E 02 58 02 1B 1D 1F"));

    // A later page is found only by a new measurement; an unsigned length above 32767 stays as it is.
    vp.setPageLength(0x9000);
    send(vp, kReadLength, 7000);
    EXPECT_EQ(drain(vp, 7000), hex("1B 1D 1E 05 03 00 4E 02 58 02 1B 1D 1F"));
    send(vp, kMeasure, 8000);
    send(vp, kReadLength, 13000);
    EXPECT_EQ(drain(vp, 13000), hex("1B 1D 1E 05 03 00 4E 02 00 90 1B 1D 1F"));

    EXPECT_FALSE(vp.inSettingsMode());
    EXPECT_EQ(vp.itemValue(kBookletHeight), 600) << "measuring sets nothing";
    EXPECT_EQ(vp.commandLog()[1], "measure page length");
}

TEST_F(InvoiceType, MeasureWithOtherDataIsMalformed) {
    vp.setPageLength(600);
    send(vp, "1B 1D 1E 00 1B 01 00 1B 1D 1F 1B 1D 1E 05 03 01 4E 1B 1D 1F", 10000);
    EXPECT_EQ(drain(vp, 10000), hex("1B 1D 1E 05 03 00 4E 02 00 00 1B 1D 1F"));
    EXPECT_EQ(vp.commandLog(), (std::vector<std::string>{"malformed 1B 1D 1E 00 1B 01 00 1B ...", "read 01 items"}));
}

}  // namespace
}  // namespace vprinter_test
