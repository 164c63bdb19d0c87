// Layout of the component model: alignment, anchors, insets and auto-size, computed with the headless
// backend's fixed metrics.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "sim_fixture.h"

namespace {

using namespace platform::forms;
using platform::sim::HeadlessForms;

class LayoutForm : public Form {
public:
    LayoutForm(const FormDesign& design, std::span<const ComponentDesign> table) : Form(L"TLayoutForm", design) {
        CreateComponents(*this, table);
    }
};

Rect BoundsOf(const Form& form, const wchar_t* name) {
    return form.Find<Control>(name)->BoundsRect();
}

Rect At(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

class FormsLayoutTest : public SimTest {};

// An item dialog's frame: a client panel with a bottom info panel, a bottom button panel whose buttons keep
// their distance to the right edge, and a left-anchored back button.
const FormDesign kDialog = {.caption = L"Item", .clientWidth = 358, .clientHeight = 235, .borderStyle = bsDialog};
const ComponentDesign kDialogLayout[] = {
    {.kind = ComponentKind::Panel, .name = L"pnlTop", .width = 358, .height = 199, .align = alClient},
    {.kind = ComponentKind::Panel, .name = L"pnlType1", .parent = L"pnlTop", .top = 1, .height = 60, .align = alTop},
    {.kind = ComponentKind::Panel,
     .name = L"pnlInfo",
     .parent = L"pnlTop",
     .top = 103,
     .height = 95,
     .align = alBottom},
    {.kind = ComponentKind::Panel, .name = L"pnlBottom", .top = 199, .height = 36, .align = alBottom},
    {.kind = ComponentKind::Button,
     .name = L"btnBack",
     .parent = L"pnlBottom",
     .left = 10,
     .top = 3,
     .width = 65,
     .height = 30},
    {.kind = ComponentKind::Button,
     .name = L"btnCancel",
     .parent = L"pnlBottom",
     .left = 189,
     .top = 3,
     .width = 65,
     .height = 30,
     .anchors = akTop | akRight},
    {.kind = ComponentKind::Button,
     .name = L"btnClean",
     .parent = L"pnlBottom",
     .left = 290,
     .width = 65,
     .align = alRight},
};

TEST_F(FormsLayoutTest, AlignedPanelsAndAnchoredButtonsFollowTheFormSize) {
    struct Case {
        const char* name;
        int width;  // outer size set by code, 0 keeps the designed one
        int height;
        Rect pnlTop, pnlInfo, pnlBottom, btnBack, btnCancel, btnClean;
    };
    // The dialog frame is 6 x 29, so the designed outer size is 364 x 264.
    const Case cases[] = {
        {"as designed", 0, 0, At(0, 0, 358, 199), At(1, 103, 356, 95), At(0, 199, 358, 36), At(10, 3, 65, 30),
         At(189, 3, 65, 30), At(292, 1, 65, 34)},
        {"lower: the bottom panels stay at the bottom", 0, 242, At(0, 0, 358, 177), At(1, 81, 356, 95),
         At(0, 177, 358, 36), At(10, 3, 65, 30), At(189, 3, 65, 30), At(292, 1, 65, 34)},
        {"higher", 0, 390, At(0, 0, 358, 325), At(1, 229, 356, 95), At(0, 325, 358, 36), At(10, 3, 65, 30),
         At(189, 3, 65, 30), At(292, 1, 65, 34)},
        {"wider: right-anchored buttons move, left ones stay", 384, 0, At(0, 0, 378, 199), At(1, 103, 376, 95),
         At(0, 199, 378, 36), At(10, 3, 65, 30), At(209, 3, 65, 30), At(312, 1, 65, 34)},
        {"too low for the panels: they overlap and keep their heights", 0, 100, At(0, 0, 358, 35), At(1, -61, 356, 95),
         At(0, 35, 358, 36), At(10, 3, 65, 30), At(189, 3, 65, 30), At(292, 1, 65, 34)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = MakeForm<LayoutForm>(kDialog, kDialogLayout);
        ASSERT_EQ(form->Width(), 364);
        ASSERT_EQ(form->Height(), 264);
        if (c.width) {
            form->SetWidth(c.width);
        }
        if (c.height) {
            form->SetHeight(c.height);
        }
        EXPECT_EQ(BoundsOf(*form, L"pnlTop"), c.pnlTop);
        EXPECT_EQ(BoundsOf(*form, L"pnlInfo"), c.pnlInfo);
        EXPECT_EQ(BoundsOf(*form, L"pnlBottom"), c.pnlBottom);
        EXPECT_EQ(BoundsOf(*form, L"btnBack"), c.btnBack);
        EXPECT_EQ(BoundsOf(*form, L"btnCancel"), c.btnCancel);
        EXPECT_EQ(BoundsOf(*form, L"btnClean"), c.btnClean);
        EXPECT_EQ(BoundsOf(*form, L"pnlType1"), At(1, 1, c.pnlTop.Width() - 2, 60));
    }
}

TEST_F(FormsLayoutTest, AnchorsKeepTheirEdgesAndNeverDrift) {
    struct Case {
        const char* name;
        TAnchors anchors;
        Rect grown;  // the panel goes from 200 x 100 to 260 x 140
    };
    const Case cases[] = {
        {"left top", akLeft | akTop, At(50, 20, 40, 30)},
        {"top right moves", akTop | akRight, At(110, 20, 40, 30)},
        {"left right stretches", akLeft | akTop | akRight, At(50, 20, 100, 30)},
        {"left bottom moves down", akLeft | akBottom, At(50, 60, 40, 30)},
        {"top bottom stretches", akLeft | akTop | akBottom, At(50, 20, 40, 70)},
        {"no horizontal edge keeps the centre in proportion", akTop, At(71, 20, 40, 30)},
        {"all four", akLeft | akTop | akRight | akBottom, At(50, 20, 100, 70)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ComponentDesign layout[] = {
            {.kind = ComponentKind::Panel, .name = L"pnl", .width = 200, .height = 100},
            {.kind = ComponentKind::Button,
             .name = L"btn",
             .parent = L"pnl",
             .left = 50,
             .top = 20,
             .width = 40,
             .height = 30,
             .anchors = c.anchors},
        };
        auto form = MakeForm<LayoutForm>(FormDesign{.clientWidth = 400, .clientHeight = 300}, layout);
        auto* panel = form->Find<Panel>(L"pnl");
        panel->SetBounds(0, 0, 260, 140);
        EXPECT_EQ(BoundsOf(*form, L"btn"), c.grown);
        // Odd steps up and down, then back: the distances come from the last bounds set by code.
        panel->SetBounds(0, 0, 203, 101);
        panel->SetBounds(0, 0, 217, 133);
        panel->SetBounds(0, 0, 200, 100);
        EXPECT_EQ(BoundsOf(*form, L"btn"), At(50, 20, 40, 30));
    }
}

TEST_F(FormsLayoutTest, BoundsSetByCodeBecomeTheNewAnchorDistances) {
    const ComponentDesign layout[] = {
        {.kind = ComponentKind::Button,
         .name = L"btn",
         .left = 300,
         .top = 10,
         .width = 65,
         .height = 30,
         .anchors = akTop | akRight},
    };
    auto form =
        MakeForm<LayoutForm>(FormDesign{.clientWidth = 400, .clientHeight = 300, .borderStyle = bsNone}, layout);
    auto* button = form->Find<Button>(L"btn");
    button->SetLeft(100);  // now 235 from the right edge
    form->SetWidth(500);
    EXPECT_EQ(button->Left(), 200);
}

TEST_F(FormsLayoutTest, HiddenAlignedControlsTakeNoRoom) {
    const ComponentDesign layout[] = {
        {.kind = ComponentKind::Panel, .name = L"pnlA", .height = 30, .align = alTop},
        {.kind = ComponentKind::Panel, .name = L"pnlB", .top = 30, .height = 40, .align = alTop},
        {.kind = ComponentKind::Panel, .name = L"pnlC", .align = alClient},
    };
    auto form =
        MakeForm<LayoutForm>(FormDesign{.clientWidth = 200, .clientHeight = 200, .borderStyle = bsNone}, layout);
    form->Find<Panel>(L"pnlA")->Hide();
    EXPECT_EQ(BoundsOf(*form, L"pnlB"), At(0, 0, 200, 40));
    EXPECT_EQ(BoundsOf(*form, L"pnlC"), At(0, 40, 200, 160));
    form->Find<Panel>(L"pnlA")->Show();
    EXPECT_EQ(BoundsOf(*form, L"pnlB"), At(0, 30, 200, 40));
    EXPECT_EQ(BoundsOf(*form, L"pnlC"), At(0, 70, 200, 130));
    // Taken out of the alignment, a panel keeps where it was and gives its room back.
    auto* b = form->Find<Panel>(L"pnlB");
    b->SetAlign(alNone);
    b->SetHeight(0);
    b->Hide();
    EXPECT_EQ(BoundsOf(*form, L"pnlB"), At(0, 30, 200, 0));
    EXPECT_EQ(BoundsOf(*form, L"pnlC"), At(0, 30, 200, 170));
}

TEST_F(FormsLayoutTest, ContainersInsetTheirAlignedChildren) {
    struct Case {
        const char* name;
        ComponentKind kind;
        TBevelCut outer;
        TBevelCut inner;
        Rect client;
    };
    // A group box at 8 pt: a "0" is 12 pixels high, so 14 at the top and 2 elsewhere.
    const Case cases[] = {
        {"raised panel", ComponentKind::Panel, bvRaised, bvNone, At(1, 1, 198, 98)},
        {"two bevels", ComponentKind::Panel, bvRaised, bvLowered, At(2, 2, 196, 96)},
        {"flat panel", ComponentKind::Panel, bvNone, bvNone, At(0, 0, 200, 100)},
        {"group box", ComponentKind::GroupBox, bvRaised, bvNone, At(2, 14, 196, 84)},
        {"radio group", ComponentKind::RadioGroup, bvRaised, bvNone, At(2, 14, 196, 84)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ComponentDesign layout[] = {
            {.kind = c.kind, .name = L"box", .width = 200, .height = 100, .bevelOuter = c.outer, .bevelInner = c.inner},
            {.kind = ComponentKind::Label, .name = L"lbl", .parent = L"box", .align = alClient},
        };
        auto form = MakeForm<LayoutForm>(FormDesign{.clientWidth = 300, .clientHeight = 300}, layout);
        EXPECT_EQ(BoundsOf(*form, L"lbl"), c.client);
    }
}

TEST_F(FormsLayoutTest, HeadlessTextRule) {
    struct Case {
        const char* name;
        std::wstring text;
        int size;
        bool bold;
        int wrap;
        Size expected;
    };
    const Case cases[] = {
        {"7 per character at 9 pt", L"Hello", 9, false, 0, {35, 13}},
        {"scaled to 8 pt", L"Hello", 8, false, 0, {31, 12}},
        {"bold adds one per character", L"Hello", 8, true, 0, {36, 12}},
        {"wide characters 12", L"打印机", 9, false, 0, {36, 13}},
        {"mixed", L"USB打印", 9, false, 0, {45, 13}},
        {"lines at each break, widest counts", L"ab\r\ncdef\nx\ry", 9, false, 0, {28, 52}},
        {"10 pt", L"Hello", 10, false, 0, {39, 14}},
        {"wrapped at blanks", L"aaa bbb ccc ddd", 8, false, 60, {44, 24}},
        {"a long word stands alone", L"a bbbbbbbbbbbb c", 8, false, 40, {75, 36}},
        {"wide characters break anywhere", L"打印机打印机", 9, false, 40, {36, 26}},
        {"wrap wide enough", L"aaa bbb", 8, false, 200, {44, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFont font;
        font.size = c.size;
        font.bold = c.bold;
        EXPECT_EQ(HeadlessForms::Measure(c.text, font, c.wrap), c.expected);
    }
}

TEST_F(FormsLayoutTest, AutoSizeLabels) {
    struct Case {
        const char* name;
        ComponentDesign label;
        Rect expected;
    };
    const Case cases[] = {
        {"sizes to its text",
         {.kind = ComponentKind::Label, .name = L"lbl", .left = 10, .top = 5, .caption = L"Hello"},
         At(10, 5, 31, 12)},
        {"empty keeps one line",
         {.kind = ComponentKind::Label, .name = L"lbl", .left = 10, .top = 5},
         At(10, 5, 6, 12)},
        {"right-justified keeps its right edge",
         {.kind = ComponentKind::Label,
          .name = L"lbl",
          .left = 100,
          .top = 5,
          .width = 120,
          .caption = L"Hello",
          .alignment = taRightJustify},
         At(189, 5, 31, 12)},
        {"bold in its own font",
         {.kind = ComponentKind::Label, .name = L"lbl", .caption = L"Hello", .bold = true},
         At(0, 0, 36, 12)},
        {"word wrap keeps to the width and narrows to the widest line",
         {.kind = ComponentKind::Label, .name = L"lbl", .width = 60, .caption = L"aaa bbb ccc ddd", .wordWrap = true},
         At(0, 0, 44, 24)},
        {"fixed size",
         {.kind = ComponentKind::Label,
          .name = L"lbl",
          .width = 120,
          .height = 13,
          .caption = L"Hello",
          .autoSize = false},
         At(0, 0, 120, 13)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ComponentDesign layout[] = {c.label};
        auto form = MakeForm<LayoutForm>(FormDesign{.clientWidth = 300, .clientHeight = 100}, layout);
        EXPECT_EQ(form->Find<Label>(L"lbl")->BoundsRect(), c.expected);
    }
    // A new text sizes it again, the right edge of a right-justified label staying where it was.
    const ComponentDesign layout[] = {{.kind = ComponentKind::Label,
                                       .name = L"lbl",
                                       .left = 100,
                                       .width = 120,
                                       .caption = L"Hello",
                                       .alignment = taRightJustify}};
    auto form = MakeForm<LayoutForm>(FormDesign{.clientWidth = 300, .clientHeight = 100}, layout);
    auto* label = form->Find<Label>(L"lbl");
    label->SetCaption(L"Hello\r\nworld wide");
    EXPECT_EQ(label->BoundsRect(), At(158, 0, 62, 24));
}

TEST_F(FormsLayoutTest, ChildrenFollowTheirParentsFont) {
    const ComponentDesign layout[] = {
        {.kind = ComponentKind::GroupBox, .name = L"grp", .width = 200, .height = 100, .bold = true},
        {.kind = ComponentKind::Label, .name = L"lblBold", .parent = L"grp", .caption = L"Hello"},
        {.kind = ComponentKind::Label, .name = L"lblPlain", .parent = L"grp", .caption = L"Hello", .bold = false},
    };
    auto form = MakeForm<LayoutForm>(FormDesign{.clientWidth = 300, .clientHeight = 300}, layout);
    EXPECT_TRUE(form->Find<Label>(L"lblBold")->Font().bold);
    EXPECT_EQ(form->Find<Label>(L"lblBold")->Width(), 36);
    EXPECT_FALSE(form->Find<Label>(L"lblPlain")->Font().bold);
    // A new size on the group box reaches every label that still follows it.
    TFont big = form->Find<GroupBox>(L"grp")->Font();
    big.size = 9;
    form->Find<GroupBox>(L"grp")->SetFont(big);
    EXPECT_EQ(form->Find<Label>(L"lblBold")->Width(), 40);
    EXPECT_EQ(form->Find<Label>(L"lblPlain")->Width(), 31);
}

TEST_F(FormsLayoutTest, FormsArePlacedByTheirPosition) {
    // The work area is 1024 x 768; outer sizes include the 6 x 29 dialog frame.
    auto* main = application().CreateForm<LayoutForm>(
        FormDesign{.clientWidth = 494, .clientHeight = 571, .left = 100, .top = 50, .borderStyle = bsDialog},
        std::span<const ComponentDesign>());
    main->Show();
    struct Case {
        const char* name;
        TPosition position;
        Rect expected;
    };
    const Case cases[] = {
        {"designed", poDesigned, At(512, 295, 340, 164)},
        {"screen centre", poScreenCenter, At(342, 302, 340, 164)},
        {"main form centre", poMainFormCenter, At(180, 268, 340, 164)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = MakeForm<LayoutForm>(FormDesign{.clientWidth = 334,
                                                    .clientHeight = 135,
                                                    .left = 512,
                                                    .top = 295,
                                                    .position = c.position,
                                                    .borderStyle = bsDialog},
                                         std::span<const ComponentDesign>());
        form->Show();
        EXPECT_EQ(form->BoundsRect(), c.expected);
    }
    application().DestroyForms();
}

TEST_F(FormsLayoutTest, BrokenLayoutTablesAreProgrammingErrors) {
    const ComponentDesign unknownParent[] = {
        {.kind = ComponentKind::Label, .name = L"lbl", .parent = L"pnlNowhere"},
    };
    const ComponentDesign repeated[] = {
        {.kind = ComponentKind::Label, .name = L"lbl"},
        {.kind = ComponentKind::Label, .name = L"LBL"},
    };
    EXPECT_THROW(MakeForm<LayoutForm>(FormDesign{}, unknownParent), std::logic_error);
    EXPECT_THROW(MakeForm<LayoutForm>(FormDesign{}, repeated), std::logic_error);
    auto form = MakeForm<LayoutForm>(FormDesign{}, std::span<const ComponentDesign>());
    EXPECT_THROW(form->Find<Label>(L"lblMissing"), std::logic_error);
}

}  // namespace
