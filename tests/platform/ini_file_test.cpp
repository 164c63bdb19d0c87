#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "sim_fixture.h"

namespace platform {
namespace {

const std::wstring kFile = L"C:\\ProgramData\\options.ini";

class IniFileTest : public SimTest {
protected:
    void Put(const std::string& text) {
        ASSERT_TRUE(sim.files().WriteWholeFile(kFile, Bytes(text.begin(), text.end())));
    }
    IniFile ini{kFile};
};

// Integer and Boolean keys are texts read by the integer rule; anything that is not a number gives the default.
TEST_F(IniFileTest, TypedReads) {
    struct Case {
        const char* name;
        std::optional<std::string> line;  // none: key absent
        std::int32_t integer;             // ReadInteger with default 7
        std::optional<bool> boolean;      // ReadBool; none: the default, whichever it is
    } cases[] = {
        {"decimal", "k=12", 12, true},
        {"zero", "k=0", 0, false},
        {"negative", "k=-3", -3, true},
        {"blanks around", "k =  5  ", 5, true},
        {"0x hex", "k=0x1F", 31, true},
        {"0x zero", "k=0x0", 0, false},
        {"dollar hex", "k=$FF", 255, true},
        {"dollar all ones", "k=$FFFFFFFF", -1, true},
        {"quoted number", "k=\"8\"", 8, true},
        {"word", "k=ten", 7, std::nullopt},
        {"true is a word", "k=true", 7, std::nullopt},
        {"empty value", "k=", 7, std::nullopt},
        {"trailing letters", "k=12abc", 7, std::nullopt},
        {"overflow", "k=99999999999", 7, std::nullopt},
        {"decimal point", "k=1.0", 7, std::nullopt},
        {"missing key", std::nullopt, 7, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put("[S]\r\n" + c.line.value_or("other=1") + "\r\n");
        EXPECT_EQ(ini.ReadInteger(L"S", L"K", 7), c.integer);
        EXPECT_EQ(ini.ReadBool(L"s", L"k", false), c.boolean.value_or(false));
        EXPECT_EQ(ini.ReadBool(L"s", L"k", true), c.boolean.value_or(true));
    }
}

TEST_F(IniFileTest, MissingFileGivesDefaults) {
    IniFile none(L"C:\\ProgramData\\none.ini");
    EXPECT_EQ(none.ReadString(L"Settings", L"LocalPorts", L"LPT1  COM1  _USB"), L"LPT1  COM1  _USB");
    EXPECT_EQ(none.ReadInteger(L"Settings", L"n", -9), -9);
    EXPECT_TRUE(none.ReadBool(L"Settings", L"b", true));
    EXPECT_FALSE(none.SectionExists(L"Settings"));
    EXPECT_FALSE(none.ValueExists(L"Settings", L"LocalPorts"));
    EXPECT_TRUE(none.ReadSectionKeys(L"Settings").empty());
    EXPECT_TRUE(none.ReadSectionNames().empty());
}

TEST_F(IniFileTest, ExistenceAndListings) {
    Put("[Settings]\r\nLocalPorts=LPT1\r\nEmpty=\r\n[Other]\r\n");
    EXPECT_TRUE(ini.SectionExists(L"settings"));
    EXPECT_TRUE(ini.SectionExists(L"OTHER"));  // an empty section exists too
    EXPECT_FALSE(ini.SectionExists(L"Missing"));
    EXPECT_TRUE(ini.ValueExists(L"Settings", L"localports"));
    EXPECT_TRUE(ini.ValueExists(L"Settings", L"Empty"));
    EXPECT_FALSE(ini.ValueExists(L"Settings", L"DefaultScheme"));
    EXPECT_FALSE(ini.ValueExists(L"Other", L"LocalPorts"));
    EXPECT_EQ(ini.ReadSectionKeys(L"SETTINGS"), (std::vector<std::wstring>{L"LocalPorts", L"Empty"}));
    EXPECT_EQ(ini.ReadSectionNames(), (std::vector<std::wstring>{L"Settings", L"Other"}));
    EXPECT_EQ(ini.ReadString(L"Settings", L"Empty", L"dflt"), L"");
}

TEST_F(IniFileTest, TypedWritesReadBack) {
    EXPECT_TRUE(ini.WriteString(L"Settings", L"Name", L"A B"));
    EXPECT_TRUE(ini.WriteInteger(L"Settings", L"Count", -12));
    EXPECT_TRUE(ini.WriteBool(L"Settings", L"On", true));
    EXPECT_TRUE(ini.WriteBool(L"Settings", L"Off", false));
    auto bytes = sim.files().ReadWholeFile(kFile);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "[Settings]\r\nName=A B\r\nCount=-12\r\nOn=1\r\nOff=0\r\n");
    EXPECT_EQ(ini.ReadInteger(L"Settings", L"Count", 0), -12);
    EXPECT_TRUE(ini.ReadBool(L"Settings", L"On", false));
    EXPECT_FALSE(ini.ReadBool(L"Settings", L"Off", true));

    IniFile unwritable(L"C:\\NoSuchFolder\\x.ini");
    EXPECT_FALSE(unwritable.WriteInteger(L"S", L"k", 1));
}

}  // namespace
}  // namespace platform
