// Garbage on the wire is logged and ignored, never crashes, and never costs the next good command.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>

#include "wire.h"

namespace vprinter_test {
namespace {

const char* const kRead = "1B 1D 1E 05 03 01 24 1B 1D 1F";

// Bytes drawn mostly from the ones that make up heads, tails and known commands, so that the parser's
// partial-frame paths are hit, not only its data path.
Bytes noise(std::mt19937& random, std::size_t n) {
    static constexpr std::uint8_t kLikely[] = {0x1B, 0x1D, 0x1E, 0x1F, 0x05, 0x01, 0x02, 0x03,
                                               0x04, 0x0F, 0x06, 0x24, 0x08, 0x00, 0xFF};
    Bytes out(n);
    for (auto& b : out) {
        b = random() % 4 == 0 ? static_cast<std::uint8_t>(random()) : kLikely[random() % sizeof kLikely];
    }
    return out;
}

// What the printer must answer to kRead for the value it holds now.
Bytes expectedReply(vprinter::VirtualPrinter& vp) {
    const std::int32_t v = *vp.itemValue(0x24);
    return cat(hex("1B 1D 1E 05 03 00 24 01"),
               cat(Bytes{static_cast<std::uint8_t>(v < 0 ? v + 256 : v)}, hex("1B 1D 1F")));
}

// After any garbage, a clean frame that follows is answered. The frame head it begins with ends whatever
// broken frame the garbage left open.
TEST(Garbage, RandomBytesThenAGoodCommand) {
    std::mt19937 random(20240611);
    // One printer for all rounds, so that whatever a round leaves behind meets the next round's garbage.
    auto vp = makePrinter();
    vp.defineItem(0x24, 1, 5);
    vp.defineItem(0x0F, 2, 1);
    vp.setMenuFile(hex("5B 41 5D"));
    for (int round = 0; round < 2000; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Bytes junk = noise(random, 1 + random() % 64);
        std::size_t pos = 0;
        while (pos < junk.size()) {
            const std::size_t n = std::min<std::size_t>(junk.size() - pos, 1 + random() % 8);
            send(vp, Bytes(junk.begin() + static_cast<std::ptrdiff_t>(pos),
                           junk.begin() + static_cast<std::ptrdiff_t>(pos + n)));
            pos += n;
        }
        drain(vp);
        send(vp, kRead);
        ASSERT_EQ(drain(vp), expectedReply(vp));
    }
}

TEST(Garbage, RandomPrintJobs) {
    std::mt19937 random(99);
    auto vp = makePrinter();
    vp.defineItem(0x24, 1, 5);
    for (int round = 0; round < 500; ++round) {
        vp.hostPrintJob(L"noise", noise(random, random() % 200), round);
    }
    drain(vp, 1000);
    send(vp, kRead, 1000);
    EXPECT_EQ(drain(vp, 1000), expectedReply(vp));
    EXPECT_EQ(vp.jobs().size(), 500u);
}

TEST(Garbage, LoggedAndIgnored) {
    struct Case {
        const char* name;
        const char* bytes;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"PrintData", "1B 40 41 42 43 0A 0C", {"data 7 bytes"}},
        {"PrintDataBeforeAFrame", "1B 40 1B 1D 1E 05 03 01 24 1B 1D 1F", {"data 2 bytes", "read 01 items"}},
        {"UnknownClass", "1B 1D 1E 07 01 02 1B 1D 1F", {"unknown 1B 1D 1E 07 01 02 1B 1D ..."}},
        {"UnknownSettingsCommand", "1B 1D 1E 05 09 1B 1D 1F", {"unknown 1B 1D 1E 05 09 1B 1D 1F"}},
        {"EmptyFrame", "1B 1D 1E 1B 1D 1F", {"unknown 1B 1D 1E 1B 1D 1F"}},
        {"EnterWithData", "1B 1D 1E 05 01 00 1B 1D 1F", {"malformed 1B 1D 1E 05 01 00 1B 1D ..."}},
        {"HeadInsideAFrame", "1B 1D 1E 05 1B 1D 1E 05 01 1B 1D 1F", {"malformed 1B 1D 1E 05", "enter"}},
        {"TailWithoutHead", "1B 1D 1F 1B 1D 1F", {"data 6 bytes"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto vp = makePrinter();
        send(vp, c.bytes);
        EXPECT_EQ(vp.commandLog(), c.log);
        EXPECT_FALSE(vp.nextReplyAt().has_value());
    }
}

// A head that never meets its tail is given up after a bounded number of bytes.
TEST(Garbage, EndlessFrameIsCutOff) {
    auto vp = makePrinter();
    vp.defineItem(0x24, 1, 5);
    send(vp, cat(hex("1B 1D 1E 07"), Bytes(5000, 0x41)));
    EXPECT_EQ(vp.commandLog().size(), 1u);
    send(vp, kRead);
    EXPECT_EQ(drain(vp), expectedReply(vp));
}

TEST(Garbage, LongPrintJobIsOneLogLine) {
    auto vp = makePrinter();
    const Bytes data(10000, 0x55);
    for (std::size_t at = 0; at < data.size(); at += 4096) {
        const std::size_t n = std::min<std::size_t>(4096, data.size() - at);
        send(vp,
             Bytes(data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + n)));
    }
    EXPECT_EQ(vp.commandLog(), std::vector<std::string>{"data 10000 bytes"});
}

TEST(Garbage, NullOrEmptyWrite) {
    auto vp = makePrinter();
    EXPECT_EQ(vp.hostWrite(nullptr, 0, 0), 0u);
    EXPECT_EQ(vp.hostWrite(nullptr, 10, 0), 0u);
    EXPECT_TRUE(vp.commandLog().empty());
}

// The worker thread talks to the printer while the test thread looks at it.
TEST(Threads, WireAndInspectionAtOnce) {
    auto vp = makePrinter();
    vp.defineItem(0x24, 1, 0);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 500; ++i) {
            const std::uint8_t v = static_cast<std::uint8_t>(i % 100);
            send(vp,
                 cat(cat(hex("1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 24"), Bytes{v}),
                     hex("1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F")),
                 i);
            send(vp, kRead, i);
            while (!vp.hostRead(1024, i).empty()) {
            }
        }
        done = true;
    });
    while (!done) {
        const auto value = vp.itemValue(0x24);
        ASSERT_TRUE(value.has_value());
        EXPECT_GE(*value, 0);
        EXPECT_LT(*value, 100);
        vp.commandLog();
        vp.nextReplyAt();
    }
    worker.join();
    EXPECT_EQ(vp.itemValue(0x24), 99);
    EXPECT_EQ(vp.writes().size(), 1000u);
}

}  // namespace
}  // namespace vprinter_test
