// A start on the base page whose first item is the black-mark set: the main window's creation opens the
// black-mark dialog before the window ever shows, and freeing that dialog ends the run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "corventa_fixture.h"
#include "uBMset.h"

namespace {

using platform::forms::Form;
using platform::sim::UserScript;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using BlackMarkStartTest = CorventaTest;

TEST_F(BlackMarkStartTest, OthSetOnTheBasePageRunsOnlyTheBlackMarkDialog) {
    // A base page start is port mode: the menu is the default scheme beside the program.
    const std::wstring program = sim.files().ProgramPath();
    PutIniFile(program.substr(0, program.rfind(L'\\') + 1) + L"WQ-472_Settings.Dat",
               L"[GlobalSettings]\nMenuVersion=0\nLenBM=7\n"
               L"[BaseSection]\nItemCount=2\n"
               L"[BaseItem01]\nName=OTH Set\nIcon=100_SETTINGS\nTitle.EN=Black mark\n"
               L"[BaseItem02]\nName=Buzzer\nIcon=30_BUZZER\nTitle.EN=Buzzer\nGetInstruction=31\nParameterCount=1\n"
               L"RuleType=ENUM\nRule.EN=0=Off,1=On\n");
    printer->defineBlackMark(1, 1, 0);

    sim.forms().WhenModal(L"TBMset", UserScript()
                                         .Inspect([&](Form& form) {
                                             auto& dialog = dynamic_cast<TBMset&>(form);
                                             EXPECT_THAT(Forms(), ElementsAre(L"TfrmMainView2", L"TBMset shown"))
                                                 << "the main window is made but not shown";
                                             EXPECT_EQ(dialog.edtBMhead->Text(), L"7") << "the port-mode scheme";
                                             EXPECT_EQ(dialog.lblnBMset->Caption(), L"开");
                                             EXPECT_EQ(dialog.lblnBMmode->Caption(), L"模式1");
                                             EXPECT_EQ(dialog.lblnLock->Caption(), L"关");
                                         })
                                         .Click(L"btnOK"));
    EXPECT_EQ(Start(L" \"Varintex WQ-472\" 100"), 0);

    EXPECT_THAT(Windows(), ElementsAre(L"TBMset")) << "the main window's loop never ran";
    EXPECT_TRUE(platform::forms::application().Terminated());
    EXPECT_THAT(Forms(), IsEmpty());
    EXPECT_THAT(printer->commandLog(), ElementsAre("read 03 items"))
        << "only the dialog's read of its three switches: the main window read no page";
}

}  // namespace
