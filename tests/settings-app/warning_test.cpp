// The warning before the advance page: its answer, and its lower form without the blue line.
#include <gtest/gtest.h>

#include "GlobalString.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "sim_fixture.h"
#include "uWarning.h"

namespace {

using platform::sim::UserScript;
using namespace platform::forms;

class WarningTest : public SimTest {
protected:
    void SetUp() override {
        g_GlobalString.SpecialNoteTitle = L"SpecialNoteTitle";
        g_GlobalString.SpecialNote = L"SpecialNote";
        g_GlobalString.OnlyForTechnical = L"OnlyForTechnical";
        g_GlobalString.ParametersBtnOK = L"ParametersBtnOK";
        g_GlobalString.ParametersBtnCancel = L"ParametersBtnCancel";
    }
};

TEST_F(WarningTest, TheAnswerIsKeptUntilTheNextButtonAndTheTitleBarChangesNothing) {
    auto warning = MakeForm<TfrmWarning>();
    EXPECT_FALSE(warning->m_bAffirm);
    struct Step {
        const char* name;
        UserScript script;
        bool affirm;
    };
    const Step steps[] = {
        {"OK", UserScript().Click(L"btnOK"), true},
        {"the title bar after OK", UserScript().CloseBox(), true},
        {"Esc counts as Cancel", UserScript().PressEsc(), false},
        {"Enter is OK", UserScript().PressEnter(), true},
        {"Cancel", UserScript().Click(L"btnCancel"), false},
        {"the title bar after Cancel", UserScript().CloseBox(), false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        sim.forms().WhenModal(L"TfrmWarning", step.script);
        warning->ShowModal();
        EXPECT_EQ(warning->m_bAffirm, step.affirm);
        EXPECT_FALSE(warning->Visible());
    }
}

TEST_F(WarningTest, TextsAndTheLowerWindowWithoutTheBlueLine) {
    auto warning = MakeForm<TfrmWarning>();
    EXPECT_EQ(warning->Caption(), L"SpecialNoteTitle");
    EXPECT_EQ(warning->lblTitle->Caption(), L"        SpecialNote");
    EXPECT_EQ(warning->lblTitle2->Caption(), L"OnlyForTechnical");
    EXPECT_EQ(warning->btnOK->Caption(), L"ParametersBtnOK");
    EXPECT_EQ(warning->btnCancel->Caption(), L"ParametersBtnCancel");
    EXPECT_TRUE(warning->grp2->Visible());
    EXPECT_EQ(warning->ClientHeight(), 193);

    g_GlobalString.OnlyForTechnical.clear();
    auto lower = MakeForm<TfrmWarning>();
    EXPECT_FALSE(lower->grp2->Visible());
    EXPECT_FALSE(lower->lblTitle2->Visible());
    EXPECT_EQ(lower->ClientHeight(), 193 - warning->grp2->Height());
    EXPECT_EQ(lower->btnOK->Top(), warning->btnOK->Top() - warning->grp2->Height())
        << "the buttons move up with the bottom edge";
    EXPECT_LE(lower->grp1->BoundsRect().bottom, lower->btnOK->Top());
}

}  // namespace
