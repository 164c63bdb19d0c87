// The values file: the base page read from the printer and written, line by line, in the system code page for
// the driver's plug-in; and gone after any attempt that could not read the page.

#include <string>

#include "exchange_fixture.h"
#include "platform/sim/codepage_sim.h"

namespace {

class ValuesFileTest : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        sim.clock().SetStartTime({2025, 3, 7, 14, 5, 9, 0});
        sim.locale().SetShortDateFormat(L"dd.MM.yyyy");
        sim.locale().SetLongTimeFormat(L"HH:mm:ss");
        printer->defineItem(0x24, 1, 0);
        printer->defineItem(0x25, 2, 16);
        printer->defineItem(0x2A, 1, 1);
        // Code 26 is unknown to the printer: its item gets no value.
    }

    // Titles of the printer's values for items 0, 1 and 3, in the program's language.
    void SetTitles(const std::wstring& first, const std::wstring& second, const std::wstring& fourth) {
        model().m_BaseItems[0].RuleValues = {{0, 1}, {first, L"Fine"}};
        model().m_BaseItems[1].RuleValues = {{16}, {second}};
        model().m_BaseItems[3].RuleValues = {{0, 1}, {L"Slow", fourth}};
    }

    platform::Bytes ValuesFile() { return sim.files().ReadWholeFile(g_strPrinterPath).value_or(platform::Bytes{}); }
};

TEST_F(ValuesFileTest, LinesInTheSystemCodePageWithTheLocalisedPrefix) {
    struct Case {
        const char* name;
        std::uint32_t codePage;
        std::wstring prefix;
        std::wstring first, second, fourth;
        std::wstring lines;  // after the Time line
    };
    const Case cases[] = {
        {"English", 1252, L"Current :", L"Draft (300 dpi)", L"12\t ( 3.05mm )", L"Fast",
         L"0 = Current :Draft \r\n1 = Current :12\t \r\n2 = \r\n3 = Current :Fast\r\n"},
        {"Simplified Chinese", 936, L"当前值：", L"草稿 (300 dpi)", L"12 行", L"快速",
         L"0 = 当前值：草稿 \r\n1 = 当前值：12 行\r\n2 = \r\n3 = 当前值：快速\r\n"},
        {"Japanese", 932, L"設定値:", L"ドラフト (300 dpi)", L"12 行", L"高速 ((fast))",
         L"0 = 設定値:ドラフト \r\n1 = 設定値:12 行\r\n2 = \r\n3 = 設定値:高速 \r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.codePage().SetSystemCodePage(c.codePage);
        g_GlobalString.CurrentValue = c.prefix;
        SetTitles(c.first, c.second, c.fourth);
        model().CreatePrinterValuesIni_ForPage(pgSaveValues);

        const std::wstring expected = L"[CurrentValues]\r\nTime = 07.03.2025 14:05:09\r\n" + c.lines;
        const std::string bytes = platform::sim::SimCodePage::ToCodePage(c.codePage, expected);
        EXPECT_EQ(ValuesFile(), platform::Bytes(bytes.begin(), bytes.end()));
    }
}

TEST_F(ValuesFileTest, PluginReadsThePrefixAndTitleUnderTheItemsIndex) {
    g_GlobalString.CurrentValue = L"Current :";
    SetTitles(L"Draft (300 dpi)", L"16 lines", L"Fast");
    model().CreatePrinterValuesIni_ForPage(pgSaveValues);
    const platform::IniFile values(g_strPrinterPath);
    EXPECT_EQ(values.ReadString(L"CurrentValues", L"0", L"<none>"), L"Current :Draft");
    EXPECT_EQ(values.ReadString(L"CurrentValues", L"1", L"<none>"), L"Current :16 lines");
    EXPECT_EQ(values.ReadString(L"CurrentValues", L"2", L"<none>"), L"");
    EXPECT_EQ(values.ReadString(L"CurrentValues", L"4", L"<none>"), L"<none>");
    EXPECT_EQ(model().GetItem(pgBase, 2).ValueCurrent, kNoPrinterValue);
}

// Regression (reply in pieces): a page reply cut before its first entry left the menu's defaults in the file as
// the printer's current values.
TEST_F(ValuesFileTest, ReplyInPiecesWritesNoValueThePrinterNeverGave) {
    g_GlobalString.CurrentValue = L"Current :";
    printer->defineItem(0x24, 1, 1);
    printer->faults().replyChunk = 6;
    printer->faults().replyChunkGapMs = 20;
    model().CreatePrinterValuesIni_ForPage(pgSaveValues);
    const platform::IniFile values(g_strPrinterPath);
    for (const wchar_t* key : {L"0", L"1", L"2", L"3"}) {
        EXPECT_EQ(values.ReadString(L"CurrentValues", key, L"<none>"), L"") << "item " << key;
    }
    EXPECT_EQ(model().GetItem(pgBase, 0).ValueCurrent, kNoPrinterValue);
}

TEST_F(ValuesFileTest, OldFileIsGoneAfterAnyAttemptThatCannotReadThePage) {
    struct Case {
        const char* name;
        const wchar_t* port;
        std::uint32_t attributes;
        bool noReply;
        const char* reply;  // scripted, when given
    };
    const Case cases[] = {
        {"printer does not answer", L"USB001", 0, true, nullptr},
        {"reply without ReturnPrefix", L"USB001", 0, false, "1B 1D 1E 05 04 00 24 01 00"},
        {"printer offline", L"USB001", platform::kPrinterAttributeWorkOffline, false, nullptr},
        {"printer on a parallel port", L"LPT1:", 0, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sim.files().WriteWholeFile(g_strPrinterPath, Hex("41 42 43")));
        sim.spooler().AddPrinter(kPrinter, kDriver, c.port, c.attributes);
        printer->faults().noReply = c.noReply;
        if (c.reply) {
            Script("read 04 items", {Hex(c.reply)});
        }
        model().CreatePrinterValuesIni_ForPage(pgSaveValues);
        EXPECT_FALSE(sim.files().FileExists(g_strPrinterPath));
        EXPECT_EQ(printer->scriptLeft(), 0u);
    }
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
}

}  // namespace
