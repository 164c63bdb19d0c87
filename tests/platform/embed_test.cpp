// The table below is made at build time from tests/platform/data by corventa_embed_resources.
#include <gtest/gtest.h>

#include <string>

#include "kPlatformTestResources.h"
#include "platform/platform.h"
#include "sim_fixture.h"

namespace {

using platform::Bytes;
using platform::ResourceType;

class EmbedTest : public SimTest {
protected:
    EmbedTest() { sim.resources().AddTable(kPlatformTestResources, kPlatformTestResourcesCount); }
};

Bytes Utf16LeWithBom(const std::u16string& text) {
    Bytes bytes{0xFF, 0xFE};
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

TEST_F(EmbedTest, TableListsEveryResource) {
    ASSERT_EQ(kPlatformTestResourcesCount, 3u);
    EXPECT_EQ(std::wstring(kPlatformTestResources[0].name), L"EmbedSample");
    EXPECT_EQ(kPlatformTestResources[2].type, ResourceType::Bitmap);
}

TEST_F(EmbedTest, BinaryFileKeepsItsExactBytes) {
    Bytes all;
    for (int i = 0; i < 256; ++i) {
        all.push_back(static_cast<std::uint8_t>(i));
    }
    EXPECT_EQ(platform::resources().Find(L"allbytes", ResourceType::RCData), all);
    EXPECT_EQ(platform::resources().Find(L"EMPTY", ResourceType::Bitmap), Bytes{});
}

// LF line ends become CR LF, an existing CR LF stays one line end, characters outside the basic plane become
// surrogate pairs.
TEST_F(EmbedTest, Utf16TextHasByteOrderMarkAndCrLf) {
    const auto bytes = platform::resources().Find(L"EmbedSample", ResourceType::RCData);
    ASSERT_TRUE(bytes);
    ASSERT_GE(bytes->size(), 2u);
    EXPECT_EQ((*bytes)[0], 0xFF);
    EXPECT_EQ((*bytes)[1], 0xFE);
    EXPECT_EQ(*bytes, Utf16LeWithBom(u"[Infos]\r\nName.EN=Set\r\n\u540d\u524d.CN=\u8bbe\u7f6e \u00fc\r\n"
                                     u"\U0001F5A8\r\n"));
}

}  // namespace
