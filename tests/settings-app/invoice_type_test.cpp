// The invoice-type dialog against the virtual printer: its lists, the reads at fixed reply positions, the set
// in raw frames, the height field, the length measurement with its waiting window, and its two layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormInvoiceType_SetGroup.h"
#include "group_dialog_fixture.h"
#include "platform/forms/forms.h"

namespace {

using namespace platform::forms;
using platform::sim::ExpectedBox;
using platform::sim::UserScript;

constexpr char kEnter[] = "1B 1D 1E 05 01 1B 1D 1F";
constexpr char kSave[] = "1B 1D 1E 05 02 1B 1D 1F";

class InvoiceTypeTest : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        DefineInvoiceItems(-5, 600, 2, 7);
    }

    // Laid out for option 3 or 4 as the item dialog does.
    FormPtr<TfrmInvoiceType_SetGruop> Prepared(std::int32_t option) {
        auto dialog = MakeForm<TfrmInvoiceType_SetGruop>();
        LayOutInvoiceType(*dialog, option);
        dialog->SetCaption(L"Booklet");
        return dialog;
    }
    static TfrmInvoiceType_SetGruop& Dialog(Form& form) { return dynamic_cast<TfrmInvoiceType_SetGruop&>(form); }
    // The height field emptied, then typed by the user.
    static UserScript TypeHeight(UserScript script, const std::wstring& text) {
        script.Inspect([](Form& f) { Dialog(f).medt1->SetText(L""); }).Type(L"medt1", text);
        return script;
    }
    static std::string Frames(std::initializer_list<const char*> frames) {
        std::string all;
        for (const char* frame : frames) {
            all += std::string(all.empty() ? "" : " ") + frame;
        }
        return all;
    }
};

TEST_F(InvoiceTypeTest, ShowFillsTheListsAndReadsFourItems) {
    auto dialog = Prepared(4);
    forms().WhenModal(L"TfrmInvoiceType_SetGruop",
                      UserScript()
                          .Inspect([](Form& f) {
                              TfrmInvoiceType_SetGruop& d = Dialog(f);
                              ASSERT_EQ(d.lst1->Items().size(), 90u);
                              EXPECT_EQ(d.lst1->Items().front(), L"-19/60 inch (-8.04mm)");
                              EXPECT_EQ(d.lst1->Items().back(), L"70/60 inch (29.63mm)");
                              EXPECT_EQ(d.lst3->Items(),
                                        (std::vector<std::wstring>{L"0/10 inch (0.00mm)", L"1/10 inch (2.54mm)",
                                                                   L"2/10 inch (5.08mm)", L"3/10 inch (7.62mm)",
                                                                   L"4/10 inch (10.16mm)", L"5/10 inch (12.70mm)"}));
                              ASSERT_EQ(d.lst4->Items().size(), 8u);
                              EXPECT_EQ(d.lst4->Items()[0], L"Auto");
                              EXPECT_EQ(d.lst4->Items()[7], L"7 layers");
                              EXPECT_EQ(d.lblName2->Caption(), L"Booklet height");
                              EXPECT_EQ(d.lblInfo->Caption(), L"Booklet and card forms.");
                              EXPECT_EQ(d.btnDetect->Caption(), L"Measure");
                              // -5/60 inch, 2/10 inch, automatic, 600/60 inch
                              EXPECT_EQ(d.lst1->ItemIndex(), 14);
                              EXPECT_EQ(d.lst3->ItemIndex(), 2);
                              EXPECT_EQ(d.lst4->ItemIndex(), 0);
                              EXPECT_EQ(d.medt1->Text(), L"254.0");
                          })
                          .PressEsc());
    dialog->ShowModal();
    EXPECT_EQ(Written().front(), Hex("1B 1D 1E 05 03 04 4B 0A 0F 4D 1B 1D 1F"));
    EXPECT_EQ(Written().size(), 1u) << "cancel sends nothing";
}

TEST_F(InvoiceTypeTest, RepliesSelectTheirEntries) {
    struct Case {
        const char* name;
        std::int32_t topOfForm;
        std::int32_t copyStrength;
        std::int32_t height;
        int lst1;
        int lst4;
        std::wstring medt1;
    };
    const Case cases[] = {
        {"automatic copy strength", -5, 7, 12, 14, 0, L"05.0"},
        {"copy strength 0 is one layer", 70, 0, 600, 89, 1, L"254.0"},
        {"top of form outside the list", 71, 3, 127, -1, 4, L"54.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DefineInvoiceItems(c.topOfForm, c.height, 2, c.copyStrength);
        auto dialog = Prepared(4);
        forms().WhenModal(L"TfrmInvoiceType_SetGruop", UserScript()
                                                           .Inspect([&](Form& f) {
                                                               EXPECT_EQ(Dialog(f).lst1->ItemIndex(), c.lst1);
                                                               EXPECT_EQ(Dialog(f).lst4->ItemIndex(), c.lst4);
                                                               EXPECT_EQ(Dialog(f).medt1->Text(), c.medt1);
                                                           })
                                                           .PressEsc());
        dialog->ShowModal();
    }
}

// Fields beyond the end of a short reply keep what they showed; the command still in the buffer there is
// never read as values.
TEST_F(InvoiceTypeTest, ShortReplyKeepsTheFieldsItDoesNotReach) {
    auto dialog = Prepared(4);
    forms().WhenModal(L"TfrmInvoiceType_SetGruop", UserScript().PressEsc());
    dialog->ShowModal();
    ASSERT_EQ(dialog->medt1->Text(), L"254.0");

    Script("read 04 items", {Hex("1B 1D 1E 05 03 03 4B 02 0A 00 0A 01")});
    forms().WhenModal(L"TfrmInvoiceType_SetGruop", UserScript()
                                                       .Inspect([](Form& f) {
                                                           TfrmInvoiceType_SetGruop& d = Dialog(f);
                                                           EXPECT_EQ(d.lst1->ItemIndex(), 29);
                                                           EXPECT_EQ(d.lst3->ItemIndex(), -1);
                                                           EXPECT_EQ(d.lst4->ItemIndex(), -1);
                                                           EXPECT_EQ(d.medt1->Text(), L"254.0");
                                                       })
                                                       .PressEsc());
    dialog->ShowModal();

    Script("read 04 items", {Hex("1B 1D 1E 05 03 03 4B 02 0A")});
    forms().WhenModal(L"TfrmInvoiceType_SetGruop", UserScript()
                                                       .Inspect([](Form& f) {
                                                           EXPECT_EQ(Dialog(f).lst1->ItemIndex(), -1);
                                                           EXPECT_EQ(Dialog(f).medt1->Text(), L"254.0");
                                                       })
                                                       .PressEsc());
    dialog->ShowModal();
}

// Regression (garbage before the reply): the values were taken at fixed offsets from bytes that were not the
// reply's, so a copy strength of "automatic" showed as three layers.
TEST_F(InvoiceTypeTest, GarbageBeforeTheReplyShowsNoValueFromOtherBytes) {
    DefineInvoiceItems(-5, 600, 3, 7);
    printer->faults().garbageBeforeFrame = Hex("00 00 00");
    auto dialog = Prepared(3);
    forms().WhenModal(L"TfrmInvoiceType_SetGruop", UserScript()
                                                       .Inspect([](Form& f) {
                                                           TfrmInvoiceType_SetGruop& d = Dialog(f);
                                                           EXPECT_EQ(d.lst1->ItemIndex(), -1);
                                                           EXPECT_EQ(d.lst3->ItemIndex(), -1);
                                                           EXPECT_EQ(d.lst4->ItemIndex(), -1);
                                                       })
                                                       .PressEsc());
    dialog->ShowModal();
}

TEST_F(InvoiceTypeTest, TheTwoLayouts) {
    struct Case {
        const char* name;
        std::int32_t option;
        int width;
        bool booklet;
        int item3;
        int item4;
    };
    const Case cases[] = {{"option 3", 3, 540, false, 178, 353}, {"option 4", 4, 710, true, 349, 524}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = Prepared(c.option);
        EXPECT_EQ(dialog->Width(), c.width);
        EXPECT_EQ(dialog->pnlItem2->Visible(), c.booklet);
        EXPECT_EQ(dialog->pnlItem3->Left(), c.item3);
        EXPECT_EQ(dialog->pnlItem4->Left(), c.item4);
        LayOutInvoiceType(*dialog, 5);
        EXPECT_EQ(dialog->Width(), c.width) << "a later option keeps the layout";
        EXPECT_EQ(dialog->pnlItem3->Left(), c.item3);
    }
}

TEST_F(InvoiceTypeTest, SetSendsOneRawFramePerField) {
    struct Case {
        const char* name;
        std::int32_t option;
        int lst1;  // entries picked, -1: as read
        int lst3;
        int lst4;
        const wchar_t* height;  // typed, null: as read
        std::string sent;
    };
    const Case cases[] = {
        {"booklet shown", 4, 19, 2, 0, L"254",
         Frames({kEnter, "1B 1D 1E 04 13 00 00 1B 1D 1F", "1B 1D 1E 00 1A 58 02 1B 1D 1F", "1B 1D 1E 00 0B 02 1B 1D 1F",
                 "1B 1D 1E 00 10 07 1B 1D 1F", kSave})},
        {"negative top of form, three layers", 4, 14, -1, 3, nullptr,
         Frames({kEnter, "1B 1D 1E 04 13 05 80 1B 1D 1F", "1B 1D 1E 00 1A 58 02 1B 1D 1F", "1B 1D 1E 00 0B 02 1B 1D 1F",
                 "1B 1D 1E 00 10 02 1B 1D 1F", kSave})},
        {"one millimetre is no height", 4, -1, -1, -1, L"1",
         Frames({kEnter, "1B 1D 1E 04 13 05 80 1B 1D 1F", "1B 1D 1E 00 0B 02 1B 1D 1F", "1B 1D 1E 00 10 07 1B 1D 1F",
                 kSave})},
        {"one and a half millimetres", 4, -1, -1, -1, L"1.5",
         Frames({kEnter, "1B 1D 1E 04 13 05 80 1B 1D 1F", "1B 1D 1E 00 1A 04 00 1B 1D 1F", "1B 1D 1E 00 0B 02 1B 1D 1F",
                 "1B 1D 1E 00 10 07 1B 1D 1F", kSave})},
        // 6.985 mm is 16.5 sixtieths.
        {"halves go to the even neighbour", 4, -1, -1, -1, L"6.985",
         Frames({kEnter, "1B 1D 1E 04 13 05 80 1B 1D 1F", "1B 1D 1E 00 1A 10 00 1B 1D 1F", "1B 1D 1E 00 0B 02 1B 1D 1F",
                 "1B 1D 1E 00 10 07 1B 1D 1F", kSave})},
        {"the tallest height, 32767 sixtieths", 4, -1, -1, -1, L"13871.4",
         Frames({kEnter, "1B 1D 1E 04 13 05 80 1B 1D 1F", "1B 1D 1E 00 1A FF 7F 1B 1D 1F", "1B 1D 1E 00 0B 02 1B 1D 1F",
                 "1B 1D 1E 00 10 07 1B 1D 1F", kSave})},
        {"booklet hidden", 3, -1, -1, -1, nullptr,
         Frames({kEnter, "1B 1D 1E 04 13 05 80 1B 1D 1F", "1B 1D 1E 00 0B 02 1B 1D 1F", "1B 1D 1E 00 10 07 1B 1D 1F",
                 kSave})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DefineInvoiceItems(-5, 600, 2, 7);
        sim.portLibrary().ClearCalls();
        auto dialog = Prepared(c.option);
        UserScript script;
        if (c.lst1 >= 0) {
            script.Pick(L"lst1", c.lst1);
        }
        if (c.lst3 >= 0) {
            script.Pick(L"lst3", c.lst3);
        }
        if (c.lst4 >= 0) {
            script.Pick(L"lst4", c.lst4);
        }
        if (c.height) {
            script = TypeHeight(std::move(script), c.height);
        }
        forms().WhenModal(L"TfrmInvoiceType_SetGruop", script.Click(L"btnSet"));
        dialog->ShowModal();
        const auto written = Written();
        ASSERT_EQ(written.size(), 2u);
        EXPECT_EQ(written[0].size(), c.option == 3 ? 12u : 13u) << "the read";
        EXPECT_EQ(written[1], Hex(c.sent));
    }
    EXPECT_EQ(printer->itemValue(kTopOfForm), -5);
    EXPECT_EQ(printer->itemValue(kBookletHeight), 600) << "the hidden panel's height is not sent";
}

// A dead printer: the read leaves the lists empty and the set sends enter and save alone, then closes.
TEST_F(InvoiceTypeTest, NothingSelectedSendsEnterAndSaveOnly) {
    printer->faults().noReply = true;
    auto dialog = Prepared(3);
    forms().WhenModal(L"TfrmInvoiceType_SetGruop", UserScript().Click(L"btnSet"));
    dialog->ShowModal();
    EXPECT_EQ(LastWrite(), Hex(Frames({kEnter, kSave})));
    EXPECT_FALSE(dialog->Visible());
}

TEST_F(InvoiceTypeTest, OfflinePrinterIsReportedAndSetStillCloses) {
    sim.spooler().SetAttributes(kPrinter, platform::kPrinterAttributeWorkOffline);
    sim.messageBoxes().ExpectBox(ExpectedBox{.text = L"No printer found.", .caption = L"Hint"});
    auto dialog = Prepared(4);
    forms().WhenModal(L"TfrmInvoiceType_SetGruop", UserScript()
                                                       .Click(L"btnSet")
                                                       .ExpectBox(L"The height is not a number.")
                                                       .Type(L"medt1", L"20")
                                                       .Click(L"btnSet")
                                                       .ExpectBox(L"No printer found."));
    dialog->ShowModal();
    EXPECT_TRUE(Written().empty());
}

// The printer holds the height as a signed 16-bit number of sixtieths: a taller one is refused like no number.
TEST_F(InvoiceTypeTest, HeightThatIsNoNumberOrBeyondSixteenBitsKeepsTheDialogOpen) {
    struct Case {
        const char* name;
        const wchar_t* height;
    };
    const Case cases[] = {
        {"empty", L""},
        {"twenty digits", L"12345678901234567890"},
        {"32768 sixtieths", L"13871.6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = Prepared(4);
        forms().WhenModal(
            L"TfrmInvoiceType_SetGruop",
            TypeHeight(UserScript().Inspect([&](Form&) { sim.portLibrary().ClearCalls(); }), c.height)
                .Click(L"btnSet")
                .ExpectBox(ExpectedBox{
                    .text = L"The height is not a number.", .caption = L"Error", .icon = platform::MsgIcon::Warning})
                .Inspect([](Form& f) { EXPECT_TRUE(Dialog(f).medt1->Focused()); })
                .Inspect([&](Form&) { EXPECT_TRUE(Written().empty()); })
                .PressEsc());
        dialog->ShowModal();
    }
    EXPECT_EQ(printer->itemValue(kBookletHeight), 600);
}

TEST_F(InvoiceTypeTest, HeightFieldTakesDigitsFullStopAndBackspaceOnly) {
    auto dialog = Prepared(4);
    forms().WhenModal(L"TfrmInvoiceType_SetGruop",
                      TypeHeight(UserScript(), L"a1,2-.5 x\b")
                          .Inspect([](Form& f) { EXPECT_EQ(Dialog(f).medt1->Text(), L"12."); })
                          .PressEsc());
    dialog->ShowModal();
}

TEST_F(InvoiceTypeTest, MeasurementWaitsEightSecondsAndShowsTheLength) {
    printer->setPageLength(600);
    auto dialog = Prepared(4);
    forms().WhenModal(L"TfrmInvoiceType_SetGruop",
                      UserScript()
                          .Inspect([&](Form& f) {
                              Dialog(f).btnDetect->SetHint(L"old");
                              sim.portLibrary().ClearCalls();
                          })
                          .Click(L"btnDetect")
                          .ExpectBox(ExpectedBox{.text = L"Put the booklet in.",
                                                 .caption = L"Hint",
                                                 .icon = platform::MsgIcon::Information,
                                                 .buttons = platform::MsgButtons::OKCancel})
                          .Inspect([](Form& f) {
                              EXPECT_EQ(Dialog(f).medt1->Text(), L"254.0");
                              EXPECT_EQ(Dialog(f).btnDetect->Hint(), L"258");
                              EXPECT_FALSE(Dialog(f).waitDlg1);
                          })
                          .PressEsc());
    dialog->ShowModal();
    EXPECT_EQ(Written(), (std::vector<platform::Bytes>{Hex("1B 1D 1E 00 1B 00 00 1B 1D 1F"),
                                                       Hex("1B 1D 1E 05 03 01 4E 1B 1D 1F")}));
    const auto& loops = forms().Loops();
    const auto waiting =
        std::find_if(loops.begin(), loops.end(), [](const auto& loop) { return loop.className == L"TfrmWaiting"; });
    ASSERT_NE(waiting, loops.end());
    EXPECT_EQ(waiting->endMs - waiting->startMs, 8000u);
}

TEST_F(InvoiceTypeTest, CancelledMeasuringQuestionSendsNothing) {
    auto dialog = Prepared(4);
    forms().WhenModal(L"TfrmInvoiceType_SetGruop",
                      UserScript()
                          .Inspect([&](Form&) { sim.portLibrary().ClearCalls(); })
                          .Click(L"btnDetect")
                          .ExpectBox(L"Put the booklet in.", platform::MsgResult::Cancel)
                          .Inspect([](Form& f) { EXPECT_EQ(Dialog(f).medt1->Text(), L"254.0"); })
                          .PressEsc());
    dialog->ShowModal();
    EXPECT_TRUE(Written().empty());
}

TEST(InvoiceTypeReply, FieldsOnlyWhereTheReplyReachesThem) {
    const platform::Bytes reply = HexBytes("1B 1D 1E 05 03 03 4B 02 05 80 0A 01 02 0F 01 07 4D 02 88 FF 1B 1D 1F");
    struct Case {
        const char* name;
        std::int32_t length;
        bool withHeight;
        bool top, margin, copies, height;
    };
    const Case cases[] = {
        {"too short", 11, true, false, false, false, false},
        {"twelve bytes", 12, true, true, false, false, false},
        {"to the copy strength", 16, true, true, true, true, false},
        {"whole", 23, true, true, true, true, true},
        {"whole, height not asked", 23, false, true, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TInvoiceTypeValues v = DecodeInvoiceTypeReply(reply.data(), c.length, c.withHeight);
        EXPECT_EQ(v.topOfForm.has_value(), c.top);
        EXPECT_EQ(v.leftMargin.has_value(), c.margin);
        EXPECT_EQ(v.copyStrength.has_value(), c.copies);
        EXPECT_EQ(v.bookletHeight.has_value(), c.height);
    }
    const TInvoiceTypeValues whole = DecodeInvoiceTypeReply(reply.data(), 23, true);
    EXPECT_EQ(whole.topOfForm, -5);
    EXPECT_EQ(whole.leftMargin, 2);
    EXPECT_EQ(whole.copyStrength, 7);
    EXPECT_EQ(whole.bookletHeight, -120);
}

}  // namespace
