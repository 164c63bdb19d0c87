// The shipped sample files load as the program loads them.

#include <fstream>
#include <iterator>

#include "Options.h"
#include "model_test_support.h"

namespace {

class SamplesTest : public ModelTest {
protected:
    // Copies a converted sample file from the build into the sim's file system.
    void PutSample(const char* name, const std::wstring& path) {
        std::ifstream in(std::string(CORVENTA_SAMPLES_DIR) + "/" + name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        PutFile(path, platform::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }

    struct Counts {
        std::int32_t base, advance, maintenance, sub01, sub02, sub64;
    };

    void ExpectMenu(const TSchemeOptions2& model, const Counts& counts) {
        const std::pair<std::uint8_t, std::int32_t> pages[] = {
            {pgBase, counts.base},        {pgAdvance, counts.advance},  {pgMaintenance, counts.maintenance},
            {pgSubGroup01, counts.sub01}, {pgSubGroup02, counts.sub02}, {pgSubGroup64, counts.sub64},
        };
        for (const auto& [page, count] : pages) {
            SCOPED_TRACE(testing::Message() << "page " << static_cast<int>(page));
            ASSERT_EQ(model.GetItemLength(page), count);
            for (std::int32_t i = 0; i < count; ++i) {
                SCOPED_TRACE(i);
                const TSettingItem item = model.GetItem(page, i);
                EXPECT_NE(item.Name, L"");
                EXPECT_NE(item.Title, L"");
                EXPECT_GE(item.nParameterByte, 1u);
                EXPECT_LE(item.nParameterByte, 3u);
                if (platform::SameText(item.RuleType, L"ENUM") || platform::SameText(item.RuleType, L"SERIAL")) {
                    EXPECT_GT(item.nRuleValueCount, 0u);
                }
                if (item.nParameterByte == 3) {
                    EXPECT_LE(item.nRuleValueCount, 24u);
                }
            }
        }
        EXPECT_TRUE(sim.messageBoxes().Shown().empty());
    }
};

constexpr TProgramLanguage kLanguages[] = {plCN, plCHT, plEN, plJP};

TEST_F(SamplesTest, ImpactPrinterSettingsHoldTheMenu) {
    PutSample("WQ-472_Settings.Dat", kSchemeFile);
    for (TProgramLanguage language : kLanguages) {
        SCOPED_TRACE(static_cast<int>(language));
        g_GlobalString.Language = language;
        TSchemeOptions2 model;
        model.LoadFromFile(kSchemeFile);
        EXPECT_EQ(model.m_Sections.MenuVersion, 0);
        EXPECT_FALSE(model.m_Sections.ReturnPrefix.empty());
        EXPECT_NE(model.GetIndexItem(pgBase).Title, L"");
        model.LoadPrinterMenu(kSchemeFile);
        EXPECT_NE(model.GetIndexItem(pgAdvance).Title, L"");
        EXPECT_NE(model.GetIndexItem(pgMaintenance).Title, L"");
        ExpectMenu(model, {12, 4, 3, 4, 4, 5});
    }
}

TEST_F(SamplesTest, InkPrinterSettingsAndFetchedMenu) {
    PutSample("WJ-610_Settings.Dat", kSchemeFile);
    PutSample("WJ-610_Menu.Dat", kMenuFile);
    for (TProgramLanguage language : kLanguages) {
        SCOPED_TRACE(static_cast<int>(language));
        g_GlobalString.Language = language;
        TSchemeOptions2 model;
        model.LoadFromFile(kSchemeFile);
        EXPECT_EQ(model.m_Sections.MenuVersion, 1);
        model.LoadPrinterMenu(kMenuFile);
        EXPECT_NE(model.GetIndexItem(pgMaintenance).Title, L"");
        ExpectMenu(model, {8, 2, 10, 0, 0, 0});
    }
}

TEST_F(SamplesTest, OptionsFileNamesTheImpactScheme) {
    const std::wstring program = sim.files().ProgramPath();
    PutSample("Corventa.ini", OptionsFileOfProgram(program));
    TIniOptions options;
    options.LoadFromFile(OptionsFileOfProgram(program));
    EXPECT_EQ(options.FSettingsLocalPorts, L"LPT1  COM1  _USB");
    EXPECT_NE(platform::PosText(L"WQ-472_Settings.Dat", options.FSettingsDefaultScheme), 0u);
}

}  // namespace
