#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/text.h"
#include "sim_fixture.h"

namespace platform::sim {
namespace {

const std::wstring kFile = L"C:\\ProgramData\\test.ini";

enum class Encoding { Utf16, EightBit };

Bytes Encode(const std::wstring& text, Encoding encoding, std::uint32_t codePage) {
    if (encoding == Encoding::Utf16) {
        Bytes bytes = {0xFF, 0xFE};
        Bytes body = WideToUtf16Le(text);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return bytes;
    }
    std::string bytes = SimCodePage::ToCodePage(codePage, text);
    return Bytes(bytes.begin(), bytes.end());
}

Bytes Raw(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

class SimProfileTest : public SimTest {
protected:
    void Put(const Bytes& bytes) { ASSERT_TRUE(sim.files().WriteWholeFile(kFile, bytes)); }
    std::wstring Read(const std::wstring& section, const std::wstring& key, const std::wstring& def = L"<default>") {
        return sim.profile().ReadString(kFile, section, key, def);
    }
    Bytes File() { return sim.files().ReadWholeFile(kFile).value_or(Bytes{'<', 'n', 'o', 'n', 'e', '>'}); }
};

// The reading rules. Every row runs on a UTF-16LE file and on an 8-bit file in the row's code page.
TEST_F(SimProfileTest, ReadRules) {
    const std::wstring longValue(3000, L'x');
    struct Case {
        const char* name;
        std::optional<std::wstring> content;  // none: no file
        std::wstring section, key, expected;
        std::uint32_t codePage = 1252;
    } cases[] = {
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
    for (Encoding encoding : {Encoding::Utf16, Encoding::EightBit}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (encoding == Encoding::Utf16 ? " (UTF-16LE)" : " (8-bit)"));
            sim.codePage().SetSystemCodePage(c.codePage);
            sim.files().DeleteFile(kFile);
            if (c.content) {
                Put(Encode(*c.content, encoding, c.codePage));
            }
            EXPECT_EQ(Read(c.section, c.key), c.expected);
        }
    }
}

TEST_F(SimProfileTest, EncodingIsChosenByTheByteOrderMarkOnly) {
    // UTF-16LE text without its mark is 8-bit text full of NULs: no section is found.
    Bytes noMark = WideToUtf16Le(L"[S]\r\nk=1\r\n");
    Put(noMark);
    EXPECT_EQ(Read(L"S", L"k"), L"<default>");
    // The same file in the system code page 936 and in 1252 gives different characters.
    Put(Raw("[S]\r\nk=\xD6\xD0\r\n"));
    EXPECT_EQ(Read(L"S", L"k"), L"\u00D6\u00D0");
    sim.codePage().SetSystemCodePage(936);
    EXPECT_EQ(Read(L"S", L"k"), L"\u4E2D");
}

TEST_F(SimProfileTest, EveryCallReadsTheFileAfresh) {
    Put(Raw("[S]\r\nk=1\r\n"));
    EXPECT_EQ(Read(L"S", L"k"), L"1");
    Put(Raw("[S]\r\nk=2\r\n"));
    EXPECT_EQ(Read(L"S", L"k"), L"2");
    sim.files().DeleteFile(kFile);
    EXPECT_EQ(Read(L"S", L"k"), L"<default>");
}

TEST_F(SimProfileTest, ListsSectionsAndKeys) {
    Put(Raw("top=0\r\n[One]\r\nA=1\r\n;comment=x\r\nflag\r\na=2\r\n\r\nB=\r\n[two]\r\nC=3\r\n[ONE]\r\nD=4\r\n[]\r\n"));
    auto& profile = sim.profile();
    EXPECT_EQ(profile.ReadSectionNames(kFile), (std::vector<std::wstring>{L"One", L"two"}));
    EXPECT_EQ(profile.ReadSectionKeys(kFile, L"one"), (std::vector<std::wstring>{L"A", L"flag", L"B"}));
    EXPECT_EQ(profile.ReadSectionKeys(kFile, L"Two"), std::vector<std::wstring>{L"C"});
    EXPECT_TRUE(profile.ReadSectionKeys(kFile, L"missing").empty());
    EXPECT_TRUE(profile.ReadSectionNames(L"C:\\ProgramData\\none.ini").empty());
}

// The writing rules: the file before, one call, the exact bytes after.
TEST_F(SimProfileTest, WriteRules) {
    using Op = bool (*)(Profile&);
    auto setK = [](Profile& p) { return p.WriteString(kFile, L"S", L"k", L"v"); };
    struct Case {
        const char* name;
        std::optional<Bytes> before;
        Op op;
        Bytes after;
    } cases[] = {
        {"new file is 8-bit with CR LF", std::nullopt, setK, Raw("[S]\r\nk=v\r\n")},
        {"empty file", Raw(""), setK, Raw("[S]\r\nk=v\r\n")},
        {"new section at the end", Raw("[A]\r\nx=1\r\n"), setK, Raw("[A]\r\nx=1\r\n[S]\r\nk=v\r\n")},
        {"new section after a last line without line end", Raw("[A]\nx=1"), setK, Raw("[A]\nx=1\r\n[S]\r\nk=v\r\n")},
        {"new key after the section's last key", Raw("[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n"), setK,
         Raw("[S]\r\na=1\r\nk=v\r\n\r\n[T]\r\nb=2\r\n")},
        {"new key before trailing comments", Raw("[S]\r\na=1\r\n; about T\r\n[T]\r\n"), setK,
         Raw("[S]\r\na=1\r\nk=v\r\n; about T\r\n[T]\r\n")},
        {"new key in an empty section", Raw("[S]\r\n[T]\r\n"), setK, Raw("[S]\r\nk=v\r\n[T]\r\n")},
        {"new key in the last section without line end", Raw("[S]\r\na=1"), setK, Raw("[S]\r\na=1\r\nk=v\r\n")},
        {"replace keeps the key's spelling, its line end and every other byte",
         Raw("; top\n[S]\n  K = old  \nother = x\n[T]\nb=2"), setK, Raw("; top\n[S]\nK=v\nother = x\n[T]\nb=2")},
        {"replace the first of duplicates", Raw("[S]\r\nk=1\r\nk=2\r\n"), setK, Raw("[S]\r\nk=v\r\nk=2\r\n")},
        {"replace in the first of duplicate sections", Raw("[s]\r\nk=1\r\n[S]\r\nk=2\r\n"), setK,
         Raw("[s]\r\nk=v\r\n[S]\r\nk=2\r\n")},
        {"a line without = is not replaced", Raw("[S]\r\nk\r\n"), setK, Raw("[S]\r\nk\r\nk=v\r\n")},
        {"UTF-16LE file stays UTF-16LE", Encode(L"[S]\r\na=1\r\n", Encoding::Utf16, 1252),
         [](Profile& p) { return p.WriteString(kFile, L"S", L"k", L"\u4E2D"); },
         Encode(L"[S]\r\na=1\r\nk=\u4E2D\r\n", Encoding::Utf16, 1252)},
        {"UTF-16LE new section", Encode(L"[A]\r\n", Encoding::Utf16, 1252), setK,
         Encode(L"[A]\r\n[S]\r\nk=v\r\n", Encoding::Utf16, 1252)},
        {"8-bit value in the code page", Raw("[S]\r\n"),
         [](Profile& p) { return p.WriteString(kFile, L"S", L"k", L"Caf\u00E9 \u4E2D"); },
         Raw("[S]\r\nk=Caf\xE9 ?\r\n")},
        {"delete key", Raw("[S]\r\na=1\r\nk=2\r\nb=3\r\n"), [](Profile& p) { return p.DeleteKey(kFile, L"s", L"K"); },
         Raw("[S]\r\na=1\r\nb=3\r\n")},
        {"delete missing key changes nothing", Raw("[S]\r\na = 1\n"),
         [](Profile& p) { return p.DeleteKey(kFile, L"S", L"k"); }, Raw("[S]\r\na = 1\n")},
        {"erase section", Raw("[A]\r\nx=1\r\n[S]\r\nk=2\r\n\r\n[B]\r\ny=3\r\n"),
         [](Profile& p) { return p.EraseSection(kFile, L"s"); }, Raw("[A]\r\nx=1\r\n[B]\r\ny=3\r\n")},
        {"erase every section of the name", Raw("[S]\r\nk=1\r\n[A]\r\n[S]\r\nk=2\r\n"),
         [](Profile& p) { return p.EraseSection(kFile, L"S"); }, Raw("[A]\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim.files().DeleteFile(kFile);
        if (c.before) {
            Put(*c.before);
        }
        EXPECT_TRUE(c.op(sim.profile()));
        EXPECT_EQ(File(), c.after);
    }
}

TEST_F(SimProfileTest, WrittenValuesReadBack) {
    auto& profile = sim.profile();
    sim.codePage().SetSystemCodePage(936);
    ASSERT_TRUE(profile.WriteString(kFile, L"PrinterInfo", L"PrinterName", L"\u6253\u5370\u673A A1"));
    ASSERT_TRUE(profile.WriteString(kFile, L"ReadPrinter", L"ReadCount", L"3"));
    ASSERT_TRUE(profile.WriteString(kFile, L"readprinter", L"readcount", L"4"));
    EXPECT_EQ(Read(L"PrinterInfo", L"PrinterName"), L"\u6253\u5370\u673A A1");
    EXPECT_EQ(Read(L"ReadPrinter", L"ReadCount"), L"4");
    EXPECT_EQ(profile.ReadSectionKeys(kFile, L"ReadPrinter"), std::vector<std::wstring>{L"ReadCount"});
    EXPECT_TRUE(profile.DeleteKey(kFile, L"ReadPrinter", L"ReadCount"));
    EXPECT_EQ(Read(L"ReadPrinter", L"ReadCount"), L"<default>");
    EXPECT_TRUE(profile.EraseSection(kFile, L"PrinterInfo"));
    EXPECT_EQ(profile.ReadSectionNames(kFile), std::vector<std::wstring>{L"ReadPrinter"});
}

TEST_F(SimProfileTest, WriteFailuresLoseNothing) {
    auto& profile = sim.profile();
    EXPECT_FALSE(profile.WriteString(L"C:\\NoSuchFolder\\a.ini", L"S", L"k", L"v"));
    EXPECT_FALSE(sim.files().FileExists(L"C:\\NoSuchFolder\\a.ini"));

    Put(Raw("[S]\r\nk=1\r\n"));
    sim.files().SetWriteFailure(kFile);
    EXPECT_FALSE(profile.WriteString(kFile, L"S", L"k", L"2"));
    EXPECT_FALSE(profile.DeleteKey(kFile, L"S", L"k"));
    EXPECT_FALSE(profile.EraseSection(kFile, L"S"));
    EXPECT_EQ(File(), Raw("[S]\r\nk=1\r\n"));
    // Deleting from a file that does not exist has nothing to do.
    EXPECT_TRUE(profile.DeleteKey(L"C:\\ProgramData\\none.ini", L"S", L"k"));
    EXPECT_FALSE(sim.files().FileExists(L"C:\\ProgramData\\none.ini"));
}

TEST_F(SimProfileTest, ConcurrentWritersLoseNoKey) {
    auto writer = [this](const wchar_t* prefix) {
        for (int k = 0; k < 50; ++k) {
            sim.profile().WriteString(kFile, L"S", prefix + IntToStr(k), IntToStr(k));
        }
    };
    std::thread a(writer, L"a");
    std::thread b(writer, L"b");
    a.join();
    b.join();
    EXPECT_EQ(sim.profile().ReadSectionKeys(kFile, L"S").size(), 100u);
}

// ---- bad input: read what can be read, never crash ----

TEST_F(SimProfileTest, BrokenLinesAreReadAsFarAsTheyGo) {
    Put(Raw("[S\r\nk=1\r\nnoequals\r\n=nokey\r\n[T]x]\r\nj=2\r\n[\r\nz=3\r\n"));
    EXPECT_EQ(Read(L"S", L"k"), L"1");  // "[S" without "]" opens section S
    EXPECT_EQ(Read(L"S", L"noequals"), L"<default>");
    EXPECT_EQ(Read(L"S", L""), L"nokey");
    EXPECT_EQ(Read(L"T", L"j"), L"2");
    EXPECT_EQ(Read(L"", L"z"), L"3");
    EXPECT_EQ(sim.profile().ReadSectionKeys(kFile, L"S"), (std::vector<std::wstring>{L"k", L"noequals"}));
    EXPECT_EQ(sim.profile().ReadSectionNames(kFile), (std::vector<std::wstring>{L"S", L"T"}));
}

TEST_F(SimProfileTest, BinaryFilesAreReadWithoutCrashing) {
    Bytes garbage;
    std::uint32_t seed = 12345;
    for (int k = 0; k < 65536; ++k) {
        seed = seed * 1103515245u + 12345u;
        garbage.push_back(static_cast<std::uint8_t>(seed >> 16));
    }
    garbage[0] = 'x';  // never a UTF-16LE mark
    const std::string good = "\r\n[Good]\r\nk=ok\r\n";
    Bytes withSection = garbage;
    withSection.insert(withSection.begin() + 30000, good.begin(), good.end());

    for (std::uint32_t codePage : {1252u, 936u, 950u, 932u, 65001u}) {
        SCOPED_TRACE(codePage);
        sim.codePage().SetSystemCodePage(codePage);
        Put(garbage);
        EXPECT_EQ(Read(L"Good", L"k"), L"<default>");
        sim.profile().ReadSectionNames(kFile);
        Put(withSection);
        EXPECT_EQ(Read(L"Good", L"k"), L"ok");
        EXPECT_TRUE(sim.profile().WriteString(kFile, L"Good", L"k", L"new"));
        EXPECT_EQ(Read(L"Good", L"k"), L"new");
    }
    // The same bytes behind a UTF-16LE mark.
    Bytes utf16 = {0xFF, 0xFE};
    utf16.insert(utf16.end(), garbage.begin(), garbage.end());
    Put(utf16);
    sim.profile().ReadSectionNames(kFile);
    EXPECT_EQ(Read(L"Good", L"k"), L"<default>");
}

TEST_F(SimProfileTest, NulBytesEndTheValue) {
    Put(Raw(std::string("[S]\r\nk=ab\0cd\r\nj=\0\r\n", 19)));
    EXPECT_EQ(Read(L"S", L"k"), L"ab");
    EXPECT_EQ(Read(L"S", L"j"), L"");
}

TEST_F(SimProfileTest, TruncatedUtf16FilesKeepWhatIsWhole) {
    Bytes file = Encode(L"[S]\r\nk=v\r\nj=\u4E2D", Encoding::Utf16, 1252);
    file.push_back('x');  // odd length
    Put(file);
    EXPECT_EQ(Read(L"S", L"k"), L"v");
    EXPECT_EQ(Read(L"S", L"j"), L"\u4E2D");
    // Writing drops the stray byte so that the file stays whole UTF-16LE.
    ASSERT_TRUE(sim.profile().WriteString(kFile, L"S", L"k", L"w"));
    EXPECT_EQ(File(), Encode(L"[S]\r\nk=w\r\nj=\u4E2D", Encoding::Utf16, 1252));

    // Only the mark, a mark and one byte, a lone surrogate.
    for (const Bytes& bytes : {Bytes{0xFF, 0xFE}, Bytes{0xFF, 0xFE, '['}, Bytes{0xFF}, Bytes{0xFF, 0xFE, 0x00, 0xD8}}) {
        Put(bytes);
        EXPECT_EQ(Read(L"S", L"k"), L"<default>");
        EXPECT_TRUE(sim.profile().ReadSectionNames(kFile).empty());
    }
}

TEST_F(SimProfileTest, EnormousLinesAreCut) {
    std::string huge = "[S]\r\nk=" + std::string(4 * 1024 * 1024, 'v') + "\r\nj=after\r\n" + std::string(1 << 20, 'z');
    Put(Raw(huge));
    EXPECT_EQ(Read(L"S", L"k"), std::wstring(kProfileValueMax, L'v'));
    EXPECT_EQ(Read(L"S", L"j"), L"after");
    EXPECT_EQ(sim.profile().ReadSectionKeys(kFile, L"S").size(), 3u);
}

}  // namespace
}  // namespace platform::sim
