// The item dialog as a user meets it: built from its item, the value read when it shows, a set written,
// read back and handed on, against the virtual printer.
#include <gtest/gtest.h>

#include "item_dialog_fixture.h"
#include "platform/files.h"
#include "platform/spooler.h"

namespace {

using platform::MsgIcon;
using platform::sim::UserScript;
using namespace platform::forms;

TEST_F(ItemDialogTest, TheOptionCountChoosesTheModeAndTheHeight) {
    struct Case {
        const char* name;
        std::uint32_t width;
        std::wstring rule;
        std::int32_t mode;
        int height;
        bool multiSelect;
    };
    const Case cases[] = {
        {"two options: radio group", 1, Options(2), 0, 242, false},
        {"three options: radio group", 1, Options(3), 0, 263, false},
        {"four options: list", 1, Options(4), 1, 260, false},
        {"ten options: list", 2, Options(10), 1, 260, false},
        {"eleven options: the taller list", 1, Options(11), 1, 330, false},
        {"a mask of three: multi-select list", 3, Options(3), 1, 320, true},
        {"a mask of two is a list too", 3, Options(2), 1, 320, true},
        {"a mask of eleven", 3, Options(11), 1, 320, true},
        {"no option: an empty list", 1, L"", 1, 260, false},
        {"one option: action panel", 1, Options(1), 2, 390, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(c.width, c.rule);
        auto dialog = MakeForm<TfrmSetItem>();
        dialog->LoadItemOptions();
        EXPECT_EQ(dialog->m_iShowMode, c.mode);
        EXPECT_EQ(dialog->Height(), c.height);
        EXPECT_EQ(dialog->Caption(), L"Item title");
        EXPECT_EQ(dialog->lblInfo->Caption(), L"Item note");
        EXPECT_EQ(dialog->m_iValueIndex, c.mode == 2 ? 0 : TfrmSetItem::kNothingChosen);
        EXPECT_EQ(dialog->pnlType1->Visible(), c.mode == 0);
        EXPECT_EQ(dialog->pnlType2->Visible(), c.mode == 1);
        EXPECT_EQ(dialog->pnlType3->Visible(), c.mode == 2);
        Panel* const shown[] = {dialog->pnlType1, dialog->pnlType2, dialog->pnlType3};
        EXPECT_GE(shown[c.mode]->Height(), c.mode == 0 ? 78 : c.mode == 1 ? 100 : 0);
        const auto count = static_cast<std::size_t>(c.mode == 2 ? 0 : Item().RuleValues.RuleTitle.size());
        if (c.mode == 0) {
            EXPECT_EQ(dialog->rg1->Items().size(), count);
        } else if (c.mode == 1) {
            EXPECT_EQ(dialog->lst2->Items().size(), count);
            EXPECT_EQ(dialog->lst2->MultiSelect(), c.multiSelect);
            EXPECT_EQ(dialog->lst2->Hint(), c.multiSelect ? L"CanSelectMultiItem" : L"CanSelectAnItem");
        }
        // The buttons of the mode.
        EXPECT_EQ(dialog->btnSet->Visible(), c.mode != 2);
        EXPECT_EQ(dialog->btnDefault->Visible(), c.mode != 2);
        EXPECT_EQ(dialog->btnInkset->Visible(), c.mode == 2);
        EXPECT_FALSE(dialog->btnNext->Visible());
        EXPECT_FALSE(dialog->btnSet->Enabled()) << "enabled only for an item with a sub-group";
    }
}

TEST_F(ItemDialogTest, CaptionsComeFromTheTextsAndTheSubGroupEnablesSet) {
    UseItem(1, Options(4), 0, L"SubGroup=1\nIcon=Ink_Adjust\n");
    g_strPrinterName = L"Varintex WQ-472 (office)";
    auto dialog = MakeForm<TfrmSetItem>();
    EXPECT_EQ(sim.forms().ApplicationTitle(), L"Varintex WQ-472 (office)");
    EXPECT_EQ(dialog->Caption(), L"ParametersCaption");
    EXPECT_EQ(dialog->btnNext->Caption(), L"btnInkset") << "the change wizard knows its start by this text";
    EXPECT_EQ(dialog->btnInkset->Caption(), L"ParametersBtnOK");
    EXPECT_EQ(dialog->btnCancel->Caption(), L"ParametersBtnCancel");
    EXPECT_EQ(dialog->grp1->Caption(), L"ParametersNoteTitle");
    EXPECT_EQ(dialog->lblWeb->Caption(), kDefaultWebAddress);
    EXPECT_NE(dialog->m_USBPort, nullptr);

    dialog->LoadItemOptions();
    EXPECT_TRUE(dialog->btnSet->Enabled());
    EXPECT_EQ(dialog->lblInfo->Caption(), L"") << "an ink item shows its explanation, which only maintenance items have";
    EXPECT_TRUE(dialog->btnInkset->Visible());
    EXPECT_EQ(dialog->btnInkset->Left(), 28);
    EXPECT_EQ(dialog->btnInkset->Caption(), L"btnInkPrn");
}

TEST_F(ItemDialogTest, AnActionPanelWithoutItsPictureStillOpens) {
    UseItem(1, Options(1), 0, L"Name=Ink_Changehead\nIcon=Ink_Changehead\n",
            L"PrinterName=Varintex WQ\nWebAddress=https://shop.example/ink\n");
    auto dialog = MakeForm<TfrmSetItem>();
    dialog->LoadItemOptions();
    EXPECT_EQ(dialog->m_iShowMode, 2);
    EXPECT_TRUE(dialog->tsb3->BrushBitmap().Empty());
    EXPECT_EQ(dialog->Height(), 390);
    // The change wizard's layout.
    EXPECT_TRUE(dialog->btnBack->Visible());
    EXPECT_FALSE(dialog->btnBack->Enabled());
    EXPECT_EQ(dialog->btnBack->Left(), 20);
    EXPECT_EQ(dialog->btnNext->Left(), 100);
    EXPECT_EQ(dialog->btnInkset->Left(), 180);
    EXPECT_FALSE(dialog->btnInkset->Enabled());
    EXPECT_EQ(dialog->btnCancel->Left(), 260);
    EXPECT_TRUE(dialog->lblWeb->Visible());
    EXPECT_EQ(dialog->lblWeb->Caption(), L"https://shop.example/ink");
}

}  // namespace
