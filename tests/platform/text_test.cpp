#include "platform/text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

TEST(TextTrim, DropsBlanksAndControlCharactersAtBothEnds) {
    struct Case {
        const char* name;
        std::wstring input, both, left, right;
    } cases[] = {
        {"blanks", L"  a b  ", L"a b", L"a b  ", L"  a b"},
        {"control characters", L"\t\r\n\x01x\x1F\x7F", L"x\x1F\x7F", L"x\x1F\x7F", L"\t\r\n\x01x\x1F\x7F"},
        {"only blanks", L" \t\r\n ", L"", L"", L""},
        {"empty", L"", L"", L"", L""},
        {"no-break space stays", L"\u00A0x\u00A0", L"\u00A0x\u00A0", L"\u00A0x\u00A0", L"\u00A0x\u00A0"},
        {"NUL counts as control", std::wstring(L"\0y\0", 3), L"y", std::wstring(L"y\0", 2), std::wstring(L"\0y", 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Trim(c.input), c.both);
        EXPECT_EQ(TrimLeft(c.input), c.left);
        EXPECT_EQ(TrimRight(c.input), c.right);
    }
}

TEST(TextCase, ChangesAndComparesAsciiLettersOnly) {
    EXPECT_EQ(UpperCase(L"abc\u00E9z"), L"ABC\u00E9Z");
    EXPECT_EQ(LowerCase(L"ABC\u00C9Z"), L"abc\u00C9z");
    EXPECT_TRUE(SameText(L"GlobalSettings", L"GLOBALSETTINGS"));
    EXPECT_FALSE(SameText(L"caf\u00E9", L"CAF\u00C9"));
    EXPECT_FALSE(SameText(L"abc", L"abcd"));
    EXPECT_EQ(CompareText(L"abc", L"ABC"), 0);
    EXPECT_LT(CompareText(L"abc", L"ABD"), 0);
    EXPECT_GT(CompareText(L"b", L"A"), 0);
    EXPECT_LT(CompareText(L"ab", L"ABC"), 0);
    EXPECT_TRUE(StartsText(L"USB001", L"usb"));
    EXPECT_FALSE(StartsWith(L"USB001", L"usb"));
    EXPECT_TRUE(StartsWith(L"USB001", L""));
    EXPECT_FALSE(StartsText(L"US", L"USB"));
    EXPECT_TRUE(ContainsText(L"Maker USB001", L"usb"));
    EXPECT_FALSE(ContainsText(L"LPT1", L"usb"));
}

TEST(TextPosCopy, PositionsAreOneBasedAndBoundsNeverThrow) {
    struct PosCase {
        const char* name;
        std::wstring sub, s;
        std::size_t from, expected, expectedText;
    } posCases[] = {
        {"found", L"b", L"abc", 1, 2, 2},
        {"at start", L"ab", L"abc", 1, 1, 1},
        {"absent", L"x", L"abc", 1, 0, 0},
        {"empty needle", L"", L"abc", 1, 0, 0},
        {"needle longer than text", L"abcd", L"abc", 1, 0, 0},
        {"case differs", L"B", L"abc", 1, 0, 2},
        {"from skips earlier match", L"c", L"abcabc", 4, 6, 6},
        {"from at last char", L"c", L"abc", 3, 3, 3},
        {"from past end", L"a", L"abc", 4, 0, 0},
        {"from zero", L"a", L"abc", 0, 0, 0},
        {"from huge", L"a", L"abc", std::numeric_limits<std::size_t>::max(), 0, 0},
    };
    for (const auto& c : posCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Pos(c.sub, c.s, c.from), c.expected);
        EXPECT_EQ(PosText(c.sub, c.s, c.from), c.expectedText);
    }

    constexpr auto kMax = std::numeric_limits<std::ptrdiff_t>::max();
    constexpr auto kMin = std::numeric_limits<std::ptrdiff_t>::min();
    struct CopyCase {
        const char* name;
        std::ptrdiff_t index, count;
        std::wstring expected;
    } copyCases[] = {
        {"middle", 2, 3, L"bcd"},
        {"whole", 1, 6, L"abcdef"},
        {"count past end", 5, 10, L"ef"},
        {"index past end", 7, 1, L""},
        {"index zero starts at the first character", 0, 3, L"abc"},
        {"negative index starts at the first character", -1, 3, L"abc"},
        {"zero count", 1, 0, L""},
        {"negative count", 2, -1, L""},
        {"huge count", 1, kMax, L"abcdef"},
        {"huge index and count", kMax, kMax, L""},
        {"lowest index, huge count", kMin, kMax, L"abcdef"},
    };
    for (const auto& c : copyCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Copy(L"abcdef", c.index, c.count), c.expected);
    }
    EXPECT_EQ(Copy(L"", 1, 1), L"");
}

TEST(TextSplitReplace, KeepsEmptyParts) {
    struct Case {
        const char* name;
        std::wstring input;
        std::vector<std::wstring> parts;
    } cases[] = {
        {"plain", L"a,b,c", {L"a", L"b", L"c"}},
        {"empty middle", L"a,,b", {L"a", L"", L"b"}},
        {"empty text", L"", {L""}},
        {"only delimiter", L",", {L"", L""}},
        {"trailing delimiter", L"a,", {L"a", L""}},
        {"no delimiter", L"abc", {L"abc"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Split(c.input, L','), c.parts);
    }
    EXPECT_EQ(ReplaceAll(L"a\\nb\\n", L"\\n", L"\r\n"), L"a\r\nb\r\n");
    EXPECT_EQ(ReplaceAll(L"aaa", L"aa", L"b"), L"ba");
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
}

TEST(TextSplitReplace, SplitLinesAtEveryKindOfLineEnd) {
    struct Case {
        const char* name;
        std::wstring input;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"CR LF counts once", L"a\r\nb", {L"a", L"b"}},
        {"LF and CR alone", L"a\nb\rc", {L"a", L"b", L"c"}},
        {"LF CR is two line ends", L"a\n\rb", {L"a", L"", L"b"}},
        {"final line end", L"a\r\n", {L"a", L""}},
        {"empty text", L"", {L""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitLines(c.input), c.lines);
    }
}

TEST(TextSplitReplace, CommaTextQuotesAndSeparators) {
    struct Case {
        const char* name;
        std::wstring input;
        std::vector<std::wstring> entries;
    } cases[] = {
        {"blanks around commas belong to neither side", L" a , b\t,c ", {L"a", L"b", L"c"}},
        {"blanks alone separate", L"a b\r\nc", {L"a", L"b", L"c"}},
        {"doubled quote inside quotes", L"\"a, \"\"b\"\"\",c", {L"a, \"b\"", L"c"}},
        {"quote inside a bare entry is a character", L"a\"b", {L"a\"b"}},
        {"empty entries", L",a,,b,", {L"", L"a", L"", L"b", L""}},
        {"quoted empty entry", L"\"\",a", {L"", L"a"}},
        {"nothing", L"  ", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitCommaText(c.input), c.entries);
    }
}

TEST(TextIntegers, FollowTheIniRules) {
    struct Case {
        const char* name;
        std::wstring text;
        std::optional<std::int32_t> expected;
    } cases[] = {
        {"zero", L"0", 0},
        {"decimal", L"3500", 3500},
        {"negative", L"-5", -5},
        {"plus sign", L"+7", 7},
        {"leading zeros", L"000000000012", 12},
        {"largest", L"2147483647", 2147483647},
        {"smallest", L"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"0x hex", L"0x1F", 31},
        {"0X hex, lower digits", L"0Xff", 255},
        {"dollar hex", L"$FF", 255},
        {"dollar all ones is -1", L"$FFFFFFFF", -1},
        {"0x high bit", L"0x80000000", std::numeric_limits<std::int32_t>::min()},
        {"hex leading zeros", L"$000000001", 1},
        {"decimal overflow", L"2147483648", std::nullopt},
        {"decimal underflow", L"-2147483649", std::nullopt},
        {"huge decimal", L"99999999999999999999999", std::nullopt},
        {"hex beyond 32 bits", L"$100000000", std::nullopt},
        {"empty", L"", std::nullopt},
        {"word", L"true", std::nullopt},
        {"sign only", L"-", std::nullopt},
        {"0x only", L"0x", std::nullopt},
        {"dollar only", L"$", std::nullopt},
        {"trailing letters", L"12abc", std::nullopt},
        {"leading blank", L" 5", std::nullopt},
        {"trailing blank", L"5 ", std::nullopt},
        {"signed hex", L"-$5", std::nullopt},
        {"bad hex digit", L"0x1G", std::nullopt},
        {"decimal point", L"1.5", std::nullopt},
        {"full-width digit", L"\uFF11", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TryParseInteger(c.text), c.expected);
        EXPECT_EQ(StrToIntDef(c.text, 42), c.expected.value_or(42));
    }
}

TEST(TextIntegers, PrintDecimalAndHex) {
    EXPECT_EQ(IntToStr(0), L"0");
    EXPECT_EQ(IntToStr(-2147483648LL), L"-2147483648");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), L"-9223372036854775808");
    EXPECT_EQ(IntToHex(255, 2), L"FF");
    EXPECT_EQ(IntToHex(1, 4), L"0001");
    EXPECT_EQ(IntToHex(0x1234, 2), L"1234");
    EXPECT_EQ(IntToHex(0, 0), L"0");
    EXPECT_EQ(IntToHex(0xFFFFFFFFFFFFFFFFull, 1), L"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(HexDigitValue(L'0'), 0);
    EXPECT_EQ(HexDigitValue(L'9'), 9);
    EXPECT_EQ(HexDigitValue(L'a'), 10);
    EXPECT_EQ(HexDigitValue(L'F'), 15);
    EXPECT_EQ(HexDigitValue(L'g'), -1);
    EXPECT_EQ(HexDigitValue(L' '), -1);
    EXPECT_EQ(HexDigitValue(L'\uFF21'), -1);
}

TEST(TextFormat, Directives) {
    using A = std::vector<FormatArg>;
    auto s = [](const wchar_t* t) { return FormatArg(std::wstring(t)); };
    auto i = [](std::int64_t v) { return FormatArg(v); };
    auto f = [](double v) { return FormatArg(v); };
    struct Case {
        const char* name;
        std::wstring format;
        A args;
        std::wstring expected;
    } cases[] = {
        {"text", L"Port: %s.", {s(L"LPT1")}, L"Port: LPT1."},
        {"decimal", L"%d", {i(42)}, L"42"},
        {"negative decimal", L"%d", {i(-42)}, L"-42"},
        {"%.2d pads to two digits", L"%.2d", {i(5)}, L"05"},
        {"%.2d leaves longer numbers", L"%.2d", {i(123)}, L"123"},
        {"precision after the sign", L"%.3d", {i(-5)}, L"-005"},
        {"section name", L"BaseItem%.2d", {i(7)}, L"BaseItem07"},
        {"%.2X byte", L"%.2X", {i(10)}, L"0A"},
        {"%x is upper case", L"%x", {i(255)}, L"FF"},
        {"%x of -1 is 32 bits", L"%x", {i(-1)}, L"FFFFFFFF"},
        {"%x of a wide value", L"%x", {i(0x123456789LL)}, L"123456789"},
        {"%u of -1", L"%u", {i(-1)}, L"4294967295"},
        {"%.2f", L"%.2f", {f(3.14159)}, L"3.14"},
        {"%.2f rounds half away from zero", L"%.2f", {f(0.125)}, L"0.13"},
        {"%.2f of a binary value below the half", L"%.2f", {f(2.675)}, L"2.67"},
        {"%f defaults to two decimals", L"%f", {f(2.5)}, L"2.50"},
        {"%.0f", L"%.0f", {f(2.5)}, L"3"},
        {"%.1f carries", L"%.1f", {f(9.96)}, L"10.0"},
        {"%.2f negative", L"%.2f", {f(-1.005)}, L"-1.00"},
        {"%.3f small", L"%.3f", {f(0.0004)}, L"0.000"},
        {"%.2f large", L"%.2f", {f(1e20)}, L"100000000000000000000.00"},
        {"width right-aligns", L"[%5d]", {i(42)}, L"[   42]"},
        {"minus left-aligns", L"[%-5d]", {i(42)}, L"[42   ]"},
        {"width on text", L"[%6s]", {s(L"ab")}, L"[    ab]"},
        {"left-aligned text", L"[%-4s]", {s(L"ab")}, L"[ab  ]"},
        {"width smaller than text", L"[%1s]", {s(L"abc")}, L"[abc]"},
        {"precision cuts text", L"%.2s", {s(L"abcdef")}, L"ab"},
        {"width and precision on hex", L"[%6.4X]", {i(0xAB)}, L"[  00AB]"},
        {"percent", L"100%%", {}, L"100%"},
        {"percent after number", L"%d%%", {i(50)}, L"50%"},
        {"upper-case type letters", L"%S %D", {s(L"x"), i(1)}, L"x 1"},
        {"several", L"%s=%d (%.2X)", {s(L"k"), i(26), i(26)}, L"k=26 (1A)"},
        {"argument index", L"%1:s %0:s %s", {s(L"a"), s(L"b")}, L"b a b"},
        {"star width", L"[%*d]", {i(4), i(7)}, L"[   7]"},
        {"missing argument", L"%d and %s", {i(1)}, L"1 and %s"},
        {"no arguments", L"SubGroup out of index: %d", {}, L"SubGroup out of index: %d"},
        {"wrong kind for %d", L"%d", {s(L"x")}, L"%d"},
        {"wrong kind is not consumed", L"%d %s", {s(L"x")}, L"%d x"},
        {"wrong kind for %f", L"%.2f", {i(1)}, L"%.2f"},
        {"wrong kind for %s", L"<%s>", {i(1)}, L"<%s>"},
        {"unknown type", L"%q", {i(1)}, L"%q"},
        {"percent at end", L"abc%", {}, L"abc%"},
        {"directive cut off", L"abc%5", {i(1)}, L"abc%5"},
        {"star without integer", L"%*d", {s(L"x"), i(1)}, L"%*d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Format(c.format, c.args), c.expected);
    }
    EXPECT_EQ(Format(L"%s-%d", {std::wstring(L"a"), std::int64_t{1}}), L"a-1");
}

TEST(TextFormatDateTime, PicturesOfTheLocale) {
    LocalTime t;
    t.year = 2024, t.month = 3, t.day = 5, t.hour = 7, t.minute = 5, t.second = 9;
    LocalTime afternoon = t;
    afternoon.hour = 13;
    LocalTime midnight = t;
    midnight.hour = 0;
    struct Case {
        const char* name;
        std::wstring picture;
        LocalTime time;
        std::wstring expected;
    } cases[] = {
        {"short date", L"yyyy/M/d", t, L"2024/3/5"},
        {"padded date", L"yyyy-MM-dd", t, L"2024-03-05"},
        {"two-digit year", L"yy", t, L"24"},
        {"one-digit year", L"y", t, L"4"},
        {"long time", L"H:mm:ss", t, L"7:05:09"},
        {"padded hour", L"HH:m:s", t, L"07:5:9"},
        {"12-hour afternoon", L"h:mm tt", afternoon, L"1:05 PM"},
        {"12-hour midnight", L"hh t", midnight, L"12 A"},
        {"names", L"dddd, MMMM d", t, L"Tuesday, March 5"},
        {"short names", L"ddd MMM", t, L"Tue Mar"},
        {"quoted literal", L"'Date:' d", t, L"Date: 5"},
        {"doubled quote", L"'it''s' d", t, L"it's 5"},
        {"unterminated quote", L"d 'rest", t, L"5 rest"},
        {"other characters", L"d.M.yyyy x", t, L"5.3.2024 x"},
        {"chinese literals", L"yyyy\u5E74M\u6708d\u65E5", t,
         L"2024\u5E74"
         L"3\u6708"
         L"5\u65E5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatDateTime(c.picture, c.time), c.expected);
    }
}

TEST(TextUnicode, Utf8RoundTripAndBadBytes) {
    const std::wstring text = L"a\u00E9\u4E2D\U0001F600";
    const std::string utf8 = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
    EXPECT_EQ(WideToUtf8(text), utf8);
    EXPECT_EQ(Utf8ToWide(utf8), text);

    struct Case {
        const char* name;
        std::string bytes;
        std::wstring expected;
    } cases[] = {
        {"stray continuation", "a\x80z", L"a\uFFFDz"},
        {"invalid byte", "\xFF", L"\uFFFD"},
        {"truncated at end", "a\xC3", L"a\uFFFD"},
        {"truncated before ASCII", "\xE4\xB8z", L"\uFFFDz"},
        {"overlong slash", "\xC0\xAF", L"\uFFFD\uFFFD"},
        {"overlong three bytes", "\xE0\x80\xAF", L"\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", L"\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", L"\uFFFD"},
        {"NUL kept", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToWide(c.bytes), c.expected);
    }
    // A lone surrogate in wide text cannot be spelled in UTF-8.
    EXPECT_EQ(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

TEST(TextUnicode, Utf16LittleEndianPairsAndOddBytes) {
    const std::vector<std::uint8_t> bytes = {'A', 0, 0xE9, 0, 0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE};
    const std::wstring text = L"A\u00E9\u4E2D\U0001F600";
    EXPECT_EQ(Utf16LeToWide(bytes.data(), bytes.size()), text);
    EXPECT_EQ(WideToUtf16Le(text), bytes);

    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::wstring expected;
    } cases[] = {
        {"odd trailing byte ignored", {'A', 0, 'B'}, L"A"},
        {"lone high surrogate", {0x3D, 0xD8, 'x', 0}, L"\uFFFDx"},
        {"high surrogate at end", {'x', 0, 0x3D, 0xD8}, L"x\uFFFD"},
        {"lone low surrogate", {0x00, 0xDE}, L"\uFFFD"},
        {"empty", {}, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf16LeToWide(c.bytes.data(), c.bytes.size()), c.expected);
    }
    EXPECT_EQ(Utf16LeToWide(nullptr, 10), L"");
}

}  // namespace
}  // namespace platform
