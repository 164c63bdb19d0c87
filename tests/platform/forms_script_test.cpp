// The scripted user of the headless backend: modal results by keys and buttons, picks and typing with the
// events they cause, message boxes as steps of the script, steps run while a handler handles messages, and the
// loud failures that replace a hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/forms/forms.h"
#include "platform/platform.h"
#include "platform/sim/forms_headless.h"
#include "platform/text.h"
#include "sim_fixture.h"

namespace {

using namespace platform::forms;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::sim::ExpectedBox;
using platform::sim::UserScript;

const ComponentDesign kInnerLayout[] = {
    {.kind = ComponentKind::RadioGroup, .name = L"rg", .width = 100, .height = 80},
    {.kind = ComponentKind::Button,
     .name = L"btnCancel",
     .left = 120,
     .top = 50,
     .cancel = true,
     .modalResult = mrCancel},
    {.kind = ComponentKind::Button, .name = L"btnAsk", .left = 120, .top = 10},
};

class TInnerDialog : public Form {
public:
    TInnerDialog() : Form(L"TInnerDialog", FormDesign{.clientWidth = 200, .clientHeight = 100}) {
        CreateComponents(*this, kInnerLayout);
        Find<RadioGroup>(L"rg")->SetItems({L"x", L"y"});
        Find<Button>(L"btnAsk")->OnClick = [this](Component&) {
            answer = application().ShowMessageBox(L"inner question", L"Hint", MsgIcon::Question, MsgButtons::YesNo);
        };
    }

    MsgResult answer = MsgResult::OK;
};

const ComponentDesign kLayout[] = {
    {.kind = ComponentKind::ListBox, .name = L"lstPlain", .left = 10, .top = 10, .multiSelect = true},
    {.kind = ComponentKind::ListBox, .name = L"lstCtrl", .left = 140, .top = 10, .multiSelect = true},
    {.kind = ComponentKind::RadioGroup, .name = L"rg", .left = 10, .top = 110},
    {.kind = ComponentKind::ComboBox, .name = L"cbb", .left = 200, .top = 110},
    {.kind = ComponentKind::Edit, .name = L"edt", .left = 200, .top = 140},
    {.kind = ComponentKind::CheckBox, .name = L"chk", .left = 200, .top = 170},
    {.kind = ComponentKind::TrackBar, .name = L"trk", .left = 10, .top = 220, .max = 20},
    {.kind = ComponentKind::Panel, .name = L"pnlBottom", .height = 40, .align = alBottom},
    {.kind = ComponentKind::Button,
     .name = L"btnOK",
     .parent = L"pnlBottom",
     .left = 10,
     .top = 5,
     .isDefault = true,
     .modalResult = mrOk},
    {.kind = ComponentKind::Button, .name = L"btnCancel", .parent = L"pnlBottom", .left = 90, .top = 5, .cancel = true},
    {.kind = ComponentKind::Button, .name = L"btnBoxes", .parent = L"pnlBottom", .left = 170, .top = 5},
    {.kind = ComponentKind::Button, .name = L"btnNested", .parent = L"pnlBottom", .left = 250, .top = 5},
    {.kind = ComponentKind::Button,
     .name = L"btnDisabled",
     .parent = L"pnlBottom",
     .left = 330,
     .top = 5,
     .enabled = false},
    {.kind = ComponentKind::Button,
     .name = L"btnHidden",
     .parent = L"pnlBottom",
     .left = 410,
     .top = 5,
     .visible = false},
    {.kind = ComponentKind::Button, .name = L"btnPoll", .parent = L"pnlBottom", .left = 490, .top = 5},
    {.kind = ComponentKind::Timer, .name = L"tmrBox", .enabled = false, .interval = 500},
};

// A dialog that records what its handlers saw.
class TTestDialog : public Form {
public:
    TTestDialog() : Form(L"TTestDialog", FormDesign{.clientWidth = 500, .clientHeight = 300}) {
        CreateComponents(*this, kLayout);
        for (const wchar_t* name : {L"lstPlain", L"lstCtrl"}) {
            Find<ListBox>(name)->SetItems({L"a", L"b", L"c", L"d"});
        }
        Find<RadioGroup>(L"rg")->SetItems({L"one", L"two", L"three"});
        Find<ComboBox>(L"cbb")->SetItems({L"LPT1", L"COM1"});
        // As a list that wants plain clicks to add to its selection does: Ctrl held while the pointer is over it.
        Find<ListBox>(L"lstCtrl")->OnMouseEnter = [](Component&) { application().KeyEvent(0x11, false); };
        Find<ListBox>(L"lstCtrl")->OnMouseLeave = [](Component&) { application().KeyEvent(0x11, true); };
        Find<ListBox>(L"lstPlain")->OnClick = [this](Component&) { events.push_back(L"lstPlain click"); };
        Find<RadioGroup>(L"rg")->OnClick = [this](Component& s) {
            events.push_back(L"rg click " + platform::IntToStr(static_cast<RadioGroup&>(s).ItemIndex()));
        };
        Find<ComboBox>(L"cbb")->OnChange = [this](Component&) { events.push_back(L"cbb change"); };
        auto* edit = Find<Edit>(L"edt");
        edit->OnKeyPress = [](Component&, wchar_t& key) {
            if (key != L'\b' && key != L'.' && (key < L'0' || key > L'9')) {
                key = 0;
            }
        };
        edit->OnChange = [this](Component& s) { events.push_back(L"edt " + static_cast<Edit&>(s).Text()); };
        edit->OnEnter = [this](Component&) { events.push_back(L"edt enter"); };
        edit->OnExit = [this](Component&) { events.push_back(L"edt exit"); };
        Find<CheckBox>(L"chk")->OnClick = [this](Component& s) {
            events.push_back(static_cast<CheckBox&>(s).Checked() ? L"chk on" : L"chk off");
        };
        Find<TrackBar>(L"trk")->OnChange = [this](Component&) { events.push_back(L"trk change"); };
        Find<Button>(L"btnCancel")->OnClick = [this](Component&) { Close(); };
        Find<Button>(L"btnBoxes")->OnClick = [this](Component&) {
            answers.push_back(application().ShowMessageBox(L"first", L"Hint", MsgIcon::Question, MsgButtons::OKCancel));
            answers.push_back(application().ShowMessageBox(L"second", L"Hint", MsgIcon::Error, MsgButtons::YesNo));
        };
        Find<Button>(L"btnNested")->OnClick = [this](Component&) {
            auto inner = MakeForm<TInnerDialog>();
            innerResult = inner->ShowModal();
            innerPick = inner->Find<RadioGroup>(L"rg")->ItemIndex();
        };
        // As a handler that waits for a worker thread does: it sleeps and handles messages in turn.
        Find<Button>(L"btnPoll")->OnClick = [this](Component&) {
            for (int poll = 1; poll <= 4; ++poll) {
                platform::clock().Sleep(50);
                application().ProcessMessages();
                events.push_back(L"poll " + platform::IntToStr(poll));
            }
        };
        Find<Timer>(L"tmrBox")->OnTimer = [](Component& t) {
            static_cast<Timer&>(t).SetEnabled(false);
            application().ShowMessageBox(L"later", L"Hint", MsgIcon::Information);
        };
        OnClose = [this](Component&, TCloseAction& action) {
            events.push_back(L"close");
            if (refuseCloses > 0) {
                --refuseCloses;
                action = caNone;
            }
        };
    }

    std::vector<std::wstring> events;
    std::vector<MsgResult> answers;
    int refuseCloses = 0;
    TModalResult innerResult = mrNone;
    int innerPick = -1;
};

class FormsScriptTest : public SimTest {
protected:
    platform::sim::HeadlessForms& forms() { return sim.forms(); }
};

TEST_F(FormsScriptTest, ModalResultsFromKeysAndButtons) {
    struct Case {
        const char* name;
        UserScript script;
        int refuseCloses;
        TModalResult expected;
        int closes;  // OnClose runs
    };
    const Case cases[] = {
        {"Esc clicks the cancel button, whose Close cancels", UserScript().PressEsc(), 0, mrCancel, 1},
        {"Enter clicks the default button", UserScript().PressEnter(), 0, mrOk, 1},
        {"a button with a modal result", UserScript().Click(L"btnOK"), 0, mrOk, 1},
        {"the title bar's close button", UserScript().CloseBox(), 0, mrCancel, 1},
        {"OnClose refuses once, the wait goes on", UserScript().PressEsc().Click(L"btnOK"), 1, mrOk, 2},
        {"Esc does nothing without a cancel button that can take the focus",
         UserScript()
             .Inspect([](Form& f) { f.Find<Button>(L"btnCancel")->SetEnabled(false); })
             .PressEsc()
             .Click(L"btnOK"),
         0, mrOk, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = MakeForm<TTestDialog>();
        dialog->refuseCloses = c.refuseCloses;
        forms().WhenModal(L"TTestDialog", c.script);
        EXPECT_EQ(dialog->ShowModal(), c.expected);
        EXPECT_FALSE(dialog->Visible());
        EXPECT_FALSE(dialog->Modal());
        EXPECT_EQ(std::count(dialog->events.begin(), dialog->events.end(), L"close"), c.closes);
        EXPECT_TRUE(forms().Unfinished().empty());
    }
}

TEST_F(FormsScriptTest, MessageBoxesAreAnsweredInOrderAndRecorded) {
    auto dialog = MakeForm<TTestDialog>();
    forms().WhenModal(L"TTestDialog",
                      UserScript()
                          .Click(L"btnBoxes")
                          .ExpectBox(L"first", MsgResult::Cancel)
                          .ExpectBox(L"second", MsgResult::No)
                          .Click(L"btnBoxes")
                          .ExpectBox(ExpectedBox{.text = L"fir", .part = true, .icon = MsgIcon::Question})
                          .ExpectBox(ExpectedBox{.text = L"second", .caption = L"Hint", .answer = MsgResult::Yes})
                          .Click(L"btnOK"));
    ASSERT_EQ(dialog->ShowModal(), mrOk);

    EXPECT_EQ(dialog->answers,
              (std::vector<MsgResult>{MsgResult::Cancel, MsgResult::No, MsgResult::OK, MsgResult::Yes}));
    const auto shown = sim.messageBoxes().Shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].text, L"first");
    EXPECT_EQ(shown[0].caption, L"Hint");
    EXPECT_EQ(shown[0].icon, MsgIcon::Question);
    EXPECT_EQ(shown[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(shown[1].text, L"second");
    EXPECT_EQ(shown[1].icon, MsgIcon::Error);
    EXPECT_EQ(shown[3].answer, MsgResult::Yes);
    EXPECT_TRUE(forms().Unfinished().empty());
}

TEST_F(FormsScriptTest, BoxesAreMatchedWhereverTheyShow) {
    auto dialog = MakeForm<TTestDialog>();
    forms().WhenModal(L"TTestDialog", UserScript()
                                          // The loop waits for the box with timers firing.
                                          .Inspect([](Form& f) { f.Find<Timer>(L"tmrBox")->SetEnabled(true); })
                                          .ExpectBox(L"later")
                                          .Inspect([this](Form&) { EXPECT_EQ(sim.clock().Elapsed(), 500u); })
                                          .Click(L"btnNested")
                                          .Click(L"btnOK"));
    // The inner dialog's box is a step of the inner dialog's script.
    forms().WhenModal(L"TInnerDialog",
                      UserScript().Click(L"btnAsk").ExpectBox(L"inner question", MsgResult::No).PressEsc());
    ASSERT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(forms().Unfinished().empty());
    const auto shown = sim.messageBoxes().Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, L"inner question");
    EXPECT_EQ(shown[1].answer, MsgResult::No);
}

TEST_F(FormsScriptTest, TheScriptsOptOutAnswersEveryBoxItsLoopShows) {
    auto dialog = MakeForm<TTestDialog>();
    forms().WhenModal(L"TTestDialog", UserScript().AnswerAnyBox(MsgResult::Cancel).Click(L"btnBoxes").Click(L"btnOK"));
    ASSERT_EQ(dialog->ShowModal(), mrOk);
    // Cancel where the box has that button, else the box's default.
    EXPECT_EQ(dialog->answers, (std::vector<MsgResult>{MsgResult::Cancel, MsgResult::Yes}));
}

TEST_F(FormsScriptTest, BoxesAndPumpsOffTheScriptFailNamingWhatCame) {
    struct Case {
        const char* name;
        UserScript script;
        std::string message;  // a part of the failure
    };
    const Case cases[] = {
        {"a box where the script expects a click", UserScript().Click(L"btnBoxes").Click(L"btnOK"),
         "unexpected message box \"first\" (caption \"Hint\", Question, OKCancel)"},
        {"another box than the step expects", UserScript().Click(L"btnBoxes").ExpectBox(L"second"),
         "message box \"first\" (caption \"Hint\", Question, OKCancel) shown where the script expects "
         "ExpectBox(\"second\" -> OK): its text differs"},
        {"a box that nothing can show", UserScript().ExpectBox(L"first"),
         "the script waits for ExpectBox(\"first\" -> OK) and no timer is running"},
        {"a step for a pump that never comes", UserScript().DuringNextPump().Click(L"chk"),
         "no message pump came for DuringNextPump().Click(chk)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = MakeForm<TTestDialog>();
        forms().WhenModal(L"TTestDialog", c.script);
        try {
            dialog->ShowModal();
            ADD_FAILURE() << "the modal wait returned";
        } catch (const FatalError& error) {
            const std::string what = error.what();
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
        }
        EXPECT_FALSE(dialog->Modal());
    }
}

TEST_F(FormsScriptTest, StepsMarkedForAPumpRunInsideTheHandlersMessageHandling) {
    auto dialog = MakeForm<TTestDialog>();
    forms().WhenModal(L"TTestDialog", UserScript()
                                          .Click(L"btnPoll")
                                          .DuringNextPump()
                                          .Click(L"chk")
                                          .DuringNextPump()
                                          .Click(L"chk")
                                          .DuringNextPump()
                                          .Click(L"btnBoxes")
                                          .ExpectBox(L"first", MsgResult::Cancel)
                                          .ExpectBox(L"second", MsgResult::No)
                                          .Click(L"btnOK"));
    ASSERT_EQ(dialog->ShowModal(), mrOk);
    // One marked step per pump, each before the handler goes on.
    const std::vector<std::wstring> expected = {L"chk on", L"poll 1", L"chk off", L"poll 2",
                                                L"poll 3", L"poll 4", L"close"};
    EXPECT_EQ(dialog->events, expected);
    EXPECT_EQ(dialog->answers, (std::vector<MsgResult>{MsgResult::Cancel, MsgResult::No}));
    EXPECT_TRUE(forms().Unfinished().empty());
}

TEST_F(FormsScriptTest, PicksAndTypingRaiseTheirEvents) {
    auto dialog = MakeForm<TTestDialog>();
    forms().WhenModal(L"TTestDialog", UserScript()
                                          .Pick(L"lstPlain", 1)
                                          .Pick(L"lstPlain", 3)
                                          .Ctrl(true)
                                          .Pick(L"lstPlain", 1)
                                          .Ctrl(false)
                                          .Pick(L"lstCtrl", 0)
                                          .Pick(L"lstCtrl", 2)
                                          .Pick(L"lstCtrl", 0)
                                          .Inspect([this](Form&) { EXPECT_TRUE(forms().CtrlHeld()); })
                                          .Hover(L"")
                                          .Type(L"edt", L"12a.5\b")
                                          .Pick(L"rg", 2)
                                          .Pick(L"rg", 2)
                                          .Pick(L"cbb", 1)
                                          .Click(L"chk")
                                          .Click(L"chk")
                                          .Pick(L"trk", 7)
                                          .Click(L"btnOK"));
    ASSERT_EQ(dialog->ShowModal(), mrOk);

    auto* plain = dialog->Find<ListBox>(L"lstPlain");
    // A plain click replaces the selection; with Ctrl held it adds.
    EXPECT_TRUE(plain->Selected(1));
    EXPECT_TRUE(plain->Selected(3));
    EXPECT_EQ(plain->SelCount(), 2);
    EXPECT_EQ(plain->ItemIndex(), 1);
    // The list that holds Ctrl while the pointer is over it toggles with plain clicks.
    auto* withCtrl = dialog->Find<ListBox>(L"lstCtrl");
    EXPECT_EQ(withCtrl->SelCount(), 1);
    EXPECT_TRUE(withCtrl->Selected(2));
    EXPECT_FALSE(forms().CtrlHeld());  // released when the pointer left
    EXPECT_EQ(dialog->Find<Edit>(L"edt")->Text(), L"12.");
    EXPECT_EQ(dialog->Find<ComboBox>(L"cbb")->Text(), L"COM1");
    EXPECT_EQ(dialog->Find<TrackBar>(L"trk")->Position(), 7);

    const std::vector<std::wstring> expected = {L"lstPlain click", L"lstPlain click", L"lstPlain click", L"edt enter",
                                                L"edt 1",          L"edt 12",         L"edt 12.",        L"edt 12.5",
                                                L"edt 12.",        L"edt exit",       L"rg click 2",     L"cbb change",
                                                L"chk on",         L"chk off",        L"trk change",     L"close"};
    EXPECT_EQ(dialog->events, expected);
}

TEST_F(FormsScriptTest, NestedModalDialogsRunTheirOwnScripts) {
    auto dialog = MakeForm<TTestDialog>();
    forms().WhenModal(L"TTestDialog", UserScript().Click(L"btnNested").Click(L"btnOK"));
    forms().WhenModal(L"TInnerDialog", UserScript().Pick(L"rg", 1).PressEsc());
    ASSERT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(dialog->innerResult, mrCancel);
    EXPECT_EQ(dialog->innerPick, 1);
    const auto& loops = forms().Loops();
    ASSERT_EQ(loops.size(), 2u);
    EXPECT_EQ(loops[0].className, L"TTestDialog");
    EXPECT_EQ(loops[0].result, mrOk);
    EXPECT_EQ(loops[1].className, L"TInnerDialog");
    EXPECT_EQ(loops[1].result, mrCancel);
    EXPECT_TRUE(loops[1].ended);
}

TEST_F(FormsScriptTest, ActionsAUserCouldNotDoFailLoudly) {
    struct Case {
        const char* name;
        UserScript script;
    };
    const Case cases[] = {
        {"a disabled button", UserScript().Click(L"btnDisabled")},
        {"a hidden button", UserScript().Click(L"btnHidden")},
        {"a button inside a disabled panel",
         UserScript().Inspect([](Form& f) { f.Find<Panel>(L"pnlBottom")->SetEnabled(false); }).Click(L"btnOK")},
        {"no such control", UserScript().Click(L"btnMissing")},
        {"an entry beyond the list", UserScript().Pick(L"lstPlain", 4)},
        {"a track bar position beyond its range", UserScript().Pick(L"trk", 21)},
        {"typing into a button", UserScript().Type(L"btnOK", L"x")},
        {"clicking a list instead of picking", UserScript().Click(L"rg")},
        {"a disabled button during a pump", UserScript().Click(L"btnPoll").DuringNextPump().Click(L"btnDisabled")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = MakeForm<TTestDialog>();
        forms().WhenModal(L"TTestDialog", c.script);
        EXPECT_THROW(dialog->ShowModal(), FatalError);
        // The failure leaves the form out of its modal state, so it can be freed.
        EXPECT_FALSE(dialog->Visible());
        EXPECT_FALSE(dialog->Modal());
    }
}

TEST_F(FormsScriptTest, AModalWaitThatNothingCanEndFailsInsteadOfHanging) {
    auto dialog = MakeForm<TTestDialog>();
    try {
        dialog->ShowModal();
        ADD_FAILURE() << "the modal wait returned";
    } catch (const FatalError& error) {
        const std::string what = error.what();
        EXPECT_NE(what.find("TTestDialog"), std::string::npos);
        EXPECT_NE(what.find("no timer is running"), std::string::npos);
        EXPECT_NE(what.find("Button btnOK"), std::string::npos) << "the failure carries a dump of the form";
    }

    // A timer that never ends the wait: the idle limit stops it.
    forms().SetIdleLimit(10000);
    auto* ticker = new Timer(dialog.get());
    ticker->SetInterval(1000);
    ticker->OnTimer = [](Component&) {};
    const auto before = sim.clock().Elapsed();
    EXPECT_THROW(dialog->ShowModal(), FatalError);
    EXPECT_EQ(sim.clock().Elapsed() - before, 10000u);
}

TEST_F(FormsScriptTest, LeftoverAndUnusedScriptsAreReported) {
    auto dialog = MakeForm<TTestDialog>();
    forms().WhenModal(L"TTestDialog", UserScript().Click(L"btnOK").Click(L"chk").PressEsc());
    forms().WhenModal(L"TNeverShown", UserScript().PressEsc());
    ASSERT_EQ(dialog->ShowModal(), mrOk);
    const auto unfinished = forms().TakeUnfinished();
    ASSERT_EQ(unfinished.size(), 2u);
    EXPECT_NE(unfinished[0].find(L"TTestDialog: 2 scripted actions left"), std::wstring::npos);
    EXPECT_NE(unfinished[0].find(L"Click(chk)"), std::wstring::npos);
    EXPECT_NE(unfinished[1].find(L"TNeverShown"), std::wstring::npos);
    EXPECT_TRUE(forms().Unfinished().empty()) << "taken";
}

TEST_F(FormsScriptTest, AVisibleFormCannotBeShownModally) {
    auto dialog = MakeForm<TTestDialog>();
    dialog->Show();
    try {
        dialog->ShowModal();
        ADD_FAILURE() << "no exception";
    } catch (const platform::Exception& error) {
        EXPECT_EQ(error.Message(), L"Cannot make a visible window modal");
    }
    EXPECT_TRUE(dialog->Visible());
}

}  // namespace
