// The menu request: length head, container, zlib stream that unpacks to the menu file exactly.

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "wire.h"

namespace vprinter_test {
namespace {

const char* const kMenuRequest = "1B 1D 1E 06 03 1B 1D 1F";

Bytes sampleMenu() {
    std::string text = "[BaseSection]\r\nItemCount=12\r\n";
    for (int i = 1; i <= 12; ++i) {
        text += "[BaseItem" + std::string(i < 10 ? "0" : "") + std::to_string(i) +
                "]\r\nGetInstruction=" + std::to_string(20 + i) + "\r\nRuleType=ENUM\r\nRule.EN=0=Off,1=On\r\n";
    }
    return Bytes(text.begin(), text.end());
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

struct Unpacked {
    int result;
    Bytes data;
};

// Inflates the zlib stream of a container into exactly its declared size, as the program does.
Unpacked unpack(const Bytes& container) {
    if (container.size() < 16) {
        return {Z_DATA_ERROR, {}};
    }
    Bytes out(le32(container, 4));
    z_stream stream{};
    inflateInit(&stream);
    stream.next_in = const_cast<Bytef*>(container.data() + 16);
    stream.avail_in = static_cast<uInt>(container.size() - 16);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return {result, out};
}

TEST(MenuRequest, ContainerUnpacksToTheMenuFile) {
    auto vp = makePrinter();
    const Bytes menu = sampleMenu();
    vp.setMenuFile(menu);
    send(vp, kMenuRequest);
    const Bytes reply = drain(vp);

    ASSERT_GE(reply.size(), 11u + 16u + 1u);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 5), hex("1B 1D 1E 06 03"));
    const std::uint32_t declared = le32(reply, 5);
    EXPECT_EQ(reply.size(), 11u + declared + 1u) << "head, data and one closing byte";
    const Bytes container(reply.begin() + 11, reply.begin() + 11 + declared);
    EXPECT_EQ(Bytes(container.begin(), container.begin() + 4), hex("4A 5A 01 00"));
    EXPECT_EQ(le32(container, 4), menu.size());
    EXPECT_EQ(Bytes(container.begin() + 8, container.begin() + 16), Bytes(8, 0));
    const Unpacked unpacked = unpack(container);
    EXPECT_EQ(unpacked.result, Z_STREAM_END);
    EXPECT_EQ(unpacked.data, menu);
    EXPECT_EQ(vp.commandLog(), std::vector<std::string>{"menu request"});
}

TEST(MenuRequest, NoMenuDeclaresZero) {
    auto vp = makePrinter();
    send(vp, kMenuRequest);
    EXPECT_EQ(drain(vp), hex("1B 1D 1E 06 03 00 00 00 00 00 00 00"));
}

TEST(MenuRequest, DataInSecondRead) {
    auto vp = makePrinter();
    const Bytes menu = sampleMenu();
    vp.setMenuFile(menu);
    vp.faults().menuInSecondRead = true;
    send(vp, kMenuRequest, 100);

    const Bytes head = vp.hostRead(32768, 100);
    ASSERT_EQ(head.size(), 11u) << "the first read brings the length head alone";
    const std::uint32_t declared = le32(head, 5);
    EXPECT_EQ(vp.nextReplyAt(), 100u);
    const Bytes data = vp.hostRead(declared, 100);
    EXPECT_EQ(data.size(), declared);
    EXPECT_EQ(unpack(data).data, menu);
    EXPECT_FALSE(vp.nextReplyAt().has_value());
}

// The gate opens when the head has been read, not when the request arrived.
TEST(MenuRequest, SecondReadFollowsTheFirstNotTheRequest) {
    auto vp = makePrinter();
    vp.setMenuFile(sampleMenu());
    vp.faults().menuInSecondRead = true;
    vp.faults().replyDelayMs = 50;
    send(vp, kMenuRequest, 0);
    EXPECT_TRUE(vp.hostRead(32768, 49).empty());
    EXPECT_EQ(vp.hostRead(32768, 70).size(), 11u);
    EXPECT_EQ(vp.nextReplyAt(), 70u);
    EXPECT_FALSE(vp.hostRead(32768, 70).empty());
}

TEST(MenuRequest, MalformedRequestIsNotAnswered) {
    auto vp = makePrinter();
    vp.setMenuFile(sampleMenu());
    send(vp, "1B 1D 1E 06 03 00 1B 1D 1F");
    EXPECT_TRUE(drain(vp).empty());
    EXPECT_EQ(vp.commandLog(), std::vector<std::string>{"malformed 1B 1D 1E 06 03 00 1B 1D ..."});
}

TEST(MenuRequest, MenuFaults) {
    struct Case {
        const char* name;
        void (*set)(vprinter::Faults&);
        void (*check)(const Bytes& reply, const Bytes& menu);
    };
    const Case cases[] = {
        {"LengthOverrideZero", [](vprinter::Faults& f) { f.menuLengthOverride = 0; },
         [](const Bytes& reply, const Bytes&) {
             EXPECT_EQ(le32(reply, 5), 0u);
             EXPECT_GT(reply.size(), 12u) << "the data still follow";
         }},
        {"LengthOverrideTooLarge", [](vprinter::Faults& f) { f.menuLengthOverride = 40000; },
         [](const Bytes& reply, const Bytes& menu) {
             EXPECT_EQ(le32(reply, 5), 40000u);
             EXPECT_EQ(unpack(Bytes(reply.begin() + 11, reply.end() - 1)).data, menu);
         }},
        {"CorruptStream", [](vprinter::Faults& f) { f.corruptMenuStream = true; },
         [](const Bytes& reply, const Bytes&) {
             const Bytes container(reply.begin() + 11, reply.end() - 1);
             EXPECT_EQ(Bytes(container.begin(), container.begin() + 4), hex("4A 5A 01 00"));
             EXPECT_EQ(unpack(container).result, Z_DATA_ERROR);
         }},
        {"TruncatedStream", [](vprinter::Faults& f) { f.truncateMenuStream = true; },
         [](const Bytes& reply, const Bytes& menu) {
             const Bytes container(reply.begin() + 11, reply.end() - 1);
             EXPECT_EQ(le32(reply, 5), container.size()) << "the declared length is what is sent";
             EXPECT_EQ(le32(container, 4), menu.size()) << "the unpacked size still names the whole menu";
             const Unpacked unpacked = unpack(container);
             EXPECT_NE(unpacked.result, Z_STREAM_END);
             EXPECT_LT(unpacked.data.size(), menu.size());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto vp = makePrinter();
        const Bytes menu = sampleMenu();
        vp.setMenuFile(menu);
        c.set(vp.faults());
        send(vp, kMenuRequest);
        const Bytes reply = drain(vp);
        ASSERT_GT(reply.size(), 12u + 16u);
        c.check(reply, menu);
    }
}

// A menu that does not compress still fits one reply and unpacks whole.
TEST(MenuRequest, LargeMenu) {
    auto vp = makePrinter();
    Bytes menu(30000);
    std::uint32_t x = 1;
    for (auto& b : menu) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 16);
    }
    vp.setMenuFile(menu);
    send(vp, kMenuRequest);
    const Bytes reply = drain(vp);
    ASSERT_GT(reply.size(), 12u);
    EXPECT_EQ(unpack(Bytes(reply.begin() + 11, reply.end() - 1)).data, menu);
}

}  // namespace
}  // namespace vprinter_test
