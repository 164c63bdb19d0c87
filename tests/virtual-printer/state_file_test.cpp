// The state file lets a second process see the same printer.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "wire.h"

namespace vprinter_test {
namespace {

namespace fs = std::filesystem;

class StateFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vprinter-state-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir);
        path = (dir / "printer.state").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    fs::path dir;
    std::string path;
};

// Everything a later process could ask for comes back the same.
TEST_F(StateFile, RoundTrip) {
    auto first = makePrinter();
    first.defineItem(0x24, 1, -2);
    first.defineItem(vprinter::ItemCode(0x4B, 0x04, 0x13), 2, -5);
    first.defineItem(0x30, 3, 0xA00001);
    first.setModelName("WQ 472 plus");
    first.setMenuFile(hex("5B 42 61 73 65 53 65 63 74 69 6F 6E 5D 0D 0A"));
    first.faults().replyDelayMs = 25;
    first.faults().garbageBeforeFrame = hex("00 FF");
    first.faults().menuLengthOverride = 40000;
    first.faults().shortWrite = 3;
    first.faults().statusByte = 0x1F;
    first.faults().menuInSecondRead = true;
    ASSERT_TRUE(first.saveState(path));

    auto second = makePrinter();
    ASSERT_TRUE(second.loadState(path));
    EXPECT_EQ(second.faults(), first.faults());
    EXPECT_EQ(second.itemValue(0x24), -2);
    EXPECT_EQ(second.itemValue(vprinter::ItemCode(0x4B, 0x04, 0x13)), -5);
    EXPECT_EQ(second.itemValue(0x30), 0xA00001);

    first.faults().shortWrite.reset();
    second.faults().shortWrite.reset();
    for (const char* command : {"1B 1D 1E 05 03 03 24 4B 30 1B 1D 1F",
                                "1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F", "1B 1D 1E 06 03 1B 1D 1F"}) {
        SCOPED_TRACE(command);
        send(first, command, 0);
        send(second, command, 0);
        EXPECT_EQ(drain(second, 100), drain(first, 100));
    }
}

// A change saved by one process is what the next one reads.
TEST_F(StateFile, SettingSurvivesTheHandOver) {
    auto writer = makePrinter();
    writer.defineItem(0x24, 1, 0);
    send(writer, "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 24 03 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    ASSERT_TRUE(writer.saveState(path));
    auto reader = makePrinter();
    ASSERT_TRUE(reader.loadState(path));
    EXPECT_EQ(reader.itemValue(0x24), 3);
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(StateFile, DamagedFilesChangeNothing) {
    const std::string good = "vprinter-state 1\nmodel 41\nitem 24 04 24 1 000005\nmenu -\nfault wrongCrc 1\n";
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"Empty", ""},
        {"WrongFirstLine", "vprinter-state 2\nmodel 41\n"},
        {"UnknownRecord", good + "colour red\n"},
        {"UnknownFault", good + "fault smoke 1\n"},
        {"FlagNotZeroOrOne", good + "fault noReply yes\n"},
        {"ItemWidthFour", good + "item 25 04 25 4 000001\n"},
        {"ItemValueTooWideForWidth", good + "item 25 04 25 1 000100\n"},
        {"ItemMissingField", good + "item 25 04 25 1\n"},
        {"OddHex", good + "menu 4A5\n"},
        {"NegativeDelay", good + "fault replyDelayMs -5\n"},
        {"StatusByteTooLarge", good + "fault statusByte 256\n"},
        // Regression: any padding was taken, and the next reply asked for that many bytes.
        {"PaddingBeyondAnyReply", good + "fault padReplyTo 100000000000\n"},
        {"PaddingOneBeyondTheBound", good + "fault padReplyTo " + std::to_string(vprinter::kMaxPadReplyTo + 1) + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto vp = makePrinter();
        vp.defineItem(0x24, 1, 9);
        write(c.text);
        EXPECT_FALSE(vp.loadState(path));
        EXPECT_EQ(vp.itemValue(0x24), 9);
        EXPECT_FALSE(vp.faults().wrongCrc);
    }
    auto vp = makePrinter();
    EXPECT_FALSE(vp.loadState((dir / "missing.state").string()));
    write(good);
    EXPECT_TRUE(vp.loadState(path)) << "the base text itself is good";
    EXPECT_EQ(vp.itemValue(0x24), 5);
    EXPECT_TRUE(vp.faults().wrongCrc);
    write(good + "fault padReplyTo " + std::to_string(vprinter::kMaxPadReplyTo) + "\n");
    EXPECT_TRUE(vp.loadState(path)) << "padding up to the bound is taken";
    EXPECT_EQ(vp.faults().padReplyTo, vprinter::kMaxPadReplyTo);
}

TEST_F(StateFile, UnwritableFolderFails) {
    auto vp = makePrinter();
    EXPECT_FALSE(vp.saveState((dir / "no-such-folder" / "printer.state").string()));
}

}  // namespace
}  // namespace vprinter_test
