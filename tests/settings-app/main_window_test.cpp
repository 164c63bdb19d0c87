// The main window as a user meets it: the page's slots with their icons, titles and values, the geometry of
// the pages, the warning when the values cannot be read, and the mode button's way through the pages.
#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace {

using platform::MsgIcon;
using platform::sim::UserScript;
using namespace platform::forms;

// A 48 x 40 icon gives 54 x 46 buttons, 59 pixels from row to row.
constexpr int kPitch = 59;

TEST_F(MainWindowTest, TwelveBaseItemsFillSixRowsOfTwo) {
    UseMenu(Items(12));
    RunMainWindowStart(pgBase, UserScript()
                                   .Inspect([](Form& f) {
                                       for (int i = 0; i < 12; ++i) {
                                           SCOPED_TRACE(i);
                                           BitBtn* button = Button(f, i + 1);
                                           EXPECT_TRUE(button->Visible());
                                           EXPECT_EQ(button->Left(), i % 2 ? 210 : 12);
                                           EXPECT_EQ(button->Top(), (i / 2) * kPitch + 15);
                                           EXPECT_EQ(button->Width(), 54);
                                           EXPECT_EQ(button->Height(), 46);
                                           EXPECT_EQ(button->Hint(), L"Note " + std::to_wstring(i));
                                           EXPECT_EQ(button->Glyph().Name(), L"ICON");
                                           Label* title = Title(f, i + 1);
                                           EXPECT_EQ(title->Caption(), L"Base " + std::to_wstring(i));
                                           EXPECT_EQ(title->Top(), button->Top() + 3);
                                           EXPECT_EQ(title->Left(), button->Left() + 64);
                                           Label* value = Value(f, i + 1);
                                           EXPECT_EQ(value->Caption(), L"Now: Off");
                                           EXPECT_EQ(value->Left(), title->Left());
                                           EXPECT_EQ(value->Top(), title->Top() + title->Height() + 5);
                                           EXPECT_EQ(value->Width(), 128);
                                           // Down to the next row's title, which it must not cover.
                                           EXPECT_EQ(value->BoundsRect().bottom, button->Top() + kPitch + 3);
                                       }
                                       for (int n = 13; n <= 15; ++n) {
                                           EXPECT_FALSE(Button(f, n)->Visible());
                                           EXPECT_FALSE(Title(f, n)->Visible());
                                           EXPECT_FALSE(Value(f, n)->Visible());
                                       }
                                       TfrmMainView2& main = Main(f);
                                       EXPECT_EQ(main.Width(), 440);
                                       EXPECT_EQ(main.ClientHeight(), 539) << "the base page keeps its height";
                                       EXPECT_EQ(main.grp2->Left(), 205);
                                       EXPECT_EQ(main.grp2->Width(), main.grp1->Width() - 205 - 8);
                                       EXPECT_EQ(main.Caption(), std::wstring(kPrinter) + L" MainCaption");
                                       EXPECT_EQ(main.btnClose->Caption(), L"ParametersBtnReturn");
                                   })
                                   .Click(L"btnClose"));
    EXPECT_EQ(printer->commandLog(), std::vector<std::string>{"read 0C items"}) << "one exchange for the page";
}

TEST_F(MainWindowTest, TheMaintenancePagesLastOddItemStartsARowAndTheWindowFitsItsRows) {
    struct Case {
        const char* name;
        std::uint8_t page;
        int count;
        int height;  // outer
        int lastLeft;
        int lastTop;
    };
    const Case cases[] = {
        {"page 99, six items: a fourth row", pgMaintenance, 6, kPitch * 4 + 110, 12, 3 * kPitch + 15},
        {"page 99, five items: the last row holds one", pgMaintenance, 5, kPitch * 3 + 110, 12, 2 * kPitch + 15},
        {"page 0, three items", pgAdvance, 3, kPitch * 2 + 110, 12, kPitch + 15},
        {"page 0, four items: no extra row", pgAdvance, 4, kPitch * 2 + 110, 210, kPitch + 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseMenu(Items(2), Items(c.count, L"Ink_Clean"), Items(c.count));
        ShowMainWindow(c.page, UserScript()
                                   .Inspect([&](Form& f) {
                                       EXPECT_EQ(f.Height(), c.height);
                                       EXPECT_EQ(Button(f, c.count)->Left(), c.lastLeft);
                                       EXPECT_EQ(Button(f, c.count)->Top(), c.lastTop);
                                       EXPECT_FALSE(Button(f, c.count + 1)->Visible());
                                       TfrmMainView2& main = Main(f);
                                       // The mode button's group stays beside the last row.
                                       EXPECT_LT(main.grp2->BoundsRect().bottom, main.grp1->ClientHeight());
                                   })
                                   .Click(L"btnClose"));
    }
}

TEST_F(MainWindowTest, ValueTextsDropTheRemarkAndAbsentValuesShowNothing) {
    std::vector<MenuItem> items = {
        {.code = 0x30, .rule = L"0=1/6 inch (4.23mm),1=1/8 inch", .value = 0},
        {.code = 0x31, .rule = L"0=Slow,1=Fast (quiet)", .value = 1},
        {.code = 0x32, .rule = L"0=Slow,1=Fast", .value = 1},
        {.code = 0x33, .width = 3, .rule = L"1=A,2=B,3=C", .value = 0xA00000},
        {.code = 0x34, .rule = L"0=Off,1=On", .inPrinter = false},
        {.code = 0x35, .width = 3, .rule = L"1=A,2=B", .inPrinter = false},
        {.code = 0x36, .icon = L"Ink_Clean", .rule = L"0=Off,1=On", .value = 1},
        {.code = 0x37, .rule = L"0=Off,1=On", .value = 7},
    };
    UseMenu(items);
    RunMainWindowStart(pgBase, UserScript()
                                   .Inspect([](Form& f) {
                                       EXPECT_EQ(Value(f, 1)->Caption(), L"Now: 1/6 inch ");
                                       EXPECT_EQ(Value(f, 2)->Caption(), L"Now: Fast ");
                                       EXPECT_EQ(Value(f, 3)->Caption(), L"Now: Fast");
                                       EXPECT_EQ(Value(f, 4)->Caption(), L"Now: 1, 3");
                                       EXPECT_EQ(Value(f, 5)->Caption(), L"") << "not in the reply";
                                       EXPECT_EQ(Value(f, 6)->Caption(), L"") << "a multi-select not in the reply";
                                       EXPECT_EQ(Value(f, 7)->Caption(), L"") << "an ink item shows no value";
                                       EXPECT_EQ(Value(f, 8)->Caption(), L"") << "a value without a title";
                                   })
                                   .Click(L"btnClose"));
}

TEST_F(MainWindowTest, AMissingIconShowsTheSettingsIconAndAWideOneKeepsTheLeftColumn) {
    AddIcon(L"WIDE", 64, 40);
    UseMenu({{.code = 0x30, .icon = L"NO_SUCH_ICON"}, {.code = 0x31, .icon = L"WIDE"}, {.code = 0x32}});
    RunMainWindowStart(pgBase, UserScript()
                                   .Inspect([](Form& f) {
                                       EXPECT_EQ(Button(f, 1)->Glyph().Name(), L"100_Settings");
                                       EXPECT_EQ(Button(f, 2)->Glyph().Name(), L"WIDE");
                                       EXPECT_EQ(Button(f, 2)->Left(), 12);
                                       EXPECT_EQ(Button(f, 2)->Width(), 70);
                                       EXPECT_EQ(Main(f).grp2->Left(), 236) << "no second column, no move";
                                   })
                                   .Click(L"btnClose"));
}

// Regression (reply in pieces): a page reply cut before its first entry left the menu's defaults on the window as
// the printer's values.
TEST_F(MainWindowTest, ReplyInPiecesShowsNoValueThePrinterNeverGave) {
    UseMenu(Items(2), Items(0), {{.code = 0x50, .rule = L"0=Off,1=On", .value = 0}});
    g_SchemeOptions->SetItem_ValueCurrent(pgAdvance, 0, 1);  // what the menu's default would leave
    printer->faults().replyChunk = 6;
    printer->faults().replyChunkGapMs = 20;
    ShowMainWindow(pgAdvance,
                   UserScript().Inspect([](Form& f) { EXPECT_EQ(Value(f, 1)->Caption(), L""); }).Click(L"btnClose"));
    EXPECT_EQ(g_SchemeOptions->GetItem(pgAdvance, 0).ValueCurrent, kNoPrinterValue);
}

TEST_F(MainWindowTest, AFailedReadWarnsOnlyAtCreationOnAUsbPortOfAPageThatHoldsValues) {
    struct Case {
        const char* name;
        std::uint8_t page;
        const wchar_t* port;
        const wchar_t* globalKeys;
        bool warns;
    };
    const Case cases[] = {
        {"a silent printer on USB", pgBase, L"USB001", L"", true},
        {"reads no longer affirmed", pgBase, L"USB001", L"AffirmReadDisable=1\n", false},
        {"a parallel port is never read", pgBase, L"LPT1:", L"", false},
        {"the maintenance page is never read", pgMaintenance, L"USB001", L"", false},
        {"the advance page", pgAdvance, L"USB001", L"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseMenu(Items(2), {{.code = 0x40, .icon = L"Ink_Clean"}, {.code = 0x41, .icon = L"Ink_Clean"}}, Items(2),
                c.globalKeys);
        printer->faults().noReply = true;
        sim.spooler().AddPrinter(kPrinter, kDriver, c.port);
        if (c.warns) {
            sim.messageBoxes().ExpectBox(Box(L"ReadTimeout", L"HintTitle", MsgIcon::Warning));
        }
        const std::size_t logBefore = printer->commandLog().size();
        if (c.page == pgMaintenance) {
            sim.forms().WhenModal(L"TfrmWarning", UserScript().Click(L"btnCancel"));
        }
        // A page read of the mode button does not warn.
        ShowMainWindow(c.page, UserScript().Click(L"btnMode").Click(L"btnClose"));
        EXPECT_TRUE(sim.messageBoxes().Unfinished().empty());
        if (c.page == pgMaintenance) {
            EXPECT_EQ(printer->commandLog().size(), logBefore) << "nothing was sent";
        }
    }
}

TEST_F(MainWindowTest, TheModeButtonLeadsThroughThePagesAndTheWarningGuardsTheAdvancePage) {
    UseMenu(Items(4), Items(2, L"Ink_Clean"), Items(3));
    sim.forms().WhenModal(L"TfrmWarning", UserScript().Click(L"btnCancel"));
    sim.forms().WhenModal(L"TfrmWarning", UserScript().Click(L"btnOK"));
    RunMainWindowStart(pgBase, UserScript()
                                   .Inspect([](Form& f) {
                                       TfrmMainView2& main = Main(f);
                                       EXPECT_EQ(main.lblMode->Caption(), L"Maintenance");
                                       EXPECT_EQ(main.btnMode->Hint(), L"Ink care");
                                       EXPECT_EQ(main.btnMode->Glyph().Name(), L"99_MAINTENANCE");
                                       EXPECT_EQ(main.lblMode->Left(),
                                                 main.btnMode->Left() + main.btnMode->Width() + 10);
                                   })
                                   .Click(L"btnMode")
                                   .Inspect([](Form& f) {
                                       EXPECT_EQ(g_byPage, pgMaintenance);
                                       EXPECT_EQ(Main(f).lblMode->Caption(), L"Advanced settings");
                                       EXPECT_EQ(Title(f, 1)->Caption(), L"Care 0");
                                       EXPECT_FALSE(Button(f, 3)->Visible());
                                   })
                                   .Click(L"btnMode")  // the warning: Cancel
                                   .Inspect([](Form& f) {
                                       EXPECT_EQ(g_byPage, pgMaintenance);
                                       EXPECT_TRUE(Main(f).btnMode->Visible());
                                   })
                                   .Click(L"btnMode")  // the warning: OK
                                   .Inspect([](Form& f) {
                                       EXPECT_EQ(g_byPage, pgAdvance);
                                       EXPECT_EQ(Title(f, 3)->Caption(), L"Advanced 2");
                                       TfrmMainView2& main = Main(f);
                                       EXPECT_FALSE(main.btnMode->Visible());
                                       EXPECT_FALSE(main.lblMode->Visible());
                                       EXPECT_FALSE(main.grp2->Visible());
                                   })
                                   .Click(L"btnClose"));
}

TEST_F(MainWindowTest, ARunStartedOnTheAdvancePageGoesBackToTheBasePageWithoutAWarning) {
    UseMenu(Items(4), Items(2, L"Ink_Clean"), Items(3));
    RunMainWindowStart(pgAdvance, UserScript()
                                      .Inspect([](Form& f) {
                                          EXPECT_EQ(Main(f).lblMode->Caption(), L"Printer settings");
                                          EXPECT_EQ(Main(f).btnMode->Glyph().Name(), L"100_SETTINGS");
                                      })
                                      .Click(L"btnMode")
                                      .Inspect([](Form& f) {
                                          EXPECT_EQ(g_byPage, pgBase);
                                          EXPECT_EQ(Title(f, 4)->Caption(), L"Base 3");
                                          EXPECT_EQ(Main(f).lblMode->Caption(), L"Maintenance");
                                      })
                                      .Click(L"btnClose"));
}

TEST_F(MainWindowTest, APageCodeOutsideTheThreeMovesToTheAdvancePageThroughTheWarning) {
    UseMenu(Items(4), Items(2, L"Ink_Clean"), Items(3));
    sim.forms().WhenModal(L"TfrmWarning", UserScript().Click(L"btnOK"));
    // The model knows no such page, so its read fails.
    sim.messageBoxes().ExpectBox(Box(L"ReadTimeout", L"HintTitle", MsgIcon::Warning));
    RunMainWindowStart(7, UserScript()
                              .Inspect([](Form& f) {
                                  EXPECT_EQ(Main(f).lblMode->Caption(), L"Advanced settings");
                                  EXPECT_FALSE(Button(f, 1)->Visible()) << "the model knows no such page";
                              })
                              .Click(L"btnMode")
                              .Inspect([](Form& f) {
                                  EXPECT_EQ(g_byPage, pgAdvance);
                                  EXPECT_FALSE(Main(f).btnMode->Visible());
                              })
                              .Click(L"btnClose"));
}

TEST_F(MainWindowTest, CreationShowsTheDebugLabelsOnlyWithTheMarkerFile) {
    UseMenu(Items(2), Items(2, L"Ink_Clean"));
    g_slArguments = {kPrinter, L"99"};
    struct Case {
        const char* name;
        bool marker;
        std::uint32_t attributes;
        const wchar_t* port;
        TColor colour;
    };
    const Case cases[] = {
        {"without the marker", false, 0, L"USB001", clBlack},
        {"with the marker", true, 0, L"USB001", clBlack},
        {"with the marker, offline", true, platform::kPrinterAttributeWorkOffline, L"PrinterNotOnline", clRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.marker) {
            PutFile(kDebugMarkerFile, {});
        }
        sim.spooler().SetAttributes(kPrinter, c.attributes);
        ShowMainWindow(pgMaintenance, UserScript()
                                          .Inspect([&](Form& f) {
                                              TfrmMainView2& main = Main(f);
                                              EXPECT_EQ(main.lblPrinter->Visible(), c.marker);
                                              EXPECT_EQ(main.lblPort->Visible(), c.marker);
                                              EXPECT_EQ(main.lblPrinter->Caption(), std::wstring(kPrinter) + L" 99 ");
                                              EXPECT_EQ(main.lblPort->Caption(), c.port);
                                              EXPECT_EQ(main.lblPort->Font().color, c.colour);
                                              EXPECT_FALSE(main.cbbPrinterPort->Visible());
                                              EXPECT_FALSE(main.tmrFreshPort->Enabled());
                                          })
                                          .Click(L"btnClose"));
    }
}

TEST_F(MainWindowTest, WaitingJobsEndTheRunAtCreation) {
    UseMenu(Items(2));
    sim.spooler().AddQueuedJob(kPrinter, L"Letter");
    sim.messageBoxes().ExpectBox(Box(L"mPrintQueue", L"HintTitle", MsgIcon::Error));
    g_byStartPage = pgAdvance;
    g_byPage = pgAdvance;
    auto& app = application();
    app.CreateForm<TfrmMainView2>();
    EXPECT_TRUE(app.Terminated());
    app.DestroyForms();
    EXPECT_TRUE(printer->commandLog().empty()) << "the page was not read";
}

}  // namespace
