#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/text.h"
#include "profile_cases.h"
#include "sim_fixture.h"

namespace platform::sim {
namespace {

const std::wstring kFile = L"C:\\ProgramData\\test.ini";

using cases::Encoding;

Bytes Encode(const std::wstring& text, Encoding encoding, std::uint32_t codePage) {
    if (encoding == Encoding::Utf16) {
        return cases::Utf16File(text);
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

// The reading rules (profile_cases.h). Every row runs on a UTF-16LE file and on an 8-bit file in the row's code
// page.
TEST_F(SimProfileTest, ReadRules) {
    for (Encoding encoding : {Encoding::Utf16, Encoding::EightBit}) {
        for (const auto& c : cases::ProfileReadCases()) {
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
    Put(cases::kProfileListingFile);
    auto& profile = sim.profile();
    EXPECT_EQ(profile.ReadSectionNames(kFile), cases::kProfileListingSections);
    for (const auto& [section, keys] : cases::kProfileListingKeys) {
        SCOPED_TRACE(testing::PrintToString(section));
        EXPECT_EQ(profile.ReadSectionKeys(kFile, section), keys);
    }
    EXPECT_TRUE(profile.ReadSectionNames(L"C:\\ProgramData\\none.ini").empty());
}

// The writing rules (profile_cases.h): the file before, one call, the exact bytes after.
TEST_F(SimProfileTest, WriteRules) {
    for (const auto& c : cases::ProfileWriteCases()) {
        SCOPED_TRACE(c.name);
        sim.files().DeleteFile(kFile);
        if (c.before) {
            Put(*c.before);
        }
        EXPECT_TRUE(c.op(sim.profile(), kFile));
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
