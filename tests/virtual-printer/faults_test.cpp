// Each fault does what it says, and only that.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "wire.h"

namespace vprinter_test {
namespace {

const char* const kRead = "1B 1D 1E 05 03 01 24 1B 1D 1F";
const char* const kReply = "1B 1D 1E 05 03 00 24 01 05 1B 1D 1F";
const char* const kModelQuery = "1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F";
const char* const kEnterSetSave = "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 24 07 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F";

class FaultTest : public ::testing::Test {
  protected:
    void SetUp() override { vp.defineItem(0x24, 1, 5); }
    vprinter::VirtualPrinter vp = makePrinter();
};

TEST_F(FaultTest, NoneByDefault) {
    EXPECT_EQ(vp.faults(), vprinter::Faults{});
    EXPECT_TRUE(vp.canOpen());
    EXPECT_EQ(vp.statusByte(), 0x18);
    EXPECT_EQ(send(vp, kRead, 0), 10u);
    EXPECT_EQ(drain(vp), hex(kReply));
}

TEST_F(FaultTest, Unplugged) {
    vp.faults().unplugged = true;
    EXPECT_FALSE(vp.canOpen());
    EXPECT_EQ(send(vp, kEnterSetSave), 0u);
    EXPECT_TRUE(vp.writes().empty());
    EXPECT_EQ(vp.itemValue(0x24), 5);
    vp.faults().unplugged = false;
    send(vp, kRead);
    vp.faults().unplugged = true;
    EXPECT_FALSE(vp.nextReplyAt().has_value());
    EXPECT_TRUE(vp.hostRead(100, 0).empty());
}

TEST_F(FaultTest, NoReplySwallowsCommands) {
    vp.faults().noReply = true;
    EXPECT_EQ(send(vp, kRead), 10u);
    EXPECT_EQ(send(vp, kEnterSetSave), 25u);
    EXPECT_FALSE(vp.nextReplyAt().has_value());
    EXPECT_TRUE(vp.hostRead(100, 1000000).empty());
    EXPECT_EQ(vp.itemValue(0x24), 5) << "swallowed, not processed";
    EXPECT_EQ(vp.writes().size(), 2u) << "the writes still arrived";
}

TEST_F(FaultTest, ReplyDelay) {
    vp.faults().replyDelayMs = 300;
    send(vp, kRead, 1000);
    EXPECT_EQ(vp.nextReplyAt(), 1300u);
    EXPECT_TRUE(vp.hostRead(100, 1299).empty());
    EXPECT_EQ(vp.hostRead(100, 1300), hex(kReply));
}

TEST_F(FaultTest, ReplyInChunks) {
    vp.faults().replyChunk = 5;
    vp.faults().replyChunkGapMs = 20;
    send(vp, kRead, 100);
    const Bytes whole = hex(kReply);
    EXPECT_EQ(vp.hostRead(100, 100), Bytes(whole.begin(), whole.begin() + 5));
    EXPECT_TRUE(vp.hostRead(100, 119).empty());
    EXPECT_EQ(vp.nextReplyAt(), 120u);
    // A read smaller than a piece leaves the rest of that piece readable at once.
    EXPECT_EQ(vp.hostRead(2, 120), Bytes(whole.begin() + 5, whole.begin() + 7));
    EXPECT_EQ(vp.hostRead(100, 120), Bytes(whole.begin() + 7, whole.begin() + 10));
    EXPECT_EQ(vp.nextReplyAt(), 140u);
    // A late reader still gets one piece per read.
    EXPECT_EQ(vp.hostRead(100, 5000), Bytes(whole.begin() + 10, whole.end()));
    EXPECT_FALSE(vp.nextReplyAt().has_value());
}

TEST_F(FaultTest, ChunksWithoutGapStillComeOnePerRead) {
    vp.faults().replyChunk = 4;
    send(vp, kRead);
    EXPECT_EQ(vp.hostRead(100, 0).size(), 4u);
    EXPECT_EQ(vp.hostRead(100, 0).size(), 4u);
    EXPECT_EQ(vp.hostRead(100, 0).size(), 4u);
    EXPECT_TRUE(vp.hostRead(100, 0).empty());
}

TEST_F(FaultTest, GarbageBeforeFrame) {
    vp.faults().garbageBeforeFrame = hex("AA BB");
    send(vp, kRead);
    EXPECT_EQ(drain(vp), cat(hex("AA BB"), hex(kReply)));
    send(vp, kModelQuery);
    const Bytes reply = drain(vp);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 5), hex("AA BB 1B 1D 1E"));
}

TEST_F(FaultTest, PadReplyBeyondTheReadBuffer) {
    vp.faults().padReplyTo = 32769;
    send(vp, kRead);
    const Bytes reply = drain(vp);
    ASSERT_EQ(reply.size(), 32769u);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 12), hex(kReply));
    EXPECT_TRUE(std::all_of(reply.begin() + 12, reply.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(FaultTest, PadNeverShortens) {
    vp.faults().padReplyTo = 4;
    send(vp, kRead);
    EXPECT_EQ(drain(vp), hex(kReply));
}

TEST_F(FaultTest, WrongCrc) {
    vp.faults().wrongCrc = true;
    send(vp, kModelQuery);
    const Bytes reply = drain(vp);
    const Bytes crc = hex("C5 88 CA 3F");
    EXPECT_EQ(std::search(reply.begin(), reply.end(), crc.begin(), crc.end()), reply.end());
    EXPECT_EQ(reply.size(), 21u) << "only the CRC differs";
}

TEST_F(FaultTest, ShortWrite) {
    vp.faults().shortWrite = 5;
    EXPECT_EQ(send(vp, kEnterSetSave), 5u);
    ASSERT_EQ(vp.writes().size(), 1u);
    EXPECT_EQ(vp.writes()[0], hex("1B 1D 1E 05 01"));
    EXPECT_FALSE(vp.inSettingsMode());
    EXPECT_EQ(vp.itemValue(0x24), 5);
    EXPECT_EQ(send(vp, "00 11"), 2u) << "a write within the limit goes whole";
}

// The cut-off enter of a short write does not take the next command with it.
TEST_F(FaultTest, ShortWriteLeavesTheNextCommandIntact) {
    vp.faults().shortWrite = 5;
    send(vp, kEnterSetSave);
    vp.faults().shortWrite.reset();
    send(vp, kRead);
    EXPECT_EQ(drain(vp), hex(kReply));
}

TEST_F(FaultTest, StatusByte) {
    vp.faults().statusByte = 0x1F;
    EXPECT_EQ(vp.statusByte(), 0x1F);
}

TEST_F(FaultTest, DiscardPendingReplies) {
    vp.faults().replyDelayMs = 100;
    send(vp, kRead, 0);
    send(vp, kModelQuery, 0);
    vp.discardPendingReplies();
    EXPECT_FALSE(vp.nextReplyAt().has_value());
    EXPECT_TRUE(vp.hostRead(100, 1000).empty());
    send(vp, kRead, 1000);
    EXPECT_EQ(vp.hostRead(100, 1100), hex(kReply));
}

// Replies queue in the order of their commands; one read may take several of them.
TEST_F(FaultTest, RepliesQueueInOrder) {
    send(vp, cat(hex(kRead), hex(kRead)));
    EXPECT_EQ(vp.hostRead(100, 0), cat(hex(kReply), hex(kReply)));
    send(vp, cat(hex(kRead), hex(kRead)));
    EXPECT_EQ(vp.hostRead(15, 0), cat(hex(kReply), hex("1B 1D 1E")));
    EXPECT_EQ(vp.hostRead(100, 0), hex("05 03 00 24 01 05 1B 1D 1F"));
}

}  // namespace
}  // namespace vprinter_test
