// The forms contract's cases: each builds the sample form on a fresh backend, shows it and checks that the
// backend shows what the model says, and that the user's input reaches the model as it would on Windows.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "forms_under_test.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "sample_form.h"

namespace forms_contract {
namespace {

using namespace platform::forms;

std::string Describe(const Rect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

std::string Narrow(const std::wstring& text) {
    return platform::WideToUtf8(text);
}

class FormsContract : public ::testing::Test {
protected:
    FormsContract() : under(MakeFormsUnderTest()) {
        form = application().CreateForm<TfrmSample>();
        form->Show();
        Pump(50);
    }

    template <class T = Control>
    T& Get(const wchar_t* name) {
        T* found = form->Find<T>(name);
        if (!found) {
            throw std::logic_error("no control " + Narrow(name));
        }
        return *found;
    }

    // Every native window where the layout puts its control, and a form's client area as the layout counts it.
    void ExpectNativeGeometry(Control& control) {
        const std::string name = Narrow(control.Name().empty() ? L"the form" : control.Name());
        EXPECT_EQ(Describe(under->Bounds(control)), Describe(control.BoundsRect())) << name;
        if (auto* asForm = dynamic_cast<Form*>(&control)) {
            EXPECT_EQ(Describe(under->ClientRect(*asForm)), Describe(asForm->ClientRect())) << name;
        }
        for (Control* child : control.Controls()) {
            ExpectNativeGeometry(*child);
        }
    }

    std::unique_ptr<FormsUnderTest> under;
    TfrmSample* form = nullptr;
};

struct GeometryCase {
    const char* name;
    const wchar_t* control;
    Rect designed;  // in the designed client area of 400 x 260
    Rect grown;     // after the client area grew to 460 x 300
};

// Alignment (the bottom panel first, then the left one in the room left), anchors to the right and bottom.
const GeometryCase kGeometry[] = {
    {"bottom_panel_aligned", L"pnlBottom", {0, 220, 400, 260}, {0, 260, 460, 300}},
    {"left_panel_aligned_above_bottom", L"pnlLeft", {0, 0, 100, 220}, {0, 0, 100, 260}},
    {"button_anchored_right", L"btnOk", {228, 7, 308, 33}, {288, 7, 368, 33}},
    {"second_button_anchored_right", L"btnCancel", {312, 7, 392, 33}, {372, 7, 452, 33}},
    {"edit_stretched_left_right", L"edtName", {108, 8, 392, 29}, {108, 8, 452, 29}},
    {"list_stretched_both_ways", L"lstItems", {256, 60, 392, 150}, {256, 60, 452, 190}},
    {"track_bar_stretched", L"trkLevel", {256, 158, 392, 188}, {256, 158, 452, 188}},
    {"check_box_stays", L"chkBold", {108, 36, 248, 53}, {108, 36, 248, 53}},
};

class Geometry : public FormsContract, public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(Geometry, LayoutAndNativeWindowsAgree) {
    const GeometryCase& c = GetParam();
    Control& control = Get(c.control);
    EXPECT_EQ(Describe(control.BoundsRect()), Describe(c.designed));
    ExpectNativeGeometry(*form);

    form->SetClientWidth(460);
    form->SetClientHeight(300);
    Pump(50);
    EXPECT_EQ(Describe(control.BoundsRect()), Describe(c.grown));
    ExpectNativeGeometry(*form);
}

INSTANTIATE_TEST_SUITE_P(Sample, Geometry, ::testing::ValuesIn(kGeometry), [](const auto& info) {
    return std::string(info.param.name);
});

TEST_F(FormsContract, AutoSizeLabelTakesItsTextsExtent) {
    auto& label = Get<Label>(L"lblAuto");
    EXPECT_GT(label.Width(), 0);
    EXPECT_GT(label.Height(), 0);
    label.SetCaption(L"A much longer caption");
    Pump(20);
    EXPECT_GT(label.Width(), 100) << "the label grows with its text";
    EXPECT_EQ(Describe(under->Bounds(label)), Describe(label.BoundsRect()));
}

TEST_F(FormsContract, TextsReachTheWindows) {
    Get(L"btnOk").SetCaption(L"Apply");
    Get<Edit>(L"edtName").SetText(L"Left tray");
    form->SetCaption(L"Sample settings (changed)");
    Pump(20);
    EXPECT_EQ(under->Text(Get(L"btnOk")).value_or(L"Apply"), L"Apply");
    EXPECT_EQ(under->Text(Get(L"edtName")).value_or(L"Left tray"), L"Left tray");
    EXPECT_EQ(under->Text(*form).value_or(L"?"), L"Sample settings (changed)");
    EXPECT_EQ(under->Text(Get(L"chkBold")).value_or(L"Bold text"), L"Bold text");
}

TEST_F(FormsContract, VisibleAndEnabledReachTheWindows) {
    EXPECT_TRUE(under->Visible(Get(L"chkBold")));
    Get(L"chkBold").SetVisible(false);
    Get(L"pnlLeft").SetVisible(false);
    Get(L"btnOk").SetEnabled(false);
    Pump(20);
    EXPECT_FALSE(under->Visible(Get(L"chkBold")));
    EXPECT_FALSE(under->Visible(Get(L"lblAuto"))) << "a label on a hidden panel";
    EXPECT_FALSE(under->Enabled(Get(L"btnOk")));
    EXPECT_TRUE(under->Enabled(Get(L"btnCancel")));
    Get(L"btnOk").SetEnabled(true);
    Pump(20);
    EXPECT_TRUE(under->Enabled(Get(L"btnOk")));
}

TEST_F(FormsContract, SelectionsSetByCodeShow) {
    Get<ListBox>(L"lstItems").SetItemIndex(2);
    Get<ComboBox>(L"cmbPick").SetItemIndex(1);
    Get<RadioGroup>(L"rgpMode").SetItemIndex(2);
    Get<TrackBar>(L"trkLevel").SetPosition(7);
    Get<CheckBox>(L"chkBold").SetChecked(true);
    Pump(20);
    EXPECT_EQ(under->Selection(Get(L"lstItems")), 2);
    EXPECT_EQ(under->Selection(Get(L"cmbPick")), 1);
    EXPECT_EQ(under->Selection(Get(L"rgpMode")), 2);
    EXPECT_EQ(under->Selection(Get(L"trkLevel")), 7);
    EXPECT_EQ(under->Selection(Get(L"chkBold")), 1);
}

TEST_F(FormsContract, ClicksSelectAndFocus) {
    under->Click(Get(L"lstItems"), 1);
    under->Click(Get(L"rgpMode"), 2);
    under->Click(Get(L"chkBold"));
    under->Click(Get(L"btnOk"));
    EXPECT_EQ(Get<ListBox>(L"lstItems").ItemIndex(), 1);
    EXPECT_EQ(Get<RadioGroup>(L"rgpMode").ItemIndex(), 2);
    EXPECT_TRUE(Get<CheckBox>(L"chkBold").Checked());
    EXPECT_EQ(under->Selection(Get(L"rgpMode")), 2);
    const std::vector<std::wstring> want = {L"lstItems", L"rgpMode", L"chkBold", L"btnOk"};
    EXPECT_EQ(form->clicks, want);
    EXPECT_EQ(form->ActiveControl(), &Get(L"btnOk")) << "a clicked button takes the focus";
    EXPECT_EQ(under->Focused(*form), &Get(L"btnOk"));
}

// Tab and Shift-Tab across the controls in the layout's order, round at the ends; the arrow keys within the
// radio group, selecting as they go, round within the group.
TEST_F(FormsContract, KeyboardMovesAsInADialog) {
    struct Step {
        const char* what;
        std::uint8_t key;
        bool shift;
        const wchar_t* focused;
        int mode;  // the radio group's selection afterwards
    };
    const Step steps[] = {
        {"Tab from the edit", kKeyTab, false, L"chkBold", 0},
        {"Tab into the radio group", kKeyTab, false, L"rgpMode", 0},
        {"Down selects the next button", kKeyDown, false, L"rgpMode", 1},
        {"Right selects the next button", kKeyRight, false, L"rgpMode", 2},
        {"Down from the last goes round to the first", kKeyDown, false, L"rgpMode", 0},
        {"Up from the first goes round to the last", kKeyUp, false, L"rgpMode", 2},
        {"Left selects the previous button", kKeyLeft, false, L"rgpMode", 1},
        {"Tab leaves the group for the list", kKeyTab, false, L"lstItems", 1},
        {"Shift-Tab back into the group", kKeyTab, true, L"rgpMode", 1},
        {"Shift-Tab to the check box", kKeyTab, true, L"chkBold", 1},
        {"Down on a check box moves nothing", kKeyDown, false, L"chkBold", 1},
        {"Shift-Tab to the edit", kKeyTab, true, L"edtName", 1},
        {"Shift-Tab from the first goes round to the last", kKeyTab, true, L"btnCancel", 1},
        {"Tab from the last goes round to the first", kKeyTab, false, L"edtName", 1},
    };
    Get<RadioGroup>(L"rgpMode").SetItemIndex(0);
    Get(L"edtName").SetFocus();
    Pump(20);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        PressKey(s.key, s.shift);
        EXPECT_EQ(Narrow(form->ActiveControl() ? form->ActiveControl()->Name() : L"(none)"), Narrow(s.focused));
        const Control* focused = under->Focused(*form);
        EXPECT_EQ(Narrow(focused ? focused->Name() : L"(none)"), Narrow(s.focused)) << "the native focus";
        EXPECT_EQ(Get<RadioGroup>(L"rgpMode").ItemIndex(), s.mode);
        EXPECT_EQ(under->Selection(Get(L"rgpMode")), s.mode);
    }
}

TEST_F(FormsContract, EnterAndEscClickTheDialogButtons) {
    Get(L"edtName").SetFocus();
    Pump(20);
    PressKey(kKeyReturn);
    PressKey(kKeyEscape);
    const std::vector<std::wstring> want = {L"btnOk", L"btnCancel"};
    EXPECT_EQ(form->clicks, want);
}

TEST_F(FormsContract, MessageBoxIsAnsweredAndRecorded) {
    under->AnswerNextBox(platform::MsgResult::No);
    const platform::MsgResult result = application().ShowMessageBox(
        L"Replace the settings?", L"Sample", platform::MsgIcon::Question, platform::MsgButtons::YesNo);
    EXPECT_EQ(result, platform::MsgResult::No);
    const std::optional<SeenBox> box = under->LastBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(Narrow(box->caption), "Sample");
    EXPECT_EQ(Narrow(box->text), "Replace the settings?");
}

TEST_F(FormsContract, TimerFiresWhileMessagesAreHandled) {
    Get<Timer>(L"tmrTick").SetEnabled(true);
    Pump(350);
    Get<Timer>(L"tmrTick").SetEnabled(false);
    // Every 100 ms of the platform clock: three in virtual time, two to four in real time.
    EXPECT_GE(form->ticks, 2);
    EXPECT_LE(form->ticks, 4);
    const int ticks = form->ticks;
    Pump(250);
    EXPECT_EQ(form->ticks, ticks) << "a stopped timer stays quiet";
}

// The application's title is the taskbar's text, and the button stays while the main form hides and a dialog
// shows.
TEST_F(FormsContract, ApplicationTitleOnTheTaskbar) {
    application().SetTitle(L"Forms contract");
    Pump(20);
    EXPECT_EQ(Narrow(under->TaskbarTitle()), "Forms contract");
    EXPECT_TRUE(under->HasTaskbarButton());

    form->Hide();
    auto dialog = MakeForm<Form>(std::wstring(L"TfrmDialog"), FormDesign{.caption = L"Dialog",
                                                                         .clientWidth = 200,
                                                                         .clientHeight = 80,
                                                                         .position = poScreenCenter,
                                                                         .borderStyle = bsDialog});
    Timer check(dialog.get());
    check.SetInterval(100);
    bool buttonMeanwhile = false;
    check.OnTimer = [&](Component&) {
        buttonMeanwhile = under->HasTaskbarButton() && under->Visible(*dialog) && !under->Visible(*form);
        dialog->SetModalResult(mrOk);
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(buttonMeanwhile);
}

// A second start of the program looks for the first one's main window by its class: a form's window counts,
// shown or hidden, in any letter case, for as long as it exists.
TEST_F(FormsContract, FormWindowIsFoundByItsClass) {
    Backend& backend = platform::formsBackend();
    EXPECT_TRUE(backend.TopLevelWindowExists(L"TfrmSample"));
    EXPECT_TRUE(backend.TopLevelWindowExists(L"TFRMSAMPLE"));
    EXPECT_FALSE(backend.TopLevelWindowExists(L"TfrmSampl"));
    form->Hide();
    Pump(20);
    EXPECT_TRUE(backend.TopLevelWindowExists(L"TfrmSample")) << "a hidden form";

    auto dialog = MakeForm<Form>(std::wstring(L"TfrmContractDialog"),
                                 FormDesign{.caption = L"Dialog", .clientWidth = 200, .clientHeight = 80});
    EXPECT_FALSE(backend.TopLevelWindowExists(L"TfrmContractDialog")) << "a form that never showed has no window";
    dialog->Show();
    Pump(20);
    EXPECT_TRUE(backend.TopLevelWindowExists(L"TfrmContractDialog")) << "a shown dialog";
    dialog.reset();
    Pump(20);
    EXPECT_FALSE(backend.TopLevelWindowExists(L"TfrmContractDialog")) << "a destroyed form";
}

}  // namespace
}  // namespace forms_contract
