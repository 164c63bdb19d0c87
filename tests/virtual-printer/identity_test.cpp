// The identity a printer shows to the port library and the class driver.

#include <gtest/gtest.h>

#include "wire.h"

namespace vprinter_test {
namespace {

using vprinter::ItemCode;

TEST(Identity, TypicalPrinter) {
    const auto id = vprinter::makeIdentity("WQ-472", "A1B2C3", 2);
    EXPECT_EQ(id.devicePath, "\\\\?\\usb#vid_5a4b&pid_0472#A1B2C3#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}");
    EXPECT_EQ(id.portName, "USB002");
    EXPECT_EQ(id.deviceId, "MFG:Varintex;MDL:WQ-472;CMD:ESC;");
    EXPECT_EQ(id.serial(), "A1B2C3");
    EXPECT_EQ(vprinter::makeIdentity("WQ-472", "S", 12, false).deviceId, "MFG:Varintex;CMD:ESC;");
    EXPECT_EQ(vprinter::makeIdentity("WQ-472", "S", 123).portName, "USB123");
}

TEST(Identity, SerialOfOddPaths) {
    struct Case {
        const char* path;
        const char* serial;
    };
    const Case cases[] = {
        {"\\\\?\\usb#vid_1&pid_2#SN#{guid}", "SN"},
        {"\\\\?\\usb#vid_1&pid_2##{guid}", ""},
        {"\\\\?\\usb#vid_1&pid_2#SN", ""},
        {"no hashes at all", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        vprinter::Identity id;
        id.devicePath = c.path;
        EXPECT_EQ(id.serial(), c.serial);
    }
}

TEST(ItemCode, FromMenuTexts) {
    struct Case {
        const char* name;
        const char* get;
        const char* set;
        std::optional<ItemCode> code;
    };
    const Case cases[] = {
        {"FramedSet", "24", "1B 1D 1E 04 24", ItemCode(0x24)},
        {"HeadlessSet", "0A", "00 0B", ItemCode(0x0A, 0x00, 0x0B)},
        {"LowerCaseNoBlanks", "4b", "1b1d1e0413", ItemCode(0x4B, 0x04, 0x13)},
        {"GetOfTwoBytes", "24 25", "1B 1D 1E 04 24", std::nullopt},
        {"EmptyGet", "", "1B 1D 1E 04 24", std::nullopt},
        {"SetTooLong", "24", "1B 1D 1E 04 24 01", std::nullopt},
        {"SetHeadOnly", "24", "1B 1D 1E", std::nullopt},
        {"NotHex", "2G", "04 24", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ItemCode::fromMenuTexts(c.get, c.set), c.code);
    }
}

}  // namespace
}  // namespace vprinter_test
