#pragma once
// Known answers of the system code pages, shared by the sim's own tests and the platform contract
// (tests/contract), which checks the rows of the code page its platform runs in.

#include <cstdint>
#include <string>
#include <vector>

namespace platform::cases {

// Text and its bytes in the code page, both ways.
struct CodePageCase {
    const char* name;
    std::uint32_t codePage;
    std::wstring text;
    std::string bytes;
};

inline std::vector<CodePageCase> CodePageKnownAnswers() {
    return {
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
}

// Characters the code page cannot hold become "?": one per unit of the wide text, so a character beyond the
// basic plane gives two where wide text is UTF-16 (Windows) and one where it is UTF-32.
inline std::vector<CodePageCase> CodePageLossyAnswers() {
    return {
        {"1252 Chinese", 1252, L"a\u4E2Db", "a?b"},
        {"1252 beyond the BMP", 1252, L"\U0001F600", std::string(sizeof(L"\U0001F600") / sizeof(wchar_t) - 1, '?')},
        {"936 Thai", 936, L"x\u0E01y", "x?y"},
        {"932 Thai", 932, L"\u0E01", "?"},
        {"950 Thai", 950, L"\u0E01\u4E2D", "?\xA4\xA4"},
        {"unknown code page keeps ASCII", 12345, L"ab\u00E9", "ab?"},
    };
}

}  // namespace platform::cases
