// The menu container: unpacking good containers, refusing bad ones without touching the stream, and the same
// through a whole menu request to a virtual printer.

#include "MenuUnpack.h"

#include <gmock/gmock.h>
#include <zlib.h>

#include "UtilPrinter.h"
#include "link_fixture.h"

namespace {

using ::testing::ElementsAre;

platform::Bytes Deflate(const platform::Bytes& plain) {
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    platform::Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()), 9), Z_OK);
    out.resize(size);
    return out;
}

// Signature, version, declared size (least significant byte first), 8 reserved bytes, zlib stream.
platform::Bytes Container(const platform::Bytes& zlibStream,
                          std::uint32_t declared,
                          platform::Bytes head = {0x4A, 0x5A},
                          std::uint16_t version = 1) {
    platform::Bytes c = std::move(head);
    c.push_back(static_cast<std::uint8_t>(version));
    c.push_back(static_cast<std::uint8_t>(version >> 8));
    for (int i = 0; i < 4; ++i) {
        c.push_back(static_cast<std::uint8_t>(declared >> (8 * i)));
    }
    c.insert(c.end(), 8, 0xAA);
    c.insert(c.end(), zlibStream.begin(), zlibStream.end());
    return c;
}

platform::Bytes Text(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(MenuUnpackTest, UnpacksToTheDeclaredSize) {
    const platform::Bytes line = Text("[A]\r\n");
    platform::Bytes menu(3000);
    for (std::size_t i = 0; i < menu.size(); ++i) {
        menu[i] = static_cast<std::uint8_t>("Key=Value\r\n"[i % 11]);
    }
    struct Case {
        const char* name;
        platform::Bytes plain;
        std::uint32_t declared;
        platform::Bytes head;
        std::uint16_t version;
        platform::Bytes expected;
    };
    const Case cases[] = {
        {"short INI line", line, 5, {0x4A, 0x5A}, 1, line},
        {"a menu of 3000 bytes", menu, 3000, {0x4A, 0x5A}, 1, menu},
        {"longer result cut at the declared size", line, 3, {0x4A, 0x5A}, 1, Text("[A]")},
        // The stream ends properly before the declared size: the result ends with it.
        {"declared size beyond the data", line, 9, {0x4A, 0x5A}, 1, line},
        {"signature and version not compared", line, 5, {0x12, 0x34}, 7, line},
        {"nothing declared", line, 0, {0x4A, 0x5A}, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::Bytes stream = Container(Deflate(c.plain), c.declared, c.head, c.version);
        platform::Bytes signature;
        std::uint16_t version = 0;
        UnpackMenuStream(&stream, signature, version);
        EXPECT_EQ(stream, c.expected);
        EXPECT_EQ(signature, c.head);
        EXPECT_EQ(version, c.version);
    }
}

TEST(MenuUnpackTest, NoStreamOrAnEmptyOneIsLeftAlone) {
    platform::Bytes signature{0x01};
    std::uint16_t version = 99;
    platform::Bytes empty;
    UnpackMenuStream(&empty, signature, version);
    UnpackMenuStream(nullptr, signature, version);
    EXPECT_TRUE(empty.empty());
    EXPECT_THAT(signature, ElementsAre(0x01));
    EXPECT_EQ(version, 99);
}

TEST(MenuUnpackTest, RefusesBadContainersAndKeepsTheStream) {
    const platform::Bytes plain = Text("[Menu]\r\nItems=12\r\n");
    const platform::Bytes good = Deflate(plain);
    platform::Bytes corrupt = good;
    for (std::size_t i = 2; i < corrupt.size(); ++i) {
        corrupt[i] ^= 0x5C;
    }
    const platform::Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    platform::Bytes badHeader = good;
    badHeader[0] = 0x00;
    struct Case {
        const char* name;
        platform::Bytes stream;
    };
    const Case cases[] = {
        {"shorter than the header", {0x4A, 0x5A, 0x01, 0x00, 0x05}},
        {"header only", Container({}, 5)},
        {"declared 16 MiB and one byte", Container(good, kMaxUnpackedMenuSize + 1)},
        {"declared 4 GiB", Container(good, 0xFFFFFFFFu)},
        {"corrupt deflate data", Container(corrupt, static_cast<std::uint32_t>(plain.size()))},
        {"stream ends early", Container(truncated, static_cast<std::uint32_t>(plain.size()))},
        {"not a zlib stream", Container(badHeader, static_cast<std::uint32_t>(plain.size()))},
        {"raw garbage", Container(platform::Bytes(200, 0xFF), 100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::Bytes stream = c.stream;
        platform::Bytes signature;
        std::uint16_t version = 0;
        EXPECT_THROW(UnpackMenuStream(&stream, signature, version), platform::Exception);
        EXPECT_EQ(stream, c.stream);
    }
}

// The menu as a virtual printer sends it, fetched by the worker and unpacked.
class MenuFromPrinterTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        printer = &usb.Plug(vprinter::makeIdentity("WJ-610", "SN0001", 1));
        printer->setMenuFile(menu);
    }

    // Menu request, then the container from 4A 5A 01 00 to the reply's end (the last byte is no menu data).
    platform::Bytes FetchContainer() {
        TRWPrinter worker;
        worker.SetParameters(0, L"1B 1D 1E 06 03 1B 1D 1F", true, 4500, 0, false, 30, 32768);
        EXPECT_TRUE(Run(worker));
        std::vector<std::uint8_t> reply(32768);
        std::int32_t count = 0;
        EXPECT_TRUE(worker.GetData(reply.data(), 32767, count, false));
        const std::uint8_t magic[] = {0x4A, 0x5A, 0x01, 0x00};
        const std::int32_t at = FindBytePattern(magic, reply.data(), 4, count);
        EXPECT_GE(at, 0);
        if (at < 0) {
            return {};
        }
        return platform::Bytes(reply.begin() + at, reply.begin() + count - 1);
    }

    platform::Bytes menu = Text("[GlobalSettings]\r\nMenuVersion=1\r\n[BaseItem01]\r\nName=Line spacing\r\n");
    vprinter::VirtualPrinter* printer = nullptr;
};

TEST_F(MenuFromPrinterTest, UnpacksTheMenuThePrinterHolds) {
    platform::Bytes stream = FetchContainer();
    platform::Bytes signature;
    std::uint16_t version = 0;
    UnpackMenuStream(&stream, signature, version);
    EXPECT_EQ(stream, menu);
    EXPECT_THAT(signature, ElementsAre(0x4A, 0x5A));
    EXPECT_EQ(version, 1);
}

TEST_F(MenuFromPrinterTest, DamagedMenuFromTheWireIsAClearFailure) {
    struct Case {
        const char* name;
        bool corrupt;
        bool truncate;
    };
    const Case cases[] = {
        {"corrupt zlib data", true, false},
        {"zlib stream cut short", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->faults().corruptMenuStream = c.corrupt;
        printer->faults().truncateMenuStream = c.truncate;
        const platform::Bytes container = FetchContainer();
        platform::Bytes stream = container;
        platform::Bytes signature;
        std::uint16_t version = 0;
        EXPECT_THROW(UnpackMenuStream(&stream, signature, version), platform::Exception);
        EXPECT_EQ(stream, container);
    }
}

}  // namespace
