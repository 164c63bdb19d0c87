// The ink alignment dialog against the virtual printer: the read at showing and on a resolution box, the
// resolution rule of the print and read commands, the set with its read-back, and the other roads.
#include <gtest/gtest.h>

#include <algorithm>

#include "ink_dialog_fixture.h"
#include "platform/files.h"
#include "platform/spooler.h"

namespace {

using platform::MsgIcon;
using platform::MsgResult;
using platform::sim::UserScript;
using namespace platform::forms;

class InkSetTest : public InkDialogTest {
protected:
    void SetUp() override {
        InkDialogTest::SetUp();
        UseInkItem(L"Ink_Adjust600");
    }
    // The alignment commands the printer saw, as its log names them.
    std::vector<std::string> AlignmentLog() {
        std::vector<std::string> out;
        for (const std::string& line : printer->commandLog()) {
            if (line.find("alignment") != std::string::npos) {
                out.push_back(line);
            }
        }
        return out;
    }
    static platform::sim::ExpectedBox AdjustBox(MsgResult answer) {
        platform::sim::ExpectedBox box = Box(L"Adjust", L"HintTitle", MsgIcon::Question);
        box.buttons = platform::MsgButtons::OKCancel;
        box.answer = answer;
        return box;
    }
};

TEST_F(InkSetTest, MadeWithItsTextsAndShownWithItsItem) {
    g_strPrinterName = L"Varintex WQ-472 (office)";
    sim.spooler().AddPrinter(g_strPrinterName, kDriver, L"USB001");
    g_iAdjustMode = 1;
    auto dialog = RunModal<TfrmInkSet>(UserScript().PressEsc());
    EXPECT_EQ(sim.forms().ApplicationTitle(), L"Varintex WQ-472 (office)");
    EXPECT_EQ(dialog->lbl1->Caption(), L"ParametersTitle");
    EXPECT_EQ(dialog->chkDraft->Caption(), L"DraftPrint");
    EXPECT_EQ(dialog->chkNormal->Caption(), L"NormalPrint");
    EXPECT_EQ(dialog->btnPrn->Caption(), L"btnInkPrn");
    EXPECT_EQ(dialog->btnClose->Caption(), L"ParametersBtnReturn");
    EXPECT_FALSE(dialog->chkQuality->Visible());
    EXPECT_TRUE(dialog->chkNormal->Checked());
    EXPECT_EQ(dialog->Caption(), L"Ink title");
    EXPECT_EQ(dialog->lblInfo->Caption(), L"Ink explanation");
    EXPECT_EQ(g_iAdjustMode, 2) << "every show starts at 600 dpi";
    EXPECT_EQ(g_strLocalPortFile, L"USB001");
    EXPECT_EQ(AlignmentLog(), std::vector<std::string>{"read alignment 01"});
}

TEST_F(InkSetTest, TheValueReadPutsTheTrackBarAtValuePlusTenWithinItsEnds) {
    struct Case {
        const char* name;
        std::uint8_t byte;
        int position;
    };
    const Case cases[] = {
        {"250 is -6", 250, 4},
        {"0", 0, 10},
        {"10", 10, 20},
        {"11 stops at the right end", 11, 20},
        {"191 is itself", 191, 20},
        {"192 is -64: the left end", 192, 0},
        {"-11 stops at the left end", 245, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->setAlignment(1, static_cast<std::int8_t>(c.byte));
        auto dialog = RunModal<TfrmInkSet>(UserScript().PressEsc());
        EXPECT_EQ(dialog->trckbrAdjust->Position(), c.position);
        EXPECT_EQ(dialog->m_iPrinterItemValue, c.byte >= 192 ? c.byte - 256 : c.byte);
        EXPECT_TRUE(dialog->btnSet->Enabled());
    }
}

// Print and read follow the item's name before the mode; the set follows the mode alone.
TEST_F(InkSetTest, TheResolutionRule) {
    struct Case {
        const char* name;
        const wchar_t* item;
        bool draft;  // the user checks the draft box first
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"300 dpi item at the default mode",
         L"Ink_Adjust300",
         false,
         {"read alignment 01", "print alignment pattern 01", "set alignment 01=F9", "read alignment 01"}},
        {"300 dpi item in draft",
         L"Ink_Adjust300",
         true,
         {"read alignment 01", "read alignment 00", "print alignment pattern 00", "set alignment 00=F9",
          "read alignment 00"}},
        {"600 dpi item in draft",
         L"Ink_Adjust600",
         true,
         {"read alignment 01", "read alignment 01", "print alignment pattern 01", "set alignment 00=F9",
          "read alignment 01"}},
        {"1200 dpi item in draft",
         L"Ink_Adjust1200",
         true,
         {"read alignment 01", "read alignment 02", "print alignment pattern 02", "set alignment 00=F9",
          "read alignment 02"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseInkItem(c.item);
        const std::size_t before = AlignmentLog().size();
        UserScript script;
        if (c.draft) {
            script.Click(L"chkDraft");
        }
        script.Click(L"btnPrn").ExpectBox(AdjustBox(MsgResult::OK)).Pick(L"trckbrAdjust", 3).Click(L"btnSet");
        script.ExpectBox(Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information)).PressEsc();
        auto dialog = RunModal<TfrmInkSet>(std::move(script));
        const std::vector<std::string> log = AlignmentLog();
        EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(before), log.end()), c.log);
        EXPECT_EQ(g_iAdjustMode, c.draft ? 1 : 2);
        EXPECT_FALSE(dialog->chkNormal->Checked() && c.draft);
    }
}

TEST_F(InkSetTest, PositionThreeSendsTheSettingsWriteSequenceWithF9) {
    RunModal<TfrmInkSet>(
        UserScript().Pick(L"trckbrAdjust", 3).Click(L"btnSet").ExpectBox(L"SetPrinterSuccessI").PressEsc());
    EXPECT_EQ(SetWrites(), std::vector<platform::Bytes>{
                               Hex(std::string(kEnter) + " 1B 1D 1E 11 02 01 01 F9 " + kTail + " " + kSave)});
    EXPECT_EQ(printer->alignment(1), -7);
}

TEST_F(InkSetTest, TheReadBackDecidesTheBoxAndWhereTheTrackBarEnds) {
    struct Case {
        const char* name;
        const wchar_t* globalKeys;
        std::optional<std::string> readBack;  // the reply to the read-back in place of the printer's; "" none
        platform::sim::ExpectedBox box;
        int position;
        bool setEnabled;
    };
    const Case cases[] = {
        {"read back as set", L"", std::nullopt, Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information), 3,
         false},
        {"read back as another value", L"", "1B 1D 1E 12 02 01 01 00 1B 1D 1F",
         Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information), 10, true},
        {"read-back fails", L"", "", Box(L"SetPrinterTimeout", L"HintTitle", MsgIcon::Error), 3, false},
        // The track bar goes back to the value read at showing (2).
        {"read-back fails, no longer affirmed", L"AffirmReadDisable=1\n", "",
         Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information), 12, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseInkItem(L"Ink_Adjust600", L"", c.globalKeys);
        printer->setAlignment(1, 2);
        UserScript script;
        script.Pick(L"trckbrAdjust", 3)
            .Inspect([&](Form&) {
                if (c.readBack) {
                    Script("read alignment 01", c.readBack->empty() ? std::vector<platform::Bytes>{}
                                                                    : std::vector<platform::Bytes>{Hex(*c.readBack)});
                }
            })
            .Click(L"btnSet")
            .DuringNextPump()
            .Inspect([](Form& form) {
                auto& dialog = dynamic_cast<TfrmInkSet&>(form);
                EXPECT_FALSE(dialog.pnlTop->Enabled());
                EXPECT_FALSE(dialog.btnSet->Enabled());
                EXPECT_FALSE(dialog.btnClose->Enabled());
                EXPECT_FALSE(dialog.btnDefault->Enabled());
            })
            .ExpectBox(c.box)
            .PressEsc();
        auto dialog = RunModal<TfrmInkSet>(std::move(script));
        EXPECT_EQ(dialog->trckbrAdjust->Position(), c.position);
        EXPECT_EQ(dialog->btnSet->Enabled(), c.setEnabled);
        EXPECT_TRUE(dialog->pnlTop->Enabled());
        EXPECT_TRUE(dialog->btnClose->Enabled());
        EXPECT_TRUE(dialog->btnDefault->Enabled());
        EXPECT_EQ(printer->scriptLeft(), 0u);
    }
}

TEST_F(InkSetTest, AFailedReadLeavesTheTrackBar) {
    struct Case {
        const char* name;
        const char* reply;
        const wchar_t* globalKeys;
        bool box;
    };
    const Case cases[] = {
        {"no frame head", "12 02 01 01 05 1B 1D 1F", L"", true},
        {"too short to hold byte 7", "1B 1D 1E 12 02 01 01", L"", true},
        {"no frame head, no longer affirmed", "12 02 01 01 05 1B 1D 1F", L"AffirmReadDisable=1\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseInkItem(L"Ink_Adjust600", L"", c.globalKeys);
        Script("read alignment 01", {Hex(c.reply)});
        if (c.box) {
            sim.messageBoxes().ExpectBox(Box(L"PrinterStatusError", L"ErrorTitle", MsgIcon::Warning));
        }
        auto dialog = RunModal<TfrmInkSet>(UserScript().PressEsc());
        EXPECT_EQ(dialog->trckbrAdjust->Position(), TfrmInkSet::kZeroPosition);
    }
}

// The alignment has no value to fall back on: a port the port library does not list ends the read with its box.
TEST_F(InkSetTest, AnUnlistedUsbPortIsNotRead) {
    sim.spooler().AddPrinter(kPrinter, kDriver, L"USB009");
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFoundOnPort(USB009)", L"ErrorTitle", MsgIcon::Error));
    auto dialog = RunModal<TfrmInkSet>(UserScript().PressEsc());
    EXPECT_TRUE(printer->writes().empty());
    EXPECT_EQ(dialog->trckbrAdjust->Position(), TfrmInkSet::kZeroPosition);
}

TEST_F(InkSetTest, APositionWithoutARuleValueSendsNothing) {
    UseInkItem(L"Ink_Adjust600", L"Rule.EN=Min=-10\\rMax=-5\\rStep=1\\rDisplayAdd=0\\rmmMultiply=0\\rTitle=\n");
    RunModal<TfrmInkSet>(UserScript()
                             .Pick(L"trckbrAdjust", 6)
                             .Click(L"btnSet")
                             .ExpectBox(Box(L"SetPrinterFail", L"HintTitle", MsgIcon::Error))
                             .Pick(L"trckbrAdjust", 5)
                             .Click(L"btnSet")
                             .ExpectBox(L"SetPrinterSuccessI")
                             .PressEsc());
    EXPECT_EQ(AlignmentLog().back(), "read alignment 01");
    EXPECT_EQ(printer->alignment(1), -5);
}

TEST_F(InkSetTest, DefaultMovesTheTrackBarAndSendsNothing) {
    const std::size_t writes = printer->writes().size();
    auto dialog = RunModal<TfrmInkSet>(UserScript().Click(L"btnDefault").PressEsc());
    EXPECT_EQ(dialog->trckbrAdjust->Position(), 12);
    EXPECT_TRUE(dialog->btnSet->Enabled());
    EXPECT_EQ(printer->writes().size(), writes + 1) << "the read at showing only";
}

TEST_F(InkSetTest, ThePrintAsksFirstAndWaitsForABusyPrinter) {
    struct Case {
        const char* name;
        std::uint8_t status;
        std::vector<platform::sim::ExpectedBox> boxes;
        bool printed;
    };
    const Case cases[] = {
        {"confirmed", 0x18, {AdjustBox(MsgResult::OK)}, true},
        {"cancelled", 0x18, {AdjustBox(MsgResult::Cancel)}, false},
        {"busy", 0x1F, {Box(L"WaitingForPrinterWork", L"HintTitle", MsgIcon::Error)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->faults().statusByte = c.status;
        const std::size_t before = AlignmentLog().size();
        UserScript script;
        script.Click(L"btnPrn");
        for (const auto& box : c.boxes) {
            script.ExpectBox(box);
        }
        RunModal<TfrmInkSet>(std::move(script.PressEsc()));
        EXPECT_EQ(AlignmentLog().size() - before, c.printed ? 2u : 1u);
        EXPECT_EQ(AlignmentLog().back() == "print alignment pattern 01", c.printed);
    }
}

TEST_F(InkSetTest, APrinterOnAnotherPortIsNotReadNorPrintedAndItsSetGoesToTheSpooler) {
    sim.spooler().AddPrinter(kPrinter, kDriver, L"LPT1:");
    RunModal<TfrmInkSet>(UserScript()
                             .Click(L"btnPrn")
                             .ExpectBox(AdjustBox(MsgResult::OK))
                             .Pick(L"trckbrAdjust", 3)
                             .Click(L"btnSet")
                             .ExpectBox(Box(L"SetPrinterCantAffirm", L"HintTitle", MsgIcon::Information))
                             .PressEsc());
    EXPECT_TRUE(printer->writes().empty());
    const auto jobs = sim.spooler().RawJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].docName, L"Printer setting job");
    EXPECT_EQ(jobs[0].bytes, Hex(std::string(kEnter) + " 1B 1D 1E 11 02 01 01 F9 " + kTail + " " + kSave));
}

TEST_F(InkSetTest, PortModeWritesThePrintAndTheSetToThePortFile) {
    UsePortMode();
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error));
    RunModal<TfrmInkSet>(UserScript()
                             .Click(L"btnPrn")
                             .ExpectBox(Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information))
                             .Inspect([&](Form&) {
                                 EXPECT_EQ(sim.files().ReadWholeFile(kPortFile), Hex("1B 1D 1E 10 10 01 01 1B 1D 1F"));
                             })
                             .Pick(L"trckbrAdjust", 3)
                             .Click(L"btnSet")
                             .ExpectBox(Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information))
                             .PressEsc());
    EXPECT_EQ(sim.files().ReadWholeFile(kPortFile),
              Hex(std::string(kEnter) + " 1B 1D 1E 11 02 01 01 F9 " + kTail + " " + kSave));
    EXPECT_TRUE(printer->writes().empty());
    EXPECT_EQ(g_strLocalPortFile, kPortFile) << "an unknown printer leaves the chosen port";

    // And a failing port file says so.
    g_strLocalPortFile = L"C:\\missing\\LPT1.prn";
    sim.messageBoxes().ExpectBox(L"PrinterNotFound");
    RunModal<TfrmInkSet>(
        UserScript().Click(L"btnPrn").ExpectBox(Box(L"SetPrinterFail", L"HintTitle", MsgIcon::Error)).PressEsc());
}

TEST_F(InkSetTest, AnOfflinePrinterIsNotRead) {
    sim.spooler().SetAttributes(kPrinter, platform::kPrinterAttributeWorkOffline);
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error));
    RunModal<TfrmInkSet>(
        UserScript().Click(L"chkDraft").ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error)).PressEsc());
    EXPECT_TRUE(printer->writes().empty());
    EXPECT_EQ(g_iAdjustMode, 1);
}

TEST_F(InkSetTest, TheAlignmentDecoderTakesByteSevenOfAReplyLongEnough) {
    const std::uint8_t reply[] = {0x1B, 0x1D, 0x1E, 0x12, 0x02, 0x01, 0x01, 0xFA, 0x1B, 0x1D, 0x1F};
    EXPECT_EQ(DecodeAlignmentReply(reply, 11), -6);
    EXPECT_EQ(DecodeAlignmentReply(reply, 8), -6);
    EXPECT_EQ(DecodeAlignmentReply(reply, 7), std::nullopt);
    EXPECT_EQ(DecodeAlignmentReply(nullptr, 11), std::nullopt);
}

}  // namespace

namespace {

// A start with page code 1 makes the three dialogs hidden for the item dialog: only their creation runs, and
// their pointers go with them.
TEST_F(InkDialogTest, APageOneStartMakesTheThreeHiddenWithoutTalkingToThePrinter) {
    UseInkItem(L"Ink_Adjust600");
    g_byStartPage = pgSingleItem;
    g_byPage = pgSingleItem;
    auto& app = platform::forms::application();
    frmInkSet = app.CreateForm<TfrmInkSet>();
    Inquiry = app.CreateForm<TInquiry>();
    InkDry = app.CreateForm<TInkDry>();
    EXPECT_FALSE(frmInkSet->Visible() || Inquiry->Visible() || InkDry->Visible());
    EXPECT_EQ(frmInkSet->Caption(), L"ParametersCaption");
    EXPECT_EQ(Inquiry->lblInkTitle->Caption(), L"InkInfo");
    EXPECT_EQ(InkDry->btnSet->Caption(), L"ParametersBtnSet");
    EXPECT_TRUE(printer->writes().empty());
    EXPECT_EQ(g_strLocalPortFile, L"");
    app.DestroyForms();
    EXPECT_EQ(frmInkSet, nullptr);
    EXPECT_EQ(Inquiry, nullptr);
    EXPECT_EQ(InkDry, nullptr);
}

}  // namespace
