// The profile rules (tests/platform/profile_cases.h) against the platform's own profile functions.
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform_under_test.h"
#include "profile_cases.h"

namespace contract {
namespace {

using platform::cases::Encoding;

class ProfileContract : public ContractTest {
protected:
    // What a file says through the profile functions: each section, then its keys with their values.
    static std::vector<std::wstring> Reading(const std::wstring& file) {
        auto& profile = platform::profile();
        std::vector<std::wstring> lines;
        for (const auto& section : profile.ReadSectionNames(file)) {
            lines.push_back(L"[" + section + L"]");
            for (const auto& key : profile.ReadSectionKeys(file, section)) {
                lines.push_back(key + L"=" + profile.ReadString(file, section, key, L"<default>"));
            }
        }
        return lines;
    }
    static bool HasUtf16Mark(const std::optional<platform::Bytes>& bytes) {
        return bytes && bytes->size() >= 2 && (*bytes)[0] == 0xFF && (*bytes)[1] == 0xFE;
    }

    std::wstring File() const { return under->Scratch() + L"test.ini"; }
    void Put(const platform::Bytes& bytes) { ASSERT_TRUE(platform::files().WriteWholeFile(File(), bytes)); }
    std::wstring Read(const std::wstring& section, const std::wstring& key) {
        return platform::profile().ReadString(File(), section, key, L"<default>");
    }
};

TEST_F(ProfileContract, ReadRules) {
    for (Encoding encoding : {Encoding::Utf16, Encoding::EightBit}) {
        for (const auto& c : platform::cases::ProfileReadCases()) {
            const std::string name = c.name + std::string(encoding == Encoding::Utf16 ? " (UTF-16LE)" : " (8-bit)");
            SCOPED_TRACE(name);
            if (!under->UseSystemCodePage(c.codePage) || IsKnownDeviation(*under, name)) {
                continue;  // this platform runs in another code page, or is known to differ here
            }
            platform::files().DeleteFile(File());
            if (c.content) {
                Put(platform::cases::EncodeProfileText(*c.content, encoding, platform::codePage()));
            }
            EXPECT_EQ(Read(c.section, c.key), c.expected);
        }
    }
}

// The writing rules, by what the file says afterwards and its encoding. The exact layout (which lines stay
// byte for byte) is checked on the sim alone: Wine writes the whole file anew in a layout of its own.
TEST_F(ProfileContract, WriteRules) {
    if (!under->UseSystemCodePage(1252)) {
        GTEST_SKIP() << "the rows are written in the code page 1252";
    }
    const std::wstring expectedFile = under->Scratch() + L"expected.ini";
    for (const auto& c : platform::cases::ProfileWriteCases()) {
        SCOPED_TRACE(c.name);
        if (IsKnownDeviation(*under, c.name)) {
            continue;
        }
        platform::files().DeleteFile(File());
        if (c.before) {
            Put(*c.before);
        }
        EXPECT_TRUE(c.op(platform::profile(), File()));
        ASSERT_TRUE(platform::files().WriteWholeFile(expectedFile, c.after));
        EXPECT_EQ(Reading(File()), Reading(expectedFile));
        EXPECT_EQ(HasUtf16Mark(platform::files().ReadWholeFile(File())), HasUtf16Mark(c.after));
    }
}

TEST_F(ProfileContract, ListsSectionsAndKeys) {
    Put(platform::cases::kProfileListingFile);
    auto& profile = platform::profile();
    EXPECT_EQ(profile.ReadSectionNames(File()), platform::cases::kProfileListingSections);
    for (const auto& [section, keys] : platform::cases::kProfileListingKeys) {
        SCOPED_TRACE(testing::PrintToString(section));
        if (!IsKnownDeviation(*under, "listing " + platform::WideToUtf8(section))) {
            EXPECT_EQ(profile.ReadSectionKeys(File(), section), keys);
        }
    }
    EXPECT_TRUE(profile.ReadSectionNames(under->Scratch() + L"none.ini").empty());
}

TEST_F(ProfileContract, WrittenValuesReadBackAndFailuresLoseNothing) {
    auto& profile = platform::profile();
    ASSERT_TRUE(profile.WriteString(File(), L"ReadPrinter", L"ReadCount", L"3"));
    ASSERT_TRUE(profile.WriteString(File(), L"readprinter", L"readcount", L"4"));
    EXPECT_EQ(Read(L"ReadPrinter", L"ReadCount"), L"4");
    EXPECT_EQ(profile.ReadSectionKeys(File(), L"ReadPrinter"), std::vector<std::wstring>{L"ReadCount"});
    EXPECT_TRUE(profile.DeleteKey(File(), L"ReadPrinter", L"ReadCount"));
    EXPECT_EQ(Read(L"ReadPrinter", L"ReadCount"), L"<default>");
    // The default comes back as the caller gave it, trailing blanks and length included.
    const std::wstring longDefault = std::wstring(3000, L'd') + L"  ";
    EXPECT_EQ(profile.ReadString(File(), L"ReadPrinter", L"none", longDefault), longDefault);

    const std::wstring missingFolder = under->Scratch() + L"NoSuchFolder\\a.ini";
    EXPECT_FALSE(profile.WriteString(missingFolder, L"S", L"k", L"v"));
    EXPECT_FALSE(platform::files().FileExists(missingFolder));
    // Deleting from a file that does not exist has nothing to do, and makes no file.
    EXPECT_TRUE(profile.DeleteKey(under->Scratch() + L"none.ini", L"S", L"k"));
    EXPECT_FALSE(platform::files().FileExists(under->Scratch() + L"none.ini"));
}

}  // namespace
}  // namespace contract
