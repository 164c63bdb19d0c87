#include "platform/sim/codepage_sim.h"

#include <gtest/gtest.h>

#include <string>

#include "codepage_cases.h"

namespace platform::sim {
namespace {

TEST(SimCodePage, DefaultsTo1252AndCanBeSet) {
    SimCodePage cp;
    EXPECT_EQ(cp.SystemCodePage(), 1252u);
    EXPECT_EQ(cp.FromSystem("caf\xE9"), L"caf\u00E9");
    cp.SetSystemCodePage(936);
    EXPECT_EQ(cp.SystemCodePage(), 936u);
    EXPECT_EQ(cp.FromSystem("\xD6\xD0"), L"\u4E2D");
}

// Known-answer pairs: text and its bytes in each code page (codepage_cases.h).
TEST(SimCodePage, KnownAnswers) {
    for (const auto& c : cases::CodePageKnownAnswers()) {
        SCOPED_TRACE(c.name);
        SimCodePage cp;
        cp.SetSystemCodePage(c.codePage);
        EXPECT_EQ(cp.ToSystem(c.text), c.bytes);
        EXPECT_EQ(cp.FromSystem(c.bytes), c.text);
    }
}

TEST(SimCodePage, Cp1252EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::wstring text = SimCodePage::FromCodePage(1252, all);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(SimCodePage::ToCodePage(1252, text), all);
}

TEST(SimCodePage, CharactersTheCodePageLacksBecomeQuestionMarks) {
    for (const auto& c : cases::CodePageLossyAnswers()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SimCodePage::ToCodePage(c.codePage, c.text), c.bytes);
    }
}

TEST(SimCodePage, BadBytesNeverCrash) {
    struct Case {
        const char* name;
        std::uint32_t codePage;
        std::string bytes;
        std::wstring expected;
    } cases[] = {
        {"936 lead byte at end", 936, "a\x81", L"a\uFFFD"},
        {"936 invalid byte", 936,
         "\xFF"
         "a",
         L"\uFFFD"
         L"a"},
        {"932 lead byte at end", 932, "\x93", L"\uFFFD"},
        {"950 lead byte then line break", 950, "\xA4\n", L"\uFFFD\n"},
        {"65001 broken sequence", 65001, "\xE4\xB8", L"\uFFFD"},
        {"unknown code page", 12345, "a\xC0", L"a\uFFFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SimCodePage::FromCodePage(c.codePage, c.bytes), c.expected);
    }
    // Every byte pair in each multi-byte code page: decoding finishes and re-encoding gives some bytes.
    std::string garbage;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; b += 7) {
            garbage.push_back(static_cast<char>(a));
            garbage.push_back(static_cast<char>(b));
        }
    }
    for (std::uint32_t codePage : {936u, 950u, 932u, 65001u}) {
        SCOPED_TRACE(codePage);
        std::wstring text = SimCodePage::FromCodePage(codePage, garbage);
        EXPECT_FALSE(text.empty());
        EXPECT_FALSE(SimCodePage::ToCodePage(codePage, text).empty());
    }
}

}  // namespace
}  // namespace platform::sim
