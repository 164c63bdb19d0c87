// The model settings file's global section and the base page header.

#include <functional>

#include "model_test_support.h"

namespace {

using platform::Bytes;

class SchemeSettingsTest : public ModelTest {
protected:
    TTagSections LoadGlobal(const std::wstring& keys) {
        PutIniFile(kSchemeFile, L"[GlobalSettings]\n" + keys);
        TSchemeOptions2 model;
        model.LoadFromFile(kSchemeFile);
        return model.m_Sections;
    }
};

TEST_F(SchemeSettingsTest, EmptySectionGivesEveryDefault) {
    sim.locale().SetShortDateFormat(L"yyyy/M/d");
    const TTagSections s = LoadGlobal(L"");
    EXPECT_EQ(s.MenuVersion, 0);
    EXPECT_EQ(s.PrinterName, L"Varintex Printer");
    EXPECT_EQ(s.nSectionCount, 0u);
    EXPECT_TRUE(s.Section.empty());
    EXPECT_EQ(s.InstructionTail, L"1B 1D 1F");
    EXPECT_EQ(s.EnterInstruction, L"1B 1D 1E 05 01 1B 1D 1F");
    EXPECT_EQ(s.SaveInstruction, L"1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(s.InstructionGetValueClass, L"1B 1D 1E 05 03");
    EXPECT_FALSE(s.AffirmReadDisable);
    EXPECT_EQ(s.ReadOnLastFail, 1);
    EXPECT_EQ(s.TimeOutItem, 3000);
    EXPECT_EQ(s.TimeOutPage, 3500);
    EXPECT_EQ(s.ReturnPrefix, (Bytes{0x1B, 0x1D, 0x1E, 0x05, 0x03}));
    EXPECT_EQ(s.WriteReadDelay, 0u);
    EXPECT_EQ(s.ReadMenuDelay, 1000u);
    EXPECT_EQ(s.SleepBeforeRead, 30u);
    EXPECT_TRUE(s.ClearBeforeReadMenu);
    EXPECT_FALSE(s.MultiReadRetry);
    EXPECT_EQ(s.CleanSleeptime, 150u);
    EXPECT_EQ(s.DeepcleanSleeptime, 400u);
    EXPECT_EQ(s.NewPrinterSleeptime, 200u);
    EXPECT_EQ(s.RollercleanTime, 150u);
    EXPECT_EQ(s.ChangeHeadTime, 1200u);
    EXPECT_EQ(s.ChangeBoxTime, 500u);
    EXPECT_EQ(s.DeepcleanIntervaltime, 12u);
    EXPECT_DOUBLE_EQ(s.LastDeepcleantime, EncodeDateTime(sim.clock().Now()));
    EXPECT_EQ(s.TotalInkQuantity, L"9000000000");
    EXPECT_EQ(s.WebAddress, kDefaultWebAddress);
    EXPECT_EQ(s.LenBM, 0);
    EXPECT_EQ(s.LenLock, 279);
}

TEST_F(SchemeSettingsTest, KeyReadings) {
    struct Case {
        const char* name;
        const wchar_t* line;
        std::function<void(const TTagSections&)> check;
    };
    const Case cases[] = {
        {"boolean 0 is false", L"ClearBeforeReadMenu=0", [](auto& s) { EXPECT_FALSE(s.ClearBeforeReadMenu); }},
        {"boolean word keeps the default", L"ClearBeforeReadMenu=false",
         [](auto& s) { EXPECT_TRUE(s.ClearBeforeReadMenu); }},
        {"boolean 2 is true", L"AffirmReadDisable=2", [](auto& s) { EXPECT_TRUE(s.AffirmReadDisable); }},
        {"integer 0x hex", L"TimeOutPage=0x1000", [](auto& s) { EXPECT_EQ(s.TimeOutPage, 4096); }},
        {"integer $ hex", L"TimeOutPage=$1000", [](auto& s) { EXPECT_EQ(s.TimeOutPage, 4096); }},
        {"integer word keeps the default", L"TimeOutPage=abc", [](auto& s) { EXPECT_EQ(s.TimeOutPage, 3500); }},
        {"integer empty keeps the default", L"SleepBeforeRead=", [](auto& s) { EXPECT_EQ(s.SleepBeforeRead, 30u); }},
        {"integer zero", L"ReadOnLastFail=0", [](auto& s) { EXPECT_EQ(s.ReadOnLastFail, 0); }},
        {"cardinal takes all 32 bits", L"WriteReadDelay=$FFFFFFFF",
         [](auto& s) { EXPECT_EQ(s.WriteReadDelay, 0xFFFFFFFFu); }},
        {"text present but empty", L"PrinterName=", [](auto& s) { EXPECT_EQ(s.PrinterName, L""); }},
        {"prefix without blanks", L"ReturnPrefix=1B1D1E",
         [](auto& s) {
             EXPECT_EQ(s.ReturnPrefix, (Bytes{0x1B, 0x1D, 0x1E}));
         }},
        {"prefix drops a bad pair", L"ReturnPrefix=1B ZZ 1E",
         [](auto& s) {
             EXPECT_EQ(s.ReturnPrefix, (Bytes{0x1B, 0x1E}));
         }},
        {"prefix of no pair is empty", L"ReturnPrefix=ZZ", [](auto& s) { EXPECT_TRUE(s.ReturnPrefix.empty()); }},
        {"date and time in the locale format", L"LastDeepcleantime=2017/07/07 10:10:33",
         [](auto& s) {
             EXPECT_DOUBLE_EQ(s.LastDeepcleantime, EncodeDateTime({2017, 7, 7, 10, 10, 33, 0}));
         }},
        {"unreadable date keeps the load time", L"LastDeepcleantime=2017/13/07",
         [this](auto& s) { EXPECT_DOUBLE_EQ(s.LastDeepcleantime, EncodeDateTime(sim.clock().Now())); }},
    };
    sim.locale().SetShortDateFormat(L"yyyy/M/d");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(LoadGlobal(std::wstring(c.line) + L"\n"));
    }
}

TEST_F(SchemeSettingsTest, DateFollowsTheLocaleOrder) {
    sim.locale().SetShortDateFormat(L"dd.MM.yyyy");
    const TTagSections s = LoadGlobal(L"LastDeepcleantime=07.08.2017 6:05 PM\n");
    EXPECT_DOUBLE_EQ(s.LastDeepcleantime, EncodeDateTime({2017, 8, 7, 18, 5, 0, 0}));
    // 1899-12-30 is day 0 of the program's date values.
    EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 31, 12, 0, 0, 0}), 1.5);
}

TEST_F(SchemeSettingsTest, MissingFileKeepsZeroValues) {
    TSchemeOptions2 model;
    model.LoadFromFile(kSchemeFile);
    const TTagSections& s = model.m_Sections;
    EXPECT_EQ(s.EnterInstruction, L"");
    EXPECT_EQ(s.PrinterName, L"");
    EXPECT_EQ(s.TimeOutPage, 0);
    EXPECT_EQ(s.ReadOnLastFail, 0);
    EXPECT_FALSE(s.ClearBeforeReadMenu);
    EXPECT_TRUE(s.ReturnPrefix.empty());
    EXPECT_EQ(s.LastDeepcleantime, 0.0);
    EXPECT_EQ(model.m_strLangStrTail, L"");
    EXPECT_EQ(model.GetIndexItem(pgBase), TSettingItem());
}

TEST_F(SchemeSettingsTest, BasePageHeaderInTheSystemLanguage) {
    PutIniFile(kSchemeFile,
               L"[BaseItemME]\nName=Settings\nIcon=100_SETTINGS\n"
               L"Title.CN=设置\nTitle.CHT=設定\nTitle.EN=Settings\nTitle.JP=設定値\n"
               L"Note.EN=Everyday settings\n");
    struct Case {
        TProgramLanguage language;
        const wchar_t* suffix;
        const wchar_t* title;
        const wchar_t* note;
    };
    const Case cases[] = {
        {plCN, L".CN", L"设置", L""},
        {plCHT, L".CHT", L"設定", L""},
        {plEN, L".EN", L"Settings", L"Everyday settings"},
        {plJP, L".JP", L"設定値", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.suffix));
        g_GlobalString.Language = c.language;
        TSchemeOptions2 model;
        model.LoadFromFile(kSchemeFile);
        EXPECT_EQ(model.m_strLangStrTail, c.suffix);
        const TSettingItem header = model.GetIndexItem(pgBase);
        EXPECT_EQ(header.Name, L"Settings");
        EXPECT_EQ(header.Icon, L"100_SETTINGS");
        EXPECT_EQ(header.Title, c.title);
        EXPECT_EQ(header.Note, c.note);
    }
}

}  // namespace
