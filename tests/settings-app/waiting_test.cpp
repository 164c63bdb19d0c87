// The waiting window: its two texts, the dot row, the wider English window, and its close timer, modeless
// and modal, in virtual time.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "GlobalString.h"
#include "Scheme.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "platform/text.h"
#include "sim_fixture.h"
#include "uWaiting.h"

namespace {

using namespace platform::forms;

class WaitingTest : public SimTest {
protected:
    WaitingTest() {
        g_GlobalString.WaitingForPrinterWork = L"Printer is working, please wait.";
        g_GlobalString.HintTitle = L"Information";
        g_GlobalString.WaitingForPrinterRW = L"Reading the printer, please wait.";
        g_GlobalString.ReadingPrinter = L"Reading";
        g_GlobalString.Language = plCN;
    }

    // Lets virtual time pass while the caller handles messages, as a caller's wait loop does.
    void PumpFor(std::uint32_t ms) {
        for (std::uint32_t waited = 0; waited < ms; waited += 10) {
            sim.clock().Sleep(10);
            application().ProcessMessages();
        }
    }
};

TEST_F(WaitingTest, TheTextsFollowCharactersTenAndElevenOfThePrinterName) {
    struct Case {
        const char* name;
        std::wstring printer;
        bool working;
    };
    const Case cases[] = {
        {"port mode: no printer name", L"", false},
        {"brand, blank, KT model", L"Varintex KT-80 Printer", true},
        {"exactly eleven characters", L"Varintex KT", true},
        {"any nine characters before", L"123456789KT", true},
        {"only one character there", L"Varintex K", false},
        {"letter case counts", L"Varintex kt-80", false},
        {"another model", L"Varintex Printer", false},
        {"KT one place early", L"VarintexKT-80", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_strPrinterName = c.printer;
        auto waiting = MakeForm<TfrmWaiting>();
        if (c.working) {
            EXPECT_EQ(waiting->lblWaiting->Caption(), L"Printer is working, please wait.");
            EXPECT_EQ(waiting->Caption(), L"Information");
        } else {
            EXPECT_EQ(waiting->lblWaiting->Caption(), L"Reading the printer, please wait.");
            EXPECT_EQ(waiting->Caption(), L"Reading");
        }
    }
}

TEST_F(WaitingTest, TheDotRowGrowsToSixAndStartsAgain) {
    auto waiting = MakeForm<TfrmWaiting>();
    waiting->Show();
    EXPECT_EQ(waiting->lblDot->Caption(), L"");
    const wchar_t* const afterTick[] = {
        L". ", L". . ", L". . . ", L". . . . ", L". . . . . ", L". . . . . . ", L"", L". ",
    };
    int tick = 0;
    for (const wchar_t* expected : afterTick) {
        ++tick;
        SCOPED_TRACE("after tick " + std::to_string(tick));
        PumpFor(500);
        EXPECT_EQ(waiting->lblDot->Caption(), expected);
        EXPECT_EQ(waiting->m_nWaitingDot, tick % 7);
    }
    // The dots move only while messages are handled.
    sim.clock().Sleep(5000);
    EXPECT_EQ(waiting->lblDot->Caption(), L". ");
}

TEST_F(WaitingTest, TheWindowAsDesignedAndTwentyPixelsWiderInEnglish) {
    struct Case {
        const char* name;
        TProgramLanguage language;
        int clientWidth;
    };
    const Case cases[] = {
        {"Simplified Chinese", plCN, 334},
        {"Traditional Chinese", plCHT, 334},
        {"Japanese", plJP, 334},
        {"English", plEN, 354},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_GlobalString.Language = c.language;
        auto waiting = MakeForm<TfrmWaiting>();
        waiting->Show();
        EXPECT_EQ(waiting->ClientWidth(), c.clientWidth);
        EXPECT_EQ(waiting->ClientHeight(), 135);
        EXPECT_EQ(waiting->Left(), 512);
        EXPECT_EQ(waiting->Top(), 295);
        EXPECT_EQ(waiting->FormStyle(), fsStayOnTop);
        EXPECT_EQ(waiting->Cursor(), crHourGlass);
        EXPECT_EQ(waiting->BorderIcons(), 0);
        // The text spans the window and stays centred; the dots keep to the right edge.
        EXPECT_EQ(waiting->lblWaiting->Width(), c.clientWidth);
        EXPECT_EQ(waiting->lblWaiting->Alignment(), taCenter);
        EXPECT_TRUE(waiting->lblWaiting->Font().bold);
        EXPECT_EQ(waiting->lblDot->Width(), 120);
        EXPECT_EQ(c.clientWidth - waiting->lblDot->Left() - waiting->lblDot->Width(), 74);
    }
}

// The whole window as a reader sees it, from its layout table and its texts; the fixture is the reviewed dump.
TEST_F(WaitingTest, TheShownWindowMatchesItsReviewedDump) {
    g_strPrinterName = L"Varintex KT-80";
    auto waiting = MakeForm<TfrmWaiting>();
    waiting->Show();
    std::ifstream file(SETTINGS_APP_TEST_DATA "/waiting.dump", std::ios::binary);
    ASSERT_TRUE(file) << "missing fixture waiting.dump";
    std::ostringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(platform::WideToUtf8(DumpForm(*waiting)), expected.str());
}

TEST_F(WaitingTest, AModalWaitEndsByItsCloseTimerAfterExactly8000Ms) {
    g_strPrinterName = L"Varintex KT-80";
    auto waiting = MakeForm<TfrmWaiting>();
    waiting->tmrClose->SetInterval(8000);
    waiting->tmrClose->SetEnabled(true);
    const auto start = sim.clock().Elapsed();
    waiting->ShowModal();  // no scripted user: nothing but the timer can end it
    EXPECT_EQ(sim.clock().Elapsed() - start, 8000u);
    EXPECT_FALSE(waiting->Visible());
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
    ASSERT_EQ(sim.forms().Loops().size(), 1u);
    EXPECT_TRUE(sim.forms().Loops()[0].modal);
    EXPECT_EQ(sim.forms().Loops()[0].caption, L"Information");
    // Closing does not free it: its creator does.
    EXPECT_EQ(application().FindForm(L"TfrmWaiting"), waiting.get());
}

TEST_F(WaitingTest, AModelessWindowHidesAfterTheDefaultTwoHundredSeconds) {
    auto waiting = MakeForm<TfrmWaiting>();
    waiting->Show();
    PumpFor(199990);
    EXPECT_TRUE(waiting->Visible());
    PumpFor(10);
    EXPECT_FALSE(waiting->Visible());
    EXPECT_EQ(application().FindForm(L"TfrmWaiting"), waiting.get());
}

}  // namespace
