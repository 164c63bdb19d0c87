// The sub-group dialog against the virtual printer: page codes, the window's size and panels, the note, the
// group read and its selection, the settings write sequence of several items, and the refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "group_dialog_fixture.h"
#include "platform/forms/forms.h"
#include "uSetGroupItem.h"

namespace {

using namespace platform::forms;
using platform::sim::ExpectedBox;
using platform::sim::UserScript;

class SetGroupItemTest : public GroupDialogTest {
protected:
    FormPtr<TFormSetGroupItem> Prepared(std::int32_t iSubGroup, const std::wstring& caption = L"Booklet") {
        auto dialog = MakeForm<TFormSetGroupItem>();
        dialog->SetParameters(caption, iSubGroup);
        return dialog;
    }
    static TFormSetGroupItem& Dialog(Form& form) { return dynamic_cast<TFormSetGroupItem&>(form); }
    // The user sees the first two lists with nothing selected, and closes the dialog.
    static UserScript SeesNoSelection() {
        return UserScript()
            .Inspect([](Form& f) {
                EXPECT_EQ(Dialog(f).lst1->ItemIndex(), -1);
                EXPECT_EQ(Dialog(f).lst2->ItemIndex(), -1);
            })
            .PressEsc();
    }

    static ExpectedBox Box(std::wstring text, std::wstring caption, platform::MsgIcon icon) {
        return ExpectedBox{.text = std::move(text), .caption = std::move(caption), .icon = icon};
    }
    ExpectedBox SuccessBox() { return Box(L"Printer set.", L"Hint", platform::MsgIcon::Information); }

    static std::vector<bool> PanelsShown(TFormSetGroupItem& d) {
        return {d.pnlItem1->Visible(), d.pnlItem2->Visible(), d.pnlItem3->Visible(), d.pnlItem4->Visible(),
                d.pnlItem5->Visible(), d.pnlItem6->Visible(), d.pnlItem7->Visible(), d.pnlItem8->Visible()};
    }
};

TEST_F(SetGroupItemTest, PageCodeIsOneHundredTwentySevenPlusTheSubGroupInOneByte) {
    struct Case {
        const char* name;
        std::int32_t subGroup;
        std::uint8_t page;
    };
    const Case cases[] = {
        {"first", 1, 128},
        {"second", 2, 129},
        {"last", 64, 191},
        {"wraps", 129, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Prepared(c.subGroup)->m_pm, c.page);
    }
}

TEST_F(SetGroupItemTest, SubGroupBeyondTheLastRaisesAfterCaptionAndPageAreSet) {
    auto dialog = MakeForm<TFormSetGroupItem>();
    try {
        dialog->SetParameters(L"Card", 65);
        FAIL() << "no exception";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), L"SubGroup out of index: 65");
    }
    EXPECT_EQ(dialog->Caption(), L"Card");
    EXPECT_EQ(dialog->m_pm, 192);
}

TEST_F(SetGroupItemTest, FiveItemsOpenInTwoRowsAndTheirPanelsStayForAShorterGroup) {
    auto dialog = Prepared(1);
    forms().WhenModal(
        L"TFormSetGroupItem",
        UserScript()
            .Inspect([](Form& f) {
                TFormSetGroupItem& d = Dialog(f);
                EXPECT_EQ(d.m_iItems, 5);
                EXPECT_EQ(d.Width(), 699);
                EXPECT_EQ(d.Height(), 468);
                EXPECT_EQ(PanelsShown(d), (std::vector<bool>{true, true, true, true, true, false, false, false}));
                EXPECT_EQ(d.lblName5->Caption(), L"Five");
                EXPECT_EQ(d.lst2->Items(), (std::vector<std::wstring>{L"First and third", L"Other"}));
                EXPECT_EQ(d.grp1->Caption(), L"Note");
                EXPECT_EQ(d.btnSet->Caption(), L"Set");
                EXPECT_EQ(d.btnCancel->Caption(), L"Cancel");
            })
            .Click(L"btnCancel"));
    dialog->ShowModal();

    dialog->SetParameters(L"Booklet", 64);
    forms().WhenModal(
        L"TFormSetGroupItem",
        UserScript()
            .Inspect([](Form& f) {
                TFormSetGroupItem& d = Dialog(f);
                EXPECT_EQ(d.Width(), 354);
                EXPECT_EQ(d.Height(), 300);
                EXPECT_EQ(PanelsShown(d), (std::vector<bool>{true, true, true, true, true, false, false, false}));
                EXPECT_EQ(d.lblName1->Caption(), L"Left margin");
                EXPECT_EQ(d.lblName3->Caption(), L"Three");
            })
            .Click(L"btnCancel"));
    dialog->ShowModal();
}

TEST_F(SetGroupItemTest, FourItemsKeepTheDesignedWidth) {
    auto dialog = Prepared(2);
    const int designed = dialog->Width();
    forms().WhenModal(
        L"TFormSetGroupItem",
        UserScript()
            .Inspect([designed](Form& f) {
                TFormSetGroupItem& d = Dialog(f);
                EXPECT_EQ(d.Width(), designed);
                EXPECT_EQ(d.Height(), 300);
                EXPECT_EQ(PanelsShown(d), (std::vector<bool>{true, true, true, true, false, false, false, false}));
            })
            .PressEsc());
    dialog->ShowModal();
}

TEST_F(SetGroupItemTest, NoteShowsTheChosenOptionInPlaceOfItsPlaceholder) {
    struct Case {
        const char* name;
        std::int32_t subGroup;
        std::wstring info;
    };
    const Case cases[] = {
        {"with %s", 64, L"Forms of kind Booklet: set both."},
        {"without", 1, L"Plain note, 100 per cent."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = Prepared(c.subGroup);
        forms().WhenModal(
            L"TFormSetGroupItem",
            UserScript().Inspect([&](Form& f) { EXPECT_EQ(Dialog(f).lblInfo->Caption(), c.info); }).PressEsc());
        dialog->ShowModal();
    }
}

// The group read selects each item's value; among equal rule values the later entry wins, and a value no
// entry holds selects nothing.
TEST_F(SetGroupItemTest, ShowSelectsThePrinterValues) {
    auto dialog = Prepared(1);
    forms().WhenModal(L"TFormSetGroupItem", UserScript()
                                                .Inspect([](Form& f) {
                                                    TFormSetGroupItem& d = Dialog(f);
                                                    EXPECT_EQ(d.lst1->ItemIndex(), 1);
                                                    EXPECT_EQ(d.lst2->ItemIndex(), 1);
                                                    EXPECT_EQ(d.lst3->ItemIndex(), 0);
                                                })
                                                .PressEsc());
    dialog->ShowModal();
    EXPECT_EQ(printer->commandLog().back(), "read 05 items");

    dialog = Prepared(64);
    forms().WhenModal(L"TFormSetGroupItem", SeesNoSelection());
    dialog->ShowModal();
}

// Regression (reply in pieces): a group reply cut before its first entry selected the menu's defaults as the
// printer's values.
TEST_F(SetGroupItemTest, ReplyInPiecesSelectsNoValueThePrinterNeverGave) {
    printer->defineItem(0x61, 1, 2);
    printer->faults().replyChunk = 6;
    printer->faults().replyChunkGapMs = 20;
    auto dialog = Prepared(1);
    forms().WhenModal(L"TFormSetGroupItem", SeesNoSelection());
    dialog->ShowModal();
}

TEST_F(SetGroupItemTest, SetWritesTheChosenItemsBetweenOneEnterAndOneSave) {
    struct Case {
        const char* name;
        int margin;  // entry of lst1, -1: none
        int top;     // entry of lst2
        std::string sent;
        std::int32_t marginAfter;
        std::int32_t topAfter;
    };
    const Case cases[] = {
        {"both items", 1, 1, "1B 1D 1E 05 01 1B 1D 1F 00 0B 03 1B 1D 1F 04 13 05 80 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F",
         3, -5},
        {"nothing chosen", -1, -1, "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F", 9, 9},
        {"byte minus one", 2, -1, "1B 1D 1E 05 01 1B 1D 1F 00 0B FF 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F", -1, 9},
        {"word minus 300", -1, 2, "1B 1D 1E 05 01 1B 1D 1F 04 13 2C 81 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F", 9, -300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetPrinterItems();
        auto dialog = Prepared(64);
        UserScript script;
        if (c.margin >= 0) {
            script.Pick(L"lst1", c.margin);
        }
        if (c.top >= 0) {
            script.Pick(L"lst2", c.top);
        }
        forms().WhenModal(L"TFormSetGroupItem", script.Click(L"btnSet").ExpectBox(SuccessBox()));
        dialog->ShowModal();
        EXPECT_EQ(LastWrite(), Hex(c.sent));
        EXPECT_EQ(printer->itemValue(kLeftMargin), c.marginAfter);
        EXPECT_EQ(printer->itemValue(kTopOfForm), c.topAfter);
    }
}

// A rule value too wide for its item would shift every later byte of the frame: the whole set is refused with
// the write failure's box and nothing reaches the printer, not even the items that fit.
TEST_F(SetGroupItemTest, AValueTooWideForItsItemSendsNothing) {
    std::wstring menu = kGroupMenu;
    const std::wstring rule = L"-1=Minus one";
    menu.insert(menu.find(rule) + rule.size(), L",300=Too wide");
    LoadModel(L"", menu);
    auto dialog = Prepared(64);
    forms().WhenModal(L"TFormSetGroupItem",
                      UserScript()
                          .Pick(L"lst1", 3)
                          .Pick(L"lst2", 1)
                          .Inspect([&](Form&) { sim.portLibrary().ClearCalls(); })
                          .Click(L"btnSet")
                          .ExpectBox(Box(L"Setting the printer failed.", L"Hint", platform::MsgIcon::Error))
                          .Inspect([](Form& f) { EXPECT_TRUE(f.Visible()); })
                          .Click(L"btnCancel"));
    dialog->ShowModal();
    EXPECT_TRUE(Written().empty());
    EXPECT_EQ(printer->itemValue(kLeftMargin), 9);
    EXPECT_EQ(printer->itemValue(kTopOfForm), 9);
}

// The return text stays on the cancel button after a set until the next show.
TEST_F(SetGroupItemTest, ASuccessfulSetClosesWithTheReturnText) {
    auto dialog = Prepared(64);
    forms().WhenModal(L"TFormSetGroupItem", UserScript().Pick(L"lst1", 1).Click(L"btnSet").ExpectBox(SuccessBox()));
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(dialog->btnCancel->Caption(), L"Return");

    forms().WhenModal(L"TFormSetGroupItem",
                      UserScript()
                          .Inspect([](Form& f) { EXPECT_EQ(Dialog(f).btnCancel->Caption(), L"Cancel"); })
                          .Inspect([](Form& f) { EXPECT_EQ(Dialog(f).lst1->ItemIndex(), 1) << "read back"; })
                          .PressEsc());
    dialog->ShowModal();
}

// A width-3 item goes out high byte first, as the printer answers it, so the next show finds the entry again.
TEST_F(SetGroupItemTest, WidthThreeItemRoundTrips) {
    auto dialog = Prepared(1);
    forms().WhenModal(L"TFormSetGroupItem", UserScript().Pick(L"lst2", 0).Click(L"btnSet").ExpectBox(SuccessBox()));
    dialog->ShowModal();
    EXPECT_EQ(LastWrite(), Hex("1B 1D 1E 05 01 1B 1D 1F 04 61 01 1B 1D 1F 04 62 A0 00 00 1B 1D 1F 04 63 00 1B 1D 1F "
                               "04 64 00 1B 1D 1F 04 65 00 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"));
    EXPECT_EQ(printer->itemValue(vprinter::ItemCode(0x62, 0x04, 0x62)), 0xA00000);

    forms().WhenModal(L"TFormSetGroupItem",
                      UserScript().Inspect([](Form& f) { EXPECT_EQ(Dialog(f).lst2->ItemIndex(), 0); }).PressEsc());
    dialog->ShowModal();
}

// Only a printer in the port library's list is read or written; the dialog stays open for another try.
TEST_F(SetGroupItemTest, SetRefusesAPortTheLibraryDoesNotList) {
    struct Case {
        const char* name;
        std::wstring port;
    };
    const Case cases[] = {{"no USB in the name", L"LPT1:"}, {"USB port without a printer", L"USB009"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.spooler().AddPrinter(L"Other", kDriver, c.port);
        g_strPrinterName = L"Other";
        auto dialog = Prepared(64);
        sim.portLibrary().ClearCalls();
        forms().WhenModal(L"TFormSetGroupItem", UserScript()
                                                    .Pick(L"lst1", 1)
                                                    .Click(L"btnSet")
                                                    .ExpectBox(Box(L"No printer on port " + c.port + L".", L"Error",
                                                                   platform::MsgIcon::Error))
                                                    .Inspect([](Form& f) { EXPECT_TRUE(f.Visible()); })
                                                    .Click(L"btnCancel"));
        dialog->ShowModal();
        EXPECT_TRUE(Calls("OpenPrinterUSBPort").empty());
        EXPECT_TRUE(Written().empty());
    }
}

TEST_F(SetGroupItemTest, OfflinePrinterAndFailedWriteKeepTheDialogOpen) {
    auto dialog = Prepared(64);
    std::size_t writesBefore = 0;
    forms().WhenModal(L"TFormSetGroupItem",
                      UserScript()
                          .Pick(L"lst1", 1)
                          .Inspect([&](Form&) {
                              writesBefore = printer->writes().size();
                              sim.spooler().SetAttributes(kPrinter, platform::kPrinterAttributeWorkOffline);
                          })
                          .Click(L"btnSet")
                          .ExpectBox(Box(L"No printer found.", L"Hint", platform::MsgIcon::Error))
                          .Inspect([&](Form&) {
                              EXPECT_EQ(printer->writes().size(), writesBefore);
                              sim.spooler().SetAttributes(kPrinter, 0);
                              printer->faults().shortWrite = 4;
                          })
                          .Click(L"btnSet")
                          .ExpectBox(Box(L"Setting the printer failed.", L"Hint", platform::MsgIcon::Error))
                          .Inspect([](Form& f) { EXPECT_EQ(Dialog(f).btnCancel->Caption(), L"Cancel"); })
                          .Click(L"btnCancel"));
    dialog->ShowModal();
    EXPECT_EQ(printer->itemValue(kLeftMargin), 9);
}

}  // namespace
