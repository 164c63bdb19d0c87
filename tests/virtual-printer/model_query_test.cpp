// The model query: the printer proves itself with the CRC-32 of the challenge and names its model.

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

#include "vprinter/crc32.h"
#include "wire.h"

namespace vprinter_test {
namespace {

std::uint32_t crcOf(const Bytes& data, std::uint32_t initial = 0) {
    return vprinter::crc32(data.data(), data.size(), initial);
}

TEST(Crc32, KnownAnswers) {
    const std::string text = "123456789";
    EXPECT_EQ(crcOf(Bytes(text.begin(), text.end())), 0xCBF43926u);
    EXPECT_EQ(crcOf(hex("01 02 03 04 05 06 07 08")), 0x3FCA88C5u);
    EXPECT_EQ(crcOf({}), 0u);
    EXPECT_EQ(crcOf({}, 0x12345678u), 0x12345678u) << "no data leaves the running value as it was";
}

TEST(Crc32, ContinuesAndMatchesZlib) {
    std::mt19937 random(7);
    Bytes data(1000);
    for (auto& b : data) {
        b = static_cast<std::uint8_t>(random());
    }
    const std::uint32_t whole = crcOf(data);
    const Bytes first(data.begin(), data.begin() + 333);
    const Bytes rest(data.begin() + 333, data.end());
    EXPECT_EQ(crcOf(rest, crcOf(first)), whole);
    EXPECT_EQ(whole, ::crc32(0L, data.data(), static_cast<uInt>(data.size())));
}

TEST(ModelQuery, ReplyByteForByte) {
    struct Case {
        const char* name;
        bool withMdl;
        const char* modelName;  // nullptr: keep the one from the device id
        const char* query;
        const char* reply;
    };
    const Case cases[] = {
        {"ChallengeOneToEight", true, nullptr, "1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F",
         "1B 1D 1E 04 0F C5 88 CA 3F 01 00 06 57 51 2D 34 37 32 1B 1D 1F"},
        {"OtherChallengeOtherCrc", true, nullptr, "1B 1D 1E 04 0F 09 31 32 33 34 35 36 37 38 39 1B 1D 1F",
         "1B 1D 1E 04 0F 26 39 F4 CB 01 00 06 57 51 2D 34 37 32 1B 1D 1F"},
        {"NameSetByTest", true, "WJ-610", "1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F",
         "1B 1D 1E 04 0F C5 88 CA 3F 01 00 06 57 4A 2D 36 31 30 1B 1D 1F"},
        {"NoModelInDeviceId", false, nullptr, "1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F",
         "1B 1D 1E 04 0F C5 88 CA 3F 01 00 00 1B 1D 1F"},
        // A challenge that spells the tail is still read by its declared length.
        {"ChallengeSpellsTheTail", true, nullptr, "1B 1D 1E 04 0F 03 1B 1D 1F 1B 1D 1F",
         "1B 1D 1E 04 0F 6A F4 56 9D 01 00 06 57 51 2D 34 37 32 1B 1D 1F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vprinter::VirtualPrinter vp(vprinter::makeIdentity("WQ-472", "SN0001", 1, c.withMdl));
        if (c.modelName) {
            vp.setModelName(c.modelName);
        }
        send(vp, c.query);
        EXPECT_EQ(drain(vp), hex(c.reply));
        EXPECT_EQ(vp.commandLog(), std::vector<std::string>{"model query"});
    }
}

TEST(ModelQuery, LongNameIsCutAt255) {
    auto vp = makePrinter();
    vp.setModelName(std::string(300, 'M'));
    send(vp, "1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F");
    const Bytes reply = drain(vp);
    ASSERT_EQ(reply.size(), 12u + 255u + 3u);
    EXPECT_EQ(reply[11], 255);
}

TEST(ModelQuery, WrongLengthIsRefused) {
    auto vp = makePrinter();
    send(vp, "1B 1D 1E 04 0F 08 01 02 03 1B 1D 1F 1B 1D 1E 05 03 01 24 1B 1D 1F");
    EXPECT_TRUE(drain(vp).empty());
    EXPECT_EQ(vp.commandLog(), (std::vector<std::string>{"malformed 1B 1D 1E 04 0F 08 01 02 ...", "read 01 items"}));
}

}  // namespace
}  // namespace vprinter_test
