// Value reads: the reply to one item and to a page of items, byte for byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wire.h"

namespace vprinter_test {
namespace {

using vprinter::ItemCode;

TEST(ValueRead, OneItemByWidth) {
    struct Case {
        const char* name;
        int width;
        std::int32_t value;
        const char* reply;
    };
    const Case cases[] = {
        {"ByteMinusTwo", 1, -2, "1B 1D 1E 05 03 00 24 01 FE 1B 1D 1F"},
        {"ByteLowestNegative", 1, -64, "1B 1D 1E 05 03 00 24 01 C0 1B 1D 1F"},
        {"ByteHighestPositive", 1, 191, "1B 1D 1E 05 03 00 24 01 BF 1B 1D 1F"},
        {"WordMinusFive", 2, -5, "1B 1D 1E 05 03 00 24 02 05 80 1B 1D 1F"},
        {"WordLowByteFirst", 2, 300, "1B 1D 1E 05 03 00 24 02 2C 01 1B 1D 1F"},
        {"WordHighestPositive", 2, 32767, "1B 1D 1E 05 03 00 24 02 FF 7F 1B 1D 1F"},
        {"MaskFive", 3, 5, "1B 1D 1E 05 03 00 24 03 00 00 05 1B 1D 1F"},
        {"MaskFirstAndThirdOption", 3, 0xA00000, "1B 1D 1E 05 03 00 24 03 A0 00 00 1B 1D 1F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto vp = makePrinter();
        ASSERT_TRUE(vp.defineItem(0x24, c.width, c.value));
        send(vp, "1B 1D 1E 05 03 01 24 1B 1D 1F", 500);
        EXPECT_EQ(vp.nextReplyAt(), 500u);
        EXPECT_EQ(drain(vp, 500), hex(c.reply));
        EXPECT_EQ(vp.itemValue(0x24), c.value);
        EXPECT_EQ(vp.commandLog(), std::vector<std::string>{"read 01 items"});
    }
}

// A page of twelve items as the main window asks for it: the count in lower case, entries in request order.
TEST(ValueRead, TwelveItemPage) {
    auto vp = makePrinter();
    vp.defineItem(0x21, 1, 2);
    vp.defineItem(0x22, 2, 16);
    vp.defineItem(0x23, 1, -1);
    vp.defineItem(0x24, 1, 0);
    vp.defineItem(0x25, 2, -300);
    vp.defineItem(0x26, 3, 0x800001);
    vp.defineItem(0x27, 1, 5);
    vp.defineItem(0x28, 1, 100);
    vp.defineItem(0x29, 2, 1000);
    vp.defineItem(0x2A, 1, 7);
    vp.defineItem(0x2B, 1, -64);
    vp.defineItem(0x2C, 1, 3);

    send(vp, "1b 1d 1e 05 03 0c 21 22 23 24 25 26 27 28 29 2a 2b 2c 1b 1d 1f");
    const Bytes expected =
        hex("1B 1D 1E 05 03 0B "
            "21 01 02  22 02 10 00  23 01 FF  24 01 00  25 02 2C 81  26 03 80 00 01 "
            "27 01 05  28 01 64  29 02 E8 03  2A 01 07  2B 01 C0  2C 01 03 "
            "1B 1D 1F");
    EXPECT_EQ(drain(vp), expected);
    EXPECT_EQ(vp.commandLog(), std::vector<std::string>{"read 0C items"});
}

TEST(ValueRead, OrderAndUnknownCodes) {
    struct Case {
        const char* name;
        const char* command;
        const char* reply;  // empty: no answer at all
    };
    const Case cases[] = {
        {"EntriesFollowTheRequestOrder", "1B 1D 1E 05 03 02 22 21 1B 1D 1F",
         "1B 1D 1E 05 03 01 22 02 10 00 21 01 02 1B 1D 1F"},
        {"UnknownCodeGetsNoEntry", "1B 1D 1E 05 03 03 21 99 22 1B 1D 1F",
         "1B 1D 1E 05 03 01 21 01 02 22 02 10 00 1B 1D 1F"},
        {"NothingKnownIsNotAnswered", "1B 1D 1E 05 03 01 99 1B 1D 1F", ""},
        {"EmptyPageIsNotAnswered", "1B 1D 1E 05 03 00 1B 1D 1F", ""},
        {"CountAboveCodesIsRefused", "1B 1D 1E 05 03 03 21 22 1B 1D 1F", ""},
        {"CountBelowCodesIsRefused", "1B 1D 1E 05 03 01 21 22 1B 1D 1F", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto vp = makePrinter();
        vp.defineItem(0x21, 1, 2);
        vp.defineItem(0x22, 2, 16);
        send(vp, c.command);
        EXPECT_EQ(drain(vp), hex(c.reply));
    }
}

// Read codes and set codes are separate: the top-of-form item is set with 04 13 and read as 4B.
// Regression: the read ended at the first bytes that spelled the tail, so codes 1B 1D 1F cut the frame.
TEST(ValueRead, CodesThatSpellTheTailStayInsideTheFrame) {
    auto vp = makePrinter();
    ASSERT_TRUE(vp.defineItem(0x1B, 1, 3));
    ASSERT_TRUE(vp.defineItem(0x1D, 1, 4));
    ASSERT_TRUE(vp.defineItem(0x1F, 1, 5));
    send(vp, "1B 1D 1E 05 03 03 1B 1D 1F 1B 1D 1F", 0);
    EXPECT_EQ(drain(vp, 0), hex("1B 1D 1E 05 03 02 1B 01 03 1D 01 04 1F 01 05 1B 1D 1F"));
    EXPECT_EQ(vp.commandLog(), std::vector<std::string>{"read 03 items"});
}

TEST(ValueRead, ReadCodeDiffersFromSetCode) {
    auto vp = makePrinter();
    const ItemCode topOfForm{0x4B, 0x04, 0x13};
    vp.defineItem(topOfForm, 2, 0);
    send(vp, "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 13 05 80 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    send(vp, "1B 1D 1E 05 03 01 13 1B 1D 1F");
    EXPECT_TRUE(drain(vp).empty()) << "13 is a set code, not a read code";
    send(vp, "1B 1D 1E 05 03 01 4B 1B 1D 1F");
    EXPECT_EQ(drain(vp), hex("1B 1D 1E 05 03 00 4B 02 05 80 1B 1D 1F"));
}

TEST(ValueRead, RedefiningReplacesTheItem) {
    auto vp = makePrinter();
    vp.defineItem(0x21, 1, 2);
    vp.defineItem(ItemCode(0x21, 0x00, 0x40), 2, 7);
    EXPECT_FALSE(vp.itemValue(0x21).has_value());
    EXPECT_EQ(vp.itemValue(ItemCode(0x21, 0x00, 0x40)), 7);
    EXPECT_FALSE(vp.defineItem(0x50, 4, 0));
    EXPECT_FALSE(vp.defineItem(0x50, 0, 0));
    EXPECT_FALSE(vp.itemValue(0x50).has_value());
}

}  // namespace
}  // namespace vprinter_test
