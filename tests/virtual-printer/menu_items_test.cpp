// A printer can take its items from the menu definition it serves.

#include <gtest/gtest.h>

#include <string>

#include "wire.h"

namespace vprinter_test {
namespace {

using vprinter::ItemCode;

const char* const kMenu =
    "[BaseSection]\r\n"
    "ItemCount=4\r\n"
    "[BaseItem01]\r\n"
    "Name=LineSpacing\r\n"
    "GetInstruction=24\r\n"
    "SetInstruction=1B 1D 1E 04 24\r\n"
    "Default=2\r\n"
    "[baseitem02]\r\n"
    "getinstruction = 4B\r\n"
    "SETINSTRUCTION = 1B 1D 1E 04 13\r\n"
    "ParameterCount=2\r\n"
    "Default=-5\r\n"
    "Default=7\r\n"
    "[BaseItem03]\r\n"
    "GetInstruction=30\r\n"
    "SetInstruction=1B 1D 1E 04 30\r\n"
    "ParameterCount=3\r\n"
    "Default=$A00000\r\n"
    "[BaseItem04]\r\n"
    "Name=NormalSet\r\n"
    "GetInstruction=12\r\n"
    "SetInstruction=1B 1D 1E 12 09 1B 1D 1F\r\n"
    "[SubGroup01Item01]\r\n"
    "GetInstruction=0A\r\n"
    "SetInstruction=00 0B\r\n"
    "Default=0x3\r\n"
    "[SubGroup01Item02]\r\n"
    "GetInstruction=0C\r\n"
    "SetInstruction=00 0D\r\n"
    "ParameterCount=4\r\n"
    "[MaintenanceItem01]\r\n"
    "Icon=Ink_Clean\r\n"
    "SetInstruction=1B 1D 1E 10 01 1B 1D 1F\r\n"
    "[BaseItem01]\r\n"
    "GetInstruction=25\r\n"
    "SetInstruction=1B 1D 1E 04 25\r\n";

void expectItems(vprinter::VirtualPrinter& vp) {
    EXPECT_EQ(vp.itemValue(0x24), 2);
    EXPECT_EQ(vp.itemValue(ItemCode(0x4B, 0x04, 0x13)), -5) << "the first of two keys counts";
    EXPECT_EQ(vp.itemValue(0x30), 0xA00000);
    EXPECT_EQ(vp.itemValue(ItemCode(0x0A, 0x00, 0x0B)), 3);
    EXPECT_FALSE(vp.itemValue(ItemCode(0x0C, 0x00, 0x0D)).has_value()) << "no such width";
    EXPECT_FALSE(vp.itemValue(0x25).has_value()) << "a repeated section is not read again";
}

TEST(MenuItems, EightBitText) {
    auto vp = makePrinter();
    const std::string text = kMenu;
    EXPECT_EQ(vp.defineItemsFromMenu(Bytes(text.begin(), text.end())), 4u);
    expectItems(vp);
    send(vp, "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 24 09 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(vp.itemValue(0x24), 9);
}

TEST(MenuItems, Utf16WithByteOrderMark) {
    auto vp = makePrinter();
    Bytes wide = {0xFF, 0xFE};
    for (const char* c = kMenu; *c; ++c) {
        wide.push_back(static_cast<std::uint8_t>(*c));
        wide.push_back(0x00);
    }
    // A localised title with characters beyond ASCII in between.
    for (std::uint8_t b : hex("5B 00 58 00 5D 00 0D 00 0A 00 54 00 3D 00 E5 65 2C 67 0D 00 0A 00")) {
        wide.push_back(b);
    }
    EXPECT_EQ(vp.defineItemsFromMenu(wide), 4u);
    expectItems(vp);
}

TEST(MenuItems, NothingUsable) {
    auto vp = makePrinter();
    EXPECT_EQ(vp.defineItemsFromMenu({}), 0u);
    EXPECT_EQ(vp.defineItemsFromMenu(hex("00 FF 5B 5D 3D 0D 0A 3D 3D")), 0u);
}

}  // namespace
}  // namespace vprinter_test
