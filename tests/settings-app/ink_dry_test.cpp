// The ink drying dialog against the virtual printer: the read at showing, the drying frame sent alone, the
// busy refusals and the other roads.
#include <gtest/gtest.h>

#include "UtilPrinter.h"
#include "ink_dialog_fixture.h"
#include "platform/files.h"
#include "platform/spooler.h"

namespace {

using platform::MsgIcon;
using platform::sim::UserScript;
using namespace platform::forms;

class InkDryTest : public InkDialogTest {
protected:
    void SetUp() override {
        InkDialogTest::SetUp();
        UseInkItem(L"Ink_Dry");
    }
    std::vector<std::string> DryingLog() {
        std::vector<std::string> out;
        for (const std::string& line : printer->commandLog()) {
            if (line.find("drying") != std::string::npos) {
                out.push_back(line);
            }
        }
        return out;
    }
};

TEST_F(InkDryTest, ShowingReadsTheTimeIntoTheTrackBar) {
    struct Case {
        const char* name;
        const char* reply;  // bytes 5 and 6 of the printer's reply
        int position;
    };
    const Case cases[] = {
        {"C8 00: 2 s", "C8 00", 4},
        {"64 00: 1 s", "64 00", 2},
        {"78 00 (120) rounds down", "78 00", 2},
        {"250 and above stop at the end", "FA 00", 4},
        {"FF FF", "FF FF", 4},
        {"31 00: 0 s", "31 00", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script("read drying time", {Hex(std::string("1B 1D 1E 12 09 ") + c.reply + " 1B 1D 1F")});
        auto dialog = RunModal<TInkDry>(UserScript().PressEsc());
        EXPECT_EQ(dialog->trckbrTime->Position(), c.position);
    }
    auto dialog = RunModal<TInkDry>(UserScript().PressEsc());
    EXPECT_EQ(dialog->Caption(), L"Ink title");
    EXPECT_EQ(dialog->lblTitle->Caption(), L"Ink note");
    EXPECT_EQ(dialog->lblInfo->Caption(), L"Ink explanation");
    EXPECT_EQ(dialog->grpInfo->Caption(), L"ParametersNoteTitle");
    EXPECT_EQ(dialog->btnReturn->Caption(), L"ParametersBtnReturn");
    EXPECT_EQ(g_strLocalPortFile, L"USB001");
}

TEST_F(InkDryTest, AShortOrHeadlessReplyIsAFailedRead) {
    const char* const replies[] = {"1B 1D 1E 12 09 C8", "12 09 C8 00 1B 1D 1F"};
    for (const char* reply : replies) {
        SCOPED_TRACE(reply);
        Script("read drying time", {Hex(reply)});
        sim.messageBoxes().ExpectBox(Box(L"PrinterStatusError", L"ErrorTitle", MsgIcon::Warning));
        auto dialog = RunModal<TInkDry>(UserScript().PressEsc());
        EXPECT_EQ(dialog->trckbrTime->Position(), 0);
    }
}

TEST_F(InkDryTest, SetSendsTheDryingFrameAloneWithoutReadingBack) {
    printer->setDryingTime(50);
    auto dialog =
        RunModal<TInkDry>(UserScript()
                              .Pick(L"trckbrTime", 3)
                              .Click(L"btnSet")
                              .ExpectBox(Box(L"InkFinish", L"HintTitle", MsgIcon::Information))
                              .Inspect([](Form& form) { EXPECT_FALSE(dynamic_cast<TInkDry&>(form).btnSet->Enabled()); })
                              .Pick(L"trckbrTime", 4)
                              .Inspect([](Form& form) { EXPECT_TRUE(dynamic_cast<TInkDry&>(form).btnSet->Enabled()); })
                              .PressEsc());
    EXPECT_EQ(printer->writes().back(), Hex("1B 1D 1E 11 1D 96 00 1B 1D 1F"));
    EXPECT_EQ(DryingLog(), (std::vector<std::string>{"read drying time", "set drying time 96 00"}));
    EXPECT_EQ(printer->dryingTime(), 150);
    EXPECT_FALSE(printer->inSettingsMode());
    EXPECT_EQ(dialog->trckbrTime->Position(), 4);
}

TEST_F(InkDryTest, TheFramesOfEachPosition) {
    const char* const frames[] = {"1B 1D 1E 11 1D 00 00 1B 1D 1F", "1B 1D 1E 11 1D 32 00 1B 1D 1F",
                                  "1B 1D 1E 11 1D 64 00 1B 1D 1F", "1B 1D 1E 11 1D 96 00 1B 1D 1F",
                                  "1B 1D 1E 11 1D C8 00 1B 1D 1F"};
    for (int position = 0; position < 5; ++position) {
        EXPECT_EQ(HexTextToBytes(DryingSetCommand(position)), Hex(frames[position])) << position;
    }
}

TEST_F(InkDryTest, ABusyPrinterIsNeitherReadNorSet) {
    printer->faults().statusByte = 0x1F;
    sim.messageBoxes().ExpectBox(Box(L"WaitingForPrinterWork", L"HintTitle", MsgIcon::Error));
    RunModal<TInkDry>(UserScript()
                          .Click(L"btnSet")
                          .ExpectBox(Box(L"WaitingForPrinterWork", L"HintTitle", MsgIcon::Error))
                          .PressEsc());
    EXPECT_TRUE(printer->writes().empty());
}

// The busy check comes before the port file: a busy printer of that name refuses port mode's write too.
TEST_F(InkDryTest, PortModeWritesTheFrameToThePortFileAfterTheBusyCheck) {
    UsePortMode();
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error));
    RunModal<TInkDry>(UserScript()
                          .Pick(L"trckbrTime", 2)
                          .Click(L"btnSet")
                          .ExpectBox(Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information))
                          .PressEsc());
    EXPECT_EQ(sim.files().ReadWholeFile(kPortFile), Hex("1B 1D 1E 11 1D 64 00 1B 1D 1F"));

    g_strPrinterName = kPrinter;
    printer->faults().statusByte = 0x1F;
    sim.messageBoxes().ExpectBox(Box(L"WaitingForPrinterWork", L"HintTitle", MsgIcon::Error));
    RunModal<TInkDry>(UserScript()
                          .Pick(L"trckbrTime", 4)
                          .Click(L"btnSet")
                          .ExpectBox(Box(L"WaitingForPrinterWork", L"HintTitle", MsgIcon::Error))
                          .PressEsc());
    EXPECT_EQ(sim.files().ReadWholeFile(kPortFile), Hex("1B 1D 1E 11 1D 64 00 1B 1D 1F"));
    EXPECT_TRUE(printer->writes().empty());
}

TEST_F(InkDryTest, APrinterOnAnotherPortIsNeitherReadNorSetAndNothingIsSaid) {
    sim.spooler().AddPrinter(kPrinter, kDriver, L"LPT1:");
    RunModal<TInkDry>(UserScript().Pick(L"trckbrTime", 2).Click(L"btnSet").PressEsc());
    EXPECT_TRUE(printer->writes().empty());
    EXPECT_TRUE(sim.spooler().RawJobs().empty());
}

TEST_F(InkDryTest, AFailedWriteSaysSoAndAnOfflinePrinterIsNotRead) {
    RunModal<TInkDry>(UserScript()
                          .Inspect([&](Form&) { printer->faults().unplugged = true; })
                          .Click(L"btnSet")
                          .ExpectBox(Box(L"SetPrinterFail", L"HintTitle", MsgIcon::Error))
                          .PressEsc());
    printer->faults().unplugged = false;

    sim.spooler().SetAttributes(kPrinter, platform::kPrinterAttributeWorkOffline);
    const std::size_t writes = printer->writes().size();
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error));
    RunModal<TInkDry>(
        UserScript().Click(L"btnSet").ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error)).PressEsc());
    EXPECT_EQ(printer->writes().size(), writes);
}

}  // namespace
