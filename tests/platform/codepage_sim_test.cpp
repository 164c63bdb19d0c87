#include "platform/sim/codepage_sim.h"

#include <gtest/gtest.h>

#include <string>

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

// Known-answer pairs: text and its bytes in each code page.
TEST(SimCodePage, KnownAnswers) {
    struct Case {
        const char* name;
        std::uint32_t codePage;
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {"1252 Latin-1 letter", 1252, L"caf\u00E9", "caf\xE9"},
        {"1252 euro", 1252, L"\u20AC", "\x80"},
        {"1252 quotes and dashes", 1252, L"\u201C\u2013\u201D", "\x93\x96\x94"},
        {"1252 last of the 0x80 row", 1252, L"\u0178", "\x9F"},
        {"1252 unassigned byte maps to its control", 1252, L"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
        {"936 Chinese", 936, L"\u4E2D\u6587", "\xD6\xD0\xCE\xC4"},
        {"936 ASCII", 936, L"ReadTimeout=3500", "ReadTimeout=3500"},
        {"950 Chinese", 950, L"\u4E2D\u6587", "\xA4\xA4\xA4\xE5"},
        {"932 Japanese", 932, L"\u65E5\u672C", "\x93\xFA\x96\x7B"},
        {"932 half-width katakana", 932, L"\uFF71", "\xB1"},
        {"65001", 65001, L"\u00E9\u4E2D", "\xC3\xA9\xE4\xB8\xAD"},
    };
    for (const auto& c : cases) {
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
    struct Case {
        const char* name;
        std::uint32_t codePage;
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {"1252 Chinese", 1252, L"a\u4E2Db", "a?b"},      {"1252 beyond the BMP", 1252, L"\U0001F600", "?"},
        {"936 Thai", 936, L"x\u0E01y", "x?y"},           {"932 Thai", 932, L"\u0E01", "?"},
        {"950 Thai", 950, L"\u0E01\u4E2D", "?\xA4\xA4"}, {"unknown code page keeps ASCII", 12345, L"ab\u00E9", "ab?"},
    };
    for (const auto& c : cases) {
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
