// Layout tables that bind components to a window's fields and handlers, and the table of localised texts: what
// a bound table gives the window, and every mistake in a table stopping the build with a message that names
// the window and the component.
#include <gtest/gtest.h>

#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "bitmap_file.h"
#include "platform/forms/forms.h"
#include "platform/text.h"
#include "sim_fixture.h"

namespace {

using namespace platform::forms;
using platform::ResourceType;

// The text record a window takes its captions from.
struct TTexts {
    std::wstring Caption;
    std::wstring Set;
    std::wstring Choice;
};

class TfrmOther;

class TfrmBound : public Form {
public:
    TfrmBound(std::span<const ComponentDesign> layout,
              const FormDesign& design,
              std::span<const ComponentText<TTexts>> texts = {})
        : Form(L"TfrmBound", design), texts_(texts) {
        BindLayout(*this, layout);
    }

    Panel* pnlBottom = nullptr;
    Button* btnSet = nullptr;
    BitBtn* btnMode = nullptr;
    Label* lblInfo = nullptr;
    RadioGroup* rg1 = nullptr;
    ComboBox* cbbPort = nullptr;
    ListBox* lst2 = nullptr;
    TrackBar* trkDepth = nullptr;
    Edit* edtValue = nullptr;
    ScrollBox* tsb3 = nullptr;
    Timer* tmrFresh = nullptr;
    TTexts m_Texts{L"Item", L"Set", L"Choose"};
    std::vector<std::wstring> calls;

    void FormCreate() {
        calls.push_back(L"FormCreate");
        ApplyTexts(*this, m_Texts, texts_);
    }
    void FormShow() { calls.push_back(L"FormShow"); }
    void FormClose(Component&, TCloseAction& action) {
        calls.push_back(L"FormClose");
        action = caHide;
    }
    void btnSetClick() { calls.push_back(L"btnSetClick"); }
    void rg1Click(Component& sender) { calls.push_back(L"rg1Click " + sender.Name()); }
    void cbbPortChange() { calls.push_back(L"cbbPortChange"); }
    void lst2MouseEnter() { calls.push_back(L"lst2MouseEnter"); }
    void trkDepthChange() { calls.push_back(L"trkDepthChange"); }
    void edtValueKeyPress(Component&, wchar_t& key) {
        if (key == L'x') {
            key = 0;
        }
    }
    void tmrFreshTimer() { calls.push_back(L"tmrFreshTimer"); }

private:
    std::span<const ComponentText<TTexts>> texts_;
};

// Another window, whose members do not belong in TfrmBound's tables.
class TfrmOther : public Form {
public:
    TfrmOther() : Form(L"TfrmOther", FormDesign{}) {}
    Label* lblOther = nullptr;
    void lblOtherClick() {}
    void FormShow() {}
};

const FormDesign kBoundDesign = {
    .clientWidth = 358,
    .clientHeight = 235,
    .OnCreate = &TfrmBound::FormCreate,
    .OnShow = &TfrmBound::FormShow,
    .OnClose = &TfrmBound::FormClose,
};

// What the compiler refuses: a field that is not a component pointer, a method whose parameters are not the
// event's.
static_assert(!std::is_constructible_v<FieldBinding, std::wstring TfrmBound::*>);
static_assert(!std::is_constructible_v<FieldBinding, int * TfrmBound::*>);
static_assert(!std::is_constructible_v<Handler<KeyPressEvent>, void (TfrmBound::*)(Component&)>);
static_assert(!std::is_constructible_v<Handler<NotifyEvent>, void (TfrmBound::*)(Component&, wchar_t&)>);
static_assert(std::is_constructible_v<Handler<KeyPressEvent>, void (TfrmBound::*)()>);

class FormsBindingTest : public SimTest {};

TEST_F(FormsBindingTest, ABoundLayoutFillsTheFieldsAndRunsTheWindowsMethods) {
    sim.resources().Add(L"100_SETTINGS", ResourceType::Bitmap, BitmapFile(48, 40, 24));
    sim.resources().Add(L"IMG_CLEAN", ResourceType::Bitmap, BitmapFile(300, 250, 8));
    const ComponentDesign layout[] = {
        {.kind = ComponentKind::Panel,
         .name = L"pnlBottom",
         .field = &TfrmBound::pnlBottom,
         .height = 36,
         .align = alBottom},
        {.kind = ComponentKind::Button,
         .name = L"btnSet",
         .field = &TfrmBound::btnSet,
         .parent = L"pnlBottom",
         .left = 103,
         .top = 3,
         .width = 65,
         .OnClick = &TfrmBound::btnSetClick},
        {.kind = ComponentKind::BitBtn,
         .name = L"btnMode",
         .field = &TfrmBound::btnMode,
         .hint = L"Next page",
         .showHint = true,
         .tag = 7,
         .picture = L"100_Settings"},
        {.kind = ComponentKind::Label,
         .name = L"lblInfo",
         .field = &TfrmBound::lblInfo,
         .visible = false,
         .color = clWhite,
         .underline = true,
         .fontColor = clBlue},
        {.kind = ComponentKind::RadioGroup,
         .name = L"rg1",
         .field = &TfrmBound::rg1,
         .items = {L"Off", L"On", L"Auto"},
         .columns = 3,
         .OnClick = &TfrmBound::rg1Click},
        {.kind = ComponentKind::ComboBox,
         .name = L"cbbPort",
         .field = &TfrmBound::cbbPort,
         .items = {L"LPT1", L"COM1"},
         .OnChange = &TfrmBound::cbbPortChange},
        {.kind = ComponentKind::ListBox,
         .name = L"lst2",
         .field = &TfrmBound::lst2,
         .items = {L"a", L"b"},
         .multiSelect = true,
         .OnMouseEnter = &TfrmBound::lst2MouseEnter},
        {.kind = ComponentKind::TrackBar,
         .name = L"trkDepth",
         .field = &TfrmBound::trkDepth,
         .min = 1,
         .max = 9,
         .position = 5,
         .OnChange = &TfrmBound::trkDepthChange},
        {.kind = ComponentKind::Edit,
         .name = L"edtValue",
         .field = &TfrmBound::edtValue,
         .OnKeyPress = &TfrmBound::edtValueKeyPress},
        {.kind = ComponentKind::ScrollBox, .name = L"tsb3", .field = &TfrmBound::tsb3, .picture = L"img_clean"},
        {.kind = ComponentKind::Timer,
         .name = L"tmrFresh",
         .field = &TfrmBound::tmrFresh,
         .interval = 3500,
         .OnTimer = &TfrmBound::tmrFreshTimer},
    };
    auto form = MakeForm<TfrmBound>(layout, kBoundDesign);

    // Each field holds its component, with the design's values; building ran nothing but OnCreate.
    EXPECT_EQ(form->calls, std::vector<std::wstring>{L"FormCreate"});
    EXPECT_EQ(form->btnSet, form->FindComponent(L"btnSet"));
    EXPECT_EQ(form->btnSet->Parent(), form->pnlBottom);
    EXPECT_EQ(form->btnMode->Glyph().Name(), L"100_Settings");
    EXPECT_EQ(form->btnMode->Glyph().Width(), 48);
    EXPECT_EQ(form->btnMode->Tag(), 7);
    EXPECT_EQ(form->btnMode->Hint(), L"Next page");
    EXPECT_FALSE(form->lblInfo->Visible());
    EXPECT_EQ(form->lblInfo->Color(), clWhite);
    EXPECT_TRUE(form->lblInfo->Font().underline);
    EXPECT_EQ(form->lblInfo->Font().color, clBlue);
    EXPECT_EQ(form->rg1->Items(), (std::vector<std::wstring>{L"Off", L"On", L"Auto"}));
    EXPECT_EQ(form->rg1->Columns(), 3);
    EXPECT_EQ(form->rg1->ItemIndex(), -1);
    EXPECT_EQ(form->cbbPort->Items().size(), 2u);
    EXPECT_EQ(form->lst2->Items().size(), 2u);
    EXPECT_EQ(form->trkDepth->Position(), 5);
    EXPECT_EQ(form->tsb3->BrushBitmap().Height(), 250);
    EXPECT_EQ(form->tmrFresh->Interval(), 3500u);

    // The handlers are the window's methods.
    form->Show();
    form->btnSet->Click();
    form->rg1->SetItemIndex(2);
    form->cbbPort->UserSelectItem(1);
    form->lst2->MouseEntered();
    form->trkDepth->SetPosition(6);
    EXPECT_FALSE(form->edtValue->TypeChar(L'x'));
    EXPECT_TRUE(form->edtValue->TypeChar(L'7'));
    sim.clock().Sleep(3500);
    application().ProcessMessages();
    form->Close();
    EXPECT_EQ(form->calls,
              (std::vector<std::wstring>{L"FormCreate", L"FormShow", L"btnSetClick", L"rg1Click rg1", L"cbbPortChange",
                                         L"lst2MouseEnter", L"trkDepthChange", L"tmrFreshTimer", L"FormClose"}));
    EXPECT_EQ(form->edtValue->Text(), L"7");
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormsBindingTest, EveryMistakeInATableStopsTheBuildNamingTheWindowAndTheComponent) {
    sim.resources().Add(L"100_SETTINGS", ResourceType::Bitmap, BitmapFile(48, 40, 24));
    struct Case {
        const char* name;
        std::vector<ComponentDesign> layout;
        FormDesign design;
        std::string message;
    };
    const ComponentDesign panel = {.kind = ComponentKind::Panel, .name = L"pnlBottom", .field = &TfrmBound::pnlBottom};
    const Case cases[] = {
        {"misspelt parent",
         {panel,
          {.kind = ComponentKind::Button, .name = L"btnSet", .field = &TfrmBound::btnSet, .parent = L"pnlBotom"}},
         kBoundDesign,
         "its parent pnlBotom is not made yet: btnSet"},
        {"component without a field",
         {panel, {.kind = ComponentKind::Label, .name = L"lblInfo"}},
         kBoundDesign,
         "no field of the window is bound to it: lblInfo"},
        {"field of another kind",
         {{.kind = ComponentKind::Label, .name = L"btnSet", .field = &TfrmBound::btnSet}},
         kBoundDesign,
         "its field's type does not fit a Label: btnSet"},
        {"plain button in a bit button's field",
         {{.kind = ComponentKind::Button, .name = L"btnMode", .field = &TfrmBound::btnMode}},
         kBoundDesign,
         "its field's type does not fit a Button: btnMode"},
        {"field given to two components",
         {{.kind = ComponentKind::Label, .name = L"lblInfo", .field = &TfrmBound::lblInfo},
          {.kind = ComponentKind::Label, .name = L"lblNote", .field = &TfrmBound::lblInfo}},
         kBoundDesign,
         "its field is given to another component too: lblInfo"},
        {"field of another window",
         {{.kind = ComponentKind::Label, .name = L"lblOther", .field = &TfrmOther::lblOther}},
         kBoundDesign,
         "its field is a member of another window class: lblOther"},
        {"handler of another window",
         {{.kind = ComponentKind::Label,
           .name = L"lblInfo",
           .field = &TfrmBound::lblInfo,
           .OnClick = &TfrmOther::lblOtherClick}},
         kBoundDesign,
         "OnClick is a method of another window class: lblInfo"},
        {"change handler on a label",
         {{.kind = ComponentKind::Label,
           .name = L"lblInfo",
           .field = &TfrmBound::lblInfo,
           .OnChange = &TfrmBound::trkDepthChange}},
         kBoundDesign,
         "a Label has no OnChange: lblInfo"},
        {"click handler on a timer",
         {{.kind = ComponentKind::Timer,
           .name = L"tmrFresh",
           .field = &TfrmBound::tmrFresh,
           .OnClick = &TfrmBound::btnSetClick}},
         kBoundDesign,
         "a Timer has no OnClick: tmrFresh"},
        {"timer handler on a button",
         {{.kind = ComponentKind::Button,
           .name = L"btnSet",
           .field = &TfrmBound::btnSet,
           .OnTimer = &TfrmBound::tmrFreshTimer}},
         kBoundDesign,
         "a Button has no OnTimer: btnSet"},
        {"entries for a button",
         {{.kind = ComponentKind::Button, .name = L"btnSet", .field = &TfrmBound::btnSet, .items = {L"x"}}},
         kBoundDesign,
         "a Button has no entries: btnSet"},
        {"picture that is no resource",
         {{.kind = ComponentKind::BitBtn, .name = L"btnMode", .field = &TfrmBound::btnMode, .picture = L"00_ADV"}},
         kBoundDesign,
         "picture 00_ADV: Resource 00_ADV not found: btnMode"},
        {"picture for a label",
         {{.kind = ComponentKind::Label, .name = L"lblInfo", .field = &TfrmBound::lblInfo, .picture = L"100_Settings"}},
         kBoundDesign,
         "a Label has no picture: lblInfo"},
        {"form handler of another window",
         {},
         FormDesign{.OnShow = &TfrmOther::FormShow},
         "OnShow is a method of another window class: TfrmBound"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            MakeForm<TfrmBound>(c.layout, c.design);
            ADD_FAILURE() << "built";
        } catch (const std::logic_error& error) {
            EXPECT_EQ(std::string(error.what()), "window layout of TfrmBound: " + c.message);
        }
    }
}

TEST_F(FormsBindingTest, TheTextTableSetsCaptionsAndAMisspeltEntryStopsTheBuild) {
    const ComponentDesign layout[] = {
        {.kind = ComponentKind::Button, .name = L"btnSet", .field = &TfrmBound::btnSet},
        {.kind = ComponentKind::RadioGroup, .name = L"rg1", .field = &TfrmBound::rg1, .caption = L"design"},
    };
    const ComponentText<TTexts> texts[] = {
        {L"TfrmBound", &TTexts::Caption},
        {L"btnSet", &TTexts::Set},
        {L"rg1", &TTexts::Choice},
    };
    auto form = MakeForm<TfrmBound>(layout, kBoundDesign, texts);
    EXPECT_EQ(form->Caption(), L"Item");
    EXPECT_EQ(form->btnSet->Caption(), L"Set");
    EXPECT_EQ(form->rg1->Caption(), L"Choose");
    // Applied again with other texts (a language chosen later), the same table follows the record.
    form->m_Texts.Set = L"Apply";
    ApplyTexts(*form, form->m_Texts, texts);
    EXPECT_EQ(form->btnSet->Caption(), L"Apply");

    // Raised in OnCreate, the error is not turned into an error box: the build fails.
    const ComponentText<TTexts> misspelt[] = {{L"btnSet", &TTexts::Set}, {L"btnSett", &TTexts::Set}};
    try {
        MakeForm<TfrmBound>(layout, kBoundDesign, misspelt);
        ADD_FAILURE() << "built";
    } catch (const std::logic_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "window layout of TfrmBound: no control of that name for its text: btnSett");
    }
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
}

}  // namespace
