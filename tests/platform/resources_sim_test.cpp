#include "platform/sim/resources_sim.h"

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "sim_fixture.h"

namespace {

using platform::Bytes;
using platform::ResourceType;

using ResourcesSimTest = SimTest;

TEST_F(ResourcesSimTest, FoundByNameWithoutRegardToAsciiCase) {
    sim.resources().Add(L"RESSTRING", ResourceType::RCData, {0xFF, 0xFE});
    sim.resources().Add(L"00_Advance", ResourceType::Bitmap, {'B', 'M'});
    const struct {
        const char* name;
        std::wstring lookup;
        ResourceType type;
        std::optional<Bytes> expected;
    } cases[] = {
        {"same spelling", L"RESSTRING", ResourceType::RCData, Bytes{0xFF, 0xFE}},
        {"lower case", L"resstring", ResourceType::RCData, Bytes{0xFF, 0xFE}},
        {"mixed case", L"00_ADVANCE", ResourceType::Bitmap, Bytes{'B', 'M'}},
        {"other type", L"RESSTRING", ResourceType::Bitmap, std::nullopt},
        {"unknown name", L"RESSTRINGS", ResourceType::RCData, std::nullopt},
        {"empty name", L"", ResourceType::RCData, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::resources().Find(c.lookup, c.type), c.expected);
    }
}

TEST_F(ResourcesSimTest, AddReplacesAndRemoveDeletes) {
    sim.resources().Add(L"Job", ResourceType::RCData, {1});
    sim.resources().Add(L"JOB", ResourceType::RCData, {2, 3});
    EXPECT_EQ(platform::resources().Find(L"job", ResourceType::RCData), (Bytes{2, 3}));
    EXPECT_FALSE(sim.resources().Remove(L"job", ResourceType::Bitmap));
    EXPECT_TRUE(sim.resources().Remove(L"job", ResourceType::RCData));
    EXPECT_FALSE(platform::resources().Find(L"Job", ResourceType::RCData));
    EXPECT_FALSE(sim.resources().Remove(L"job", ResourceType::RCData));
}

TEST_F(ResourcesSimTest, AddTableCopiesEveryEntry) {
    static const std::uint8_t kFirst[] = {0x1B, 0x40, 0x00};
    const platform::EmbeddedResource table[] = {
        {L"HoleCheck1541", ResourceType::RCData, kFirst, sizeof kFirst},
        {L"Blank", ResourceType::Bitmap, nullptr, 0},
    };
    sim.resources().AddTable(table, 2);
    EXPECT_EQ(platform::resources().Find(L"holecheck1541", ResourceType::RCData), (Bytes{0x1B, 0x40, 0x00}));
    EXPECT_EQ(platform::resources().Find(L"BLANK", ResourceType::Bitmap), Bytes{});
}

}  // namespace
