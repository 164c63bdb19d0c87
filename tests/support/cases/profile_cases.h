#pragma once
// The profile rules as tables of cases, shared by the sim's own tests and the platform contract (tests/contract),
// which runs them against every platform: a row that the real profile functions answer differently from the
// sim fails there.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/codepage.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/types.h"

namespace platform::cases {

enum class Encoding { Utf16, EightBit };

// text as a UTF-16LE file with its byte-order mark.
inline Bytes Utf16File(const std::wstring& text) {
    Bytes bytes = {0xFF, 0xFE};
    Bytes body = WideToUtf16Le(text);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// text as a file: UTF-16LE, or 8-bit in the code page that codePage converts to.
inline Bytes EncodeProfileText(const std::wstring& text, Encoding encoding, CodePage& codePage) {
    if (encoding == Encoding::Utf16) {
        return Utf16File(text);
    }
    std::string bytes = codePage.ToSystem(text);
    return Bytes(bytes.begin(), bytes.end());
}

inline Bytes RawBytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

struct ProfileReadCase {
    const char* name;
    std::optional<std::wstring> content;  // none: no file
    std::wstring section, key, expected;
    std::uint32_t codePage = 1252;
};

// Read with the default "<default>". Every row holds for a UTF-16LE file and for an 8-bit file in the row's
// code page.
inline std::vector<ProfileReadCase> ProfileReadCases() {
    const std::wstring longValue(3000, L'x');
    return {
        {"plain", L"[Main]\r\nKey=value\r\n", L"Main", L"Key", L"value"},
        {"section and key ignore letter case", L"[GlobalSettings]\r\nReadTimeout=3500\r\n", L"GLOBALSETTINGS",
         L"readtimeout", L"3500"},
        {"non-ASCII names ignore letter case", L"[Caf\u00E9]\r\n\u00C9t\u00E9=1\r\n", L"CAF\u00C9", L"\u00E9T\u00C9",
         L"1"},
        {"blanks around = dropped", L"[S]\r\n  key \t=  two words  \r\n", L"S", L"key", L"two words"},
        {"blanks around section name dropped", L"  [ S ]  \r\nk=1\r\n", L"S", L"k", L"1"},
        {"text after ] ignored", L"[S] ; note\r\nk=1\r\n", L"S", L"k", L"1"},
        {"first duplicate key wins", L"[S]\r\nk=1\r\nK=2\r\n", L"S", L"k", L"1"},
        {"first duplicate section wins", L"[S]\r\nk=1\r\n[s]\r\nk=2\r\n", L"S", L"k", L"1"},
        {"keys of a later duplicate section are not seen", L"[S]\r\nk=1\r\n[S]\r\nj=2\r\n", L"S", L"j", L"<default>"},
        {"value cut at 2047", L"[S]\r\nk=" + longValue + L"\r\n", L"S", L"k", std::wstring(2047, L'x')},
        {"value of exactly 2047 kept", L"[S]\r\nk=" + std::wstring(2047, L'y'), L"S", L"k", std::wstring(2047, L'y')},
        {"missing key gives default", L"[S]\r\nk=1\r\n", L"S", L"other", L"<default>"},
        {"missing section gives default", L"[S]\r\nk=1\r\n", L"T", L"k", L"<default>"},
        {"key of another section not seen", L"[S]\r\nk=1\r\n[T]\r\nj=2\r\n", L"S", L"j", L"<default>"},
        {"empty value gives empty text", L"[S]\r\nk=\r\n", L"S", L"k", L""},
        {"blank value gives empty text", L"[S]\r\nk=   \r\n", L"S", L"k", L""},
        {"double quotes removed", L"[S]\r\nk=\" padded \"\r\n", L"S", L"k", L" padded "},
        {"single quotes removed", L"[S]\r\nk='x'\r\n", L"S", L"k", L"x"},
        {"unmatched quotes kept", L"[S]\r\nk=\"x'\r\n", L"S", L"k", L"\"x'"},
        {"value keeps later = signs", L"[S]\r\nk=a=b\r\n", L"S", L"k", L"a=b"},
        {"LF line ends", L"[S]\nA=1\nB=2\n", L"S", L"B", L"2"},
        {"CR line ends", L"[S]\rA=1\rB=2", L"S", L"B", L"2"},
        {"last line without line end", L"[S]\r\nk=end", L"S", L"k", L"end"},
        {"line without = is no value", L"[S]\r\nflag\r\nflag=1\r\n", L"S", L"flag", L"1"},
        {"comment line is an ordinary line", L"[S]\r\n;k=1\r\nk=2\r\n", L"S", L"k", L"2"},
        {"comment key read by its own name", L"[S]\r\n;k=1\r\n", L"S", L";k", L"1"},
        {"key before any section belongs to none", L"k=1\r\n[S]\r\n", L"S", L"k", L"<default>"},
        {"UTF-8 byte-order mark is code-page text", L"\u00EF\u00BB\u00BF[S]\r\nk=1\r\n", L"S", L"k", L"<default>"},
        {"code page 1252 letter", L"[S]\r\nname=Caf\u00E9 \u20AC\r\n", L"S", L"name", L"Caf\u00E9 \u20AC"},
        {"code page 936 Chinese", L"[\u8BBE\u7F6E]\r\n\u540D\u79F0=\u4E2D\u6587\r\n", L"\u8BBE\u7F6E", L"\u540D\u79F0",
         L"\u4E2D\u6587", 936},
        {"missing file", std::nullopt, L"S", L"k", L"<default>"},
    };
}

// Listing: section names in file order, each once; a section's keys (lines without "=" too, comment lines
// not), each once, from the first section of the name only.
inline const Bytes kProfileListingFile =
    RawBytes("top=0\r\n[One]\r\nA=1\r\n;comment=x\r\nflag\r\na=2\r\n\r\nB=\r\n[two]\r\nC=3\r\n[ONE]\r\nD=4\r\n[]\r\n");
inline const std::vector<std::wstring> kProfileListingSections = {L"One", L"two"};
inline const std::vector<std::pair<std::wstring, std::vector<std::wstring>>> kProfileListingKeys = {
    {L"one", {L"A", L"flag", L"B"}},
    {L"Two", {L"C"}},
    {L"missing", {}},
};

// One call on the file, then its exact bytes (8-bit rows in the code page 1252).
struct ProfileWriteCase {
    using Op = bool (*)(Profile&, const std::wstring& file);
    const char* name;
    std::optional<Bytes> before;  // none: no file
    Op op;
    Bytes after;
};

inline std::vector<ProfileWriteCase> ProfileWriteCases() {
    using P = Profile&;
    using F = const std::wstring&;
    auto setK = [](P p, F f) { return p.WriteString(f, L"S", L"k", L"v"); };
    return {
        {"new file is 8-bit with CR LF", std::nullopt, setK, RawBytes("[S]\r\nk=v\r\n")},
        {"empty file", RawBytes(""), setK, RawBytes("[S]\r\nk=v\r\n")},
        {"new section at the end", RawBytes("[A]\r\nx=1\r\n"), setK, RawBytes("[A]\r\nx=1\r\n[S]\r\nk=v\r\n")},
        {"new section after a last line without line end", RawBytes("[A]\nx=1"), setK,
         RawBytes("[A]\nx=1\r\n[S]\r\nk=v\r\n")},
        {"new key after the section's last key", RawBytes("[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n"), setK,
         RawBytes("[S]\r\na=1\r\nk=v\r\n\r\n[T]\r\nb=2\r\n")},
        {"new key before trailing comments", RawBytes("[S]\r\na=1\r\n; about T\r\n[T]\r\n"), setK,
         RawBytes("[S]\r\na=1\r\nk=v\r\n; about T\r\n[T]\r\n")},
        {"new key in an empty section", RawBytes("[S]\r\n[T]\r\n"), setK, RawBytes("[S]\r\nk=v\r\n[T]\r\n")},
        {"new key in the last section without line end", RawBytes("[S]\r\na=1"), setK,
         RawBytes("[S]\r\na=1\r\nk=v\r\n")},
        {"replace keeps the key's spelling, its line end and every other byte",
         RawBytes("; top\n[S]\n  K = old  \nother = x\n[T]\nb=2"), setK,
         RawBytes("; top\n[S]\nK=v\nother = x\n[T]\nb=2")},
        {"replace the first of duplicates", RawBytes("[S]\r\nk=1\r\nk=2\r\n"), setK, RawBytes("[S]\r\nk=v\r\nk=2\r\n")},
        {"replace in the first of duplicate sections", RawBytes("[s]\r\nk=1\r\n[S]\r\nk=2\r\n"), setK,
         RawBytes("[s]\r\nk=v\r\n[S]\r\nk=2\r\n")},
        {"a line without = is not replaced", RawBytes("[S]\r\nk\r\n"), setK, RawBytes("[S]\r\nk\r\nk=v\r\n")},
        {"UTF-16LE file stays UTF-16LE", Utf16File(L"[S]\r\na=1\r\n"),
         [](P p, F f) { return p.WriteString(f, L"S", L"k", L"\u4E2D"); }, Utf16File(L"[S]\r\na=1\r\nk=\u4E2D\r\n")},
        {"UTF-16LE new section", Utf16File(L"[A]\r\n"), setK, Utf16File(L"[A]\r\n[S]\r\nk=v\r\n")},
        {"8-bit value in the code page", RawBytes("[S]\r\n"),
         [](P p, F f) { return p.WriteString(f, L"S", L"k", L"Caf\u00E9 \u4E2D"); },
         RawBytes("[S]\r\nk=Caf\xE9 ?\r\n")},
        {"delete key", RawBytes("[S]\r\na=1\r\nk=2\r\nb=3\r\n"), [](P p, F f) { return p.DeleteKey(f, L"s", L"K"); },
         RawBytes("[S]\r\na=1\r\nb=3\r\n")},
        {"delete missing key changes nothing", RawBytes("[S]\r\na = 1\n"),
         [](P p, F f) { return p.DeleteKey(f, L"S", L"k"); }, RawBytes("[S]\r\na = 1\n")},
        {"erase section", RawBytes("[A]\r\nx=1\r\n[S]\r\nk=2\r\n\r\n[B]\r\ny=3\r\n"),
         [](P p, F f) { return p.EraseSection(f, L"s"); }, RawBytes("[A]\r\nx=1\r\n[B]\r\ny=3\r\n")},
        {"erase every section of the name", RawBytes("[S]\r\nk=1\r\n[A]\r\n[S]\r\nk=2\r\n"),
         [](P p, F f) { return p.EraseSection(f, L"S"); }, RawBytes("[A]\r\n")},
    };
}

}  // namespace platform::cases
