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
    EXPECT_EQ(dialog->lblInfo->Caption(), L"")
        << "an ink item shows its explanation, which only maintenance items have";
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

TEST_F(ItemDialogTest, ShowingReadsTheValueAndSelectsItsOption) {
    struct Case {
        const char* name;
        const wchar_t* port;  // the queue's port; "" keeps USB001
        bool offline;
        bool silent;        // the printer of the queue
        bool secondSilent;  // a second printer, plugged in last
        const wchar_t* globalKeys;
        std::optional<platform::sim::ExpectedBox> box;
        std::int32_t selected;  // -1: none
    };
    const Case cases[] = {
        {"the printer answers", L"", false, false, false, L"", std::nullopt, 1},
        {"the printer is silent", L"", false, true, false, L"",
         Box(L"PrinterStatusError", L"ErrorTitle", MsgIcon::Warning), -1},
        {"silent, reads no longer affirmed", L"", false, true, false, L"AffirmReadDisable=1\n", std::nullopt, -1},
        {"offline", L"", true, false, false, L"", Box(L"PrinterNotFound", kPrinter, MsgIcon::Warning), -1},
        {"not a USB port", L"LPT1:", false, false, false, L"", std::nullopt, -1},
        {"an unlisted port reads the last listed printer", L"USB009", false, false, false, L"", std::nullopt, 2},
        {"an unlisted port whose last listed printer is silent shows the default", L"USB009", false, false, true, L"",
         Box(L"PrinterNotFoundOnPort(USB009)", L"ErrorTitle", MsgIcon::Error), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(1, Options(4), 1, L"Default=3\n", c.globalKeys);
        auto& second = usb.Plug(vprinter::makeIdentity("WQ-472", "SN0002", 2));
        second.defineItem(vprinter::ItemCode(0x24), 1, 2);
        second.faults().noReply = c.secondSilent;
        printer->faults().noReply = c.silent;
        sim.spooler().AddPrinter(kPrinter, kDriver, *c.port ? c.port : L"USB001",
                                 c.offline ? platform::kPrinterAttributeWorkOffline : 0);
        if (c.box) {
            sim.messageBoxes().ExpectBox(*c.box);
        }
        auto dialog = RunModal(UserScript()
                                   .Inspect([&](Form&) {
                                       EXPECT_EQ(application().FindForm(L"TfrmWaiting"), nullptr)
                                           << "the waiting window is gone once the dialog waits for its user";
                                   })
                                   .PressEsc());
        EXPECT_EQ(dialog->lst2->ItemIndex(), c.selected);
        EXPECT_EQ(dialog->m_iValueIndex, c.selected < 0 ? TfrmSetItem::kNothingChosen : c.selected);
        EXPECT_FALSE(dialog->btnSet->Enabled());
        EXPECT_TRUE(sim.messageBoxes().Unfinished().empty());
        sim.usbBus().Unplug(usb.DeviceOf(second));
    }
}

TEST_F(ItemDialogTest, AReadValueMatchingTwoOptionsSelectsTheLaterAndAMaskSelectsItsBits) {
    UseItem(1, L"0=Slow,1=Fast,1=Also fast", 1);
    auto dialog = RunModal(UserScript().PressEsc());
    EXPECT_EQ(dialog->rg1->ItemIndex(), 2);
    EXPECT_EQ(dialog->m_iValueIndex, 2);

    UseItem(3, Options(3), 0xA00000);
    dialog = RunModal(UserScript().PressEsc());
    EXPECT_TRUE(dialog->lst2->Selected(0));
    EXPECT_FALSE(dialog->lst2->Selected(1));
    EXPECT_TRUE(dialog->lst2->Selected(2));
    EXPECT_EQ(dialog->m_iValueIndex, 0xA00000);
}

TEST_F(ItemDialogTest, TheWebLabelShowsTheModelsAddressUnlessItIsZero) {
    struct Case {
        const char* name;
        const wchar_t* globalKeys;
        bool visible;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {"the shipped address", L"", true, kDefaultWebAddress},
        {"another address", L"WebAddress=https://shop.example/\n", true, L"https://shop.example/"},
        {"zero hides it", L"WebAddress=0\n", false, kDefaultWebAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(1, Options(2), 0, L"", c.globalKeys);
        auto dialog = RunModal(UserScript().PressEsc());
        EXPECT_EQ(dialog->lblWeb->Visible(), c.visible);
        EXPECT_EQ(dialog->lblWeb->Caption(), c.caption);
    }
    UseItem(1, Options(2));
    auto dialog = RunModal(UserScript().Click(L"lblWeb").PressEsc());
    EXPECT_EQ(sim.processes().ShellOpened(), std::vector<std::wstring>{kDefaultWebAddress});
}

}  // namespace
