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

// The action panel's buttons: a nozzle check has Clean at the right edge of the button panel and prints with
// its action button; other actions have neither.
TEST_F(ItemDialogTest, ANozzleCheckShowsCleanAndPrints) {
    struct Case {
        const char* name;
        const wchar_t* extra;
        bool clean;
        const wchar_t* inkset;
    };
    const Case cases[] = {
        {"nozzle check", L"Name=Ink_Holecheck\nIcon=Ink_Holecheck\n", true, L"btnInkPrn"},
        {"cleaning", L"Name=Ink_Clean\nIcon=Ink_Clean\n", false, L"ParametersBtnOK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(1, Options(1), 0, c.extra);
        auto dialog = MakeForm<TfrmSetItem>();
        dialog->LoadItemOptions();
        EXPECT_EQ(dialog->btnClean->Visible(), c.clean);
        EXPECT_EQ(dialog->btnClean->Width(), 65);
        EXPECT_EQ(dialog->btnClean->Left() + dialog->btnClean->Width(), dialog->pnlBottom->ClientWidth());
        EXPECT_TRUE(dialog->btnInkset->Visible());
        EXPECT_EQ(dialog->btnInkset->Caption(), c.inkset);
    }
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

// Default drops the user's pick and selects what the item's default value stands for, or nothing when no option
// holds it; either way Set is enabled.
TEST_F(ItemDialogTest, DefaultSelectsTheDefaultValue) {
    struct Case {
        const char* name;
        std::uint32_t width;
        const wchar_t* extra;
        std::vector<bool> selected;
        std::int32_t valueIndex;
    };
    const Case cases[] = {
        {"list", 1, L"Default=2\n", {false, false, true, false}, 2},
        {"mask", 3, L"Default=10485760\n", {true, false, true, false}, 0xA00000},
        {"a default no option holds", 1, L"Default=9\n", {false, false, false, false}, TfrmSetItem::kNothingChosen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(c.width, Options(4), 0, c.extra);
        auto dialog = RunModal(UserScript().Pick(L"lst2", 1).Click(L"btnDefault").PressEsc());
        std::vector<bool> selected;
        for (int i = 0; i < 4; ++i) {
            selected.push_back(dialog->lst2->Selected(i));
        }
        EXPECT_EQ(selected, c.selected);
        EXPECT_EQ(dialog->m_iValueIndex, c.valueIndex);
        EXPECT_TRUE(dialog->btnSet->Enabled());
    }
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

// The user picks options, presses Set, and the printer receives exactly one settings write sequence.
TEST_F(ItemDialogTest, SetWritesTheValueBytesOfTheItemsWidthAndReadsThemBack) {
    struct Pick {
        const wchar_t* control;
        int index;
    };
    struct Case {
        const char* name;
        std::uint32_t width;
        std::wstring rule;
        std::vector<Pick> picks;
        const char* valueBytes;
        std::int32_t readBack;
    };
    const Case cases[] = {
        {"byte, -1", 1, L"0=Zero,-1=Minus one", {{L"rg1", 1}}, "FF", -1},
        {"word, -5", 2, L"-5=A,300=B,7=C,8=D", {{L"lst2", 0}}, "05 80", -5},
        {"word, 300", 2, L"-5=A,300=B,7=C,8=D", {{L"lst2", 1}}, "2C 01", 300},
        {"mask, first and third", 3, Options(3), {{L"lst2", 0}, {L"lst2", 2}}, "A0 00 00", 0xA00000},
        {"mask, chosen and taken back", 3, Options(3), {{L"lst2", 1}, {L"lst2", 1}}, "00 00 00", 0},
        {"mask of two options", 3, Options(2), {{L"lst2", 1}}, "40 00 00", 0x400000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(c.width, c.rule, 0);
        UserScript script;
        for (const Pick& pick : c.picks) {
            script.Pick(pick.control, pick.index);
        }
        script.Click(L"btnSet").ExpectBox(Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information));
        const std::size_t setsBefore = SetWrites().size();
        auto dialog = RunModal(std::move(script));
        ASSERT_EQ(SetWrites().size(), setsBefore + 1);
        EXPECT_EQ(SetWrites().back(), Sequence(c.valueBytes));
        EXPECT_EQ(Item().ValueCurrent, c.readBack) << "the value read back is the item's current value";
        EXPECT_EQ(dialog->m_iPrinterItemValue, c.readBack);
        EXPECT_EQ(dialog->btnCancel->Caption(), L"ParametersBtnReturn");
        EXPECT_TRUE(dialog->m_bHasSetPrinter);
        EXPECT_FALSE(dialog->Visible()) << "an item without a sub-group closes after its set";
        printer->faults() = {};
    }
}

TEST_F(ItemDialogTest, TheExampleSequenceByteForByte) {
    UseItem(1, L"0=Off,1=On", 0, L"SetInstruction=1B 1D 1E 04 22\n");
    RunModal(UserScript().Pick(L"rg1", 1).Click(L"btnSet").ExpectBox(L"SetPrinterSuccessI"));
    EXPECT_EQ(SetWrites(), std::vector<platform::Bytes>{
                               Hex("1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 22 01 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F")});
}

TEST_F(ItemDialogTest, SetRefusesNothingChosenAndAValueWiderThanTheItem) {
    struct Case {
        const char* name;
        std::wstring rule;
        std::vector<int> picks;
        const wchar_t* box;
    };
    const Case cases[] = {
        {"no option to choose", L"", {}, L"HaveToSelectAnItem"},
        {"300 in one byte", L"0=A,300=B", {1}, L"SetPrinterFail"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(1, c.rule, 0, L"SubGroup=1\n");
        UserScript script;
        for (int pick : c.picks) {
            script.Pick(c.picks.size() ? L"rg1" : L"lst2", pick);
        }
        script.Click(L"btnSet").ExpectBox(Box(c.box, L"HintTitle", MsgIcon::Error)).PressEsc();
        const std::size_t writesBefore = printer->writes().size();
        RunModal(std::move(script));
        EXPECT_EQ(printer->writes().size(), writesBefore + 1) << "only the read at showing";
        EXPECT_TRUE(SetWrites().empty());
        EXPECT_TRUE(handOff.calls.empty());
    }
}

TEST_F(ItemDialogTest, TheReadBackDecidesWhatIsStoredAndSaid) {
    struct Case {
        const char* name;
        const wchar_t* extra;
        const wchar_t* globalKeys;
        bool unplug;  // before Set
        bool silent;  // before Set
        platform::sim::ExpectedBox box;
        bool closes;
        std::int32_t stored;  // the item's current value afterwards (77 before)
        bool hasSet;
        std::size_t readsAfterSet;
    };
    const Case cases[] = {
        {"read back", L"", L"", false, false, Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information), true, 1,
         true, 1},
        {"read-back fails", L"", L"", false, true, Box(L"SetPrinterTimeout", L"HintTitle", MsgIcon::Error), false, 77,
         true, 1},
        {"read-back fails, no longer affirmed", L"", L"AffirmReadDisable=1\n", false, true,
         Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information), true, 77, true, 1},
        // The radio click before it stores nothing either.
        {"the write fails", L"", L"", true, false, Box(L"SetPrinterFail", L"HintTitle", MsgIcon::Error), false, 77,
         false, 0},
        {"an alignment item is not read back", L"Icon=Ink_Adjust\n", L"", false, false,
         Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information), false, 77, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(1, L"0=Off,1=On", 0, c.extra, c.globalKeys);
        model().SetItem_ValueCurrent(pgSingleItem, 0, 77);
        std::size_t readsBefore = 0;
        UserScript script;
        script.Pick(L"rg1", 1)
            .Inspect([&](Form&) {
                printer->faults().unplugged = c.unplug;
                printer->faults().noReply = c.silent;
                readsBefore = Calls("ReadPort").size();
            })
            .Click(L"btnSet");
        if (c.readsAfterSet) {
            // While the read-back pumps messages nothing can start a second set, cancel or default.
            script.DuringNextPump().Inspect([](Form& form) {
                auto& dialog = dynamic_cast<TfrmSetItem&>(form);
                EXPECT_FALSE(dialog.pnlTop->Enabled());
                EXPECT_FALSE(dialog.btnSet->Enabled());
                EXPECT_FALSE(dialog.btnCancel->Enabled());
                EXPECT_FALSE(dialog.btnDefault->Enabled());
            });
        }
        script.ExpectBox(c.box);
        if (!c.closes) {
            script.PressEsc();
        }
        auto dialog = RunModal(std::move(script));
        EXPECT_EQ(Item().ValueCurrent, c.stored);
        EXPECT_EQ(dialog->m_bHasSetPrinter, c.hasSet);
        EXPECT_EQ(Calls("ReadPort").size() > readsBefore, c.readsAfterSet > 0);
        EXPECT_TRUE(dialog->pnlTop->Enabled());
        EXPECT_TRUE(dialog->btnCancel->Enabled());
        EXPECT_TRUE(dialog->btnDefault->Enabled());
        printer->faults() = {};
    }
}

TEST_F(ItemDialogTest, APortOutsideTheLibrarysListTakesTheSpoolerRoad) {
    struct Case {
        const char* name;
        const wchar_t* port;
        bool refused;
        platform::sim::ExpectedBox box;
    };
    const Case cases[] = {
        {"a parallel port", L"LPT1:", false, Box(L"SetPrinterCantAffirm", L"HintTitle", MsgIcon::Information)},
        {"an unlisted USB port", L"USB009", false, Box(L"SetPrinterCantAffirm", L"HintTitle", MsgIcon::Information)},
        {"the spooler refuses", L"LPT1:", true, Box(L"SetPrinterFailRetry", L"HintTitle", MsgIcon::Error)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(1, L"0=Off,1=On", 0);
        sim.spooler().AddPrinter(kPrinter, kDriver, c.port);
        sim.spooler().SetWriteFault(c.refused);
        auto dialog = RunModal(UserScript().Pick(L"rg1", 1).Click(L"btnSet").ExpectBox(c.box).PressEsc());
        const auto jobs = sim.spooler().RawJobs();
        ASSERT_FALSE(jobs.empty());
        EXPECT_EQ(jobs.back().docName, L"Printer setting job");
        if (!c.refused) {
            EXPECT_EQ(jobs.back().bytes, Sequence("01"));
        }
        EXPECT_FALSE(dialog->m_bHasSetPrinter);
        sim.spooler().SetWriteFault(false);
    }
}

TEST_F(ItemDialogTest, AnOfflinePrinterIsToldAndSentNothing) {
    UseItem(1, L"0=Off,1=On", 0);
    auto dialog = RunModal(UserScript()
                               .Pick(L"rg1", 1)
                               .Inspect([&](Form&) {
                                   sim.spooler().SetAttributes(kPrinter, platform::kPrinterAttributeWorkOffline);
                                   sim.portLibrary().ClearCalls();
                               })
                               .Click(L"btnSet")
                               .ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error))
                               .PressEsc());
    EXPECT_TRUE(Written().empty());
    EXPECT_TRUE(sim.spooler().RawJobs().empty());
    EXPECT_FALSE(dialog->m_bHasSetPrinter);
}

TEST_F(ItemDialogTest, PortModeWritesStraightToThePortFileEvenWithAPrinterName) {
    UseItem(1, L"0=Off,1=On", 0);
    g_byPage = pgBase;
    g_strLocalPortFile = L"C:\\ports\\LPT1.prn";
    ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ports"));
    auto dialog = RunModal(UserScript()
                               .Pick(L"rg1", 1)
                               .Click(L"btnSet")
                               .ExpectBox(Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information))
                               .PressEsc());
    EXPECT_EQ(sim.files().ReadWholeFile(L"C:\\ports\\LPT1.prn"), Sequence("01"));
    EXPECT_TRUE(SetWrites().empty());
    EXPECT_TRUE(sim.spooler().RawJobs().empty());
    EXPECT_FALSE(dialog->m_bHasSetPrinter);
}

TEST_F(ItemDialogTest, ASetItemWithASubGroupHandsOnAndStaysOpen) {
    struct Case {
        const char* name;
        std::int32_t subGroup;
        std::wstring rule;
        const wchar_t* list;
        int pick;
        const wchar_t* handOff;
    };
    const Case cases[] = {
        {"sub-group 64, option 2", 64, Options(5), L"lst2", 2, L"sub-group 64 Option 2"},
        {"sub-group 64, option 3: invoice type", 64, Options(5), L"lst2", 3, L"invoice type 3 Option 3"},
        {"sub-group 64, option 4: invoice type", 64, Options(5), L"lst2", 4, L"invoice type 4 Option 4"},
        {"sub-group 1", 1, Options(2), L"rg1", 1, L"sub-group 1 Option 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        handOff.calls.clear();
        UseItem(1, c.rule, 0, L"SubGroup=" + std::to_wstring(c.subGroup) + L"\n");
        auto dialog = RunModal(UserScript()
                                   .Pick(c.list, c.pick)
                                   .Click(L"btnSet")
                                   .Inspect([](Form& form) { EXPECT_TRUE(form.Visible()); })
                                   .PressEsc());
        EXPECT_EQ(handOff.calls, std::vector<std::wstring>{c.handOff});
        EXPECT_TRUE(dialog->btnSet->Enabled()) << "an item with a sub-group keeps Set enabled";
    }

    // Nothing installed to hand off to: the set ends as for an item without a sub-group.
    SetGroupHandOff(nullptr);
    handOff.calls.clear();
    RunModal(UserScript().Pick(L"rg1", 1).Click(L"btnSet").ExpectBox(L"SetPrinterSuccessI"));
    EXPECT_TRUE(handOff.calls.empty());
}

TEST_F(ItemDialogTest, TheCtrlKeyIsHeldOverAMultiSelectListUntilTheDialogCloses) {
    struct Case {
        const char* name;
        std::uint32_t width;
        bool userHoldsCtrl;
        bool heldOverList;
        bool heldAfterClose;
    };
    const Case cases[] = {
        {"multi-select list", 3, false, true, false},
        {"single-select list", 1, false, false, false},
        // A press the list did not send is the user's to release.
        {"the user's own Ctrl over a single-select list", 1, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseItem(c.width, Options(4));
        UserScript script;
        if (c.userHoldsCtrl) {
            script.Ctrl(true);
        }
        script.Hover(L"lst2").Inspect([&](Form&) { EXPECT_EQ(sim.forms().CtrlHeld(), c.heldOverList); }).PressEsc();
        auto dialog = RunModal(std::move(script));
        EXPECT_EQ(sim.forms().CtrlHeld(), c.heldAfterClose) << "closed, not yet freed";
        if (c.userHoldsCtrl) {
            sim.forms().KeyEvent(kKeyControl, true);
        }
    }

    // Leaving the list releases the press; plain clicks meanwhile toggled options.
    UseItem(3, Options(4));
    auto dialog = RunModal(UserScript()
                               .Pick(L"lst2", 0)
                               .Pick(L"lst2", 3)
                               .Hover(L"")
                               .Inspect([&](Form&) { EXPECT_FALSE(sim.forms().CtrlHeld()); })
                               .PressEsc());
    EXPECT_EQ(dialog->m_iValueIndex, 0x900000);
}

// An ink action reads no value when it shows: it notes the printer's port and the last listed device for the
// maintenance actions.
TEST_F(ItemDialogTest, AnInkActionNotesThePortInsteadOfReading) {
    UseItem(1, Options(1), 0, L"Name=Ink_Clean\nIcon=Ink_Clean\n");
    auto& second = usb.Plug(vprinter::makeIdentity("WQ-472", "SN0002", 2));
    sim.portLibrary().ClearCalls();
    auto dialog = RunModal(UserScript().PressEsc());
    EXPECT_EQ(dialog->g_strPort, L"USB001");
    EXPECT_EQ(dialog->g_iPrinter, 0);
    EXPECT_EQ(dialog->g_USBPort, platform::Utf8ToWide(second.identity().devicePath));
    EXPECT_TRUE(Calls("ReadPort").empty());
    EXPECT_EQ(dialog->m_iValueIndex, 0);

    sim.spooler().SetAttributes(kPrinter, platform::kPrinterAttributeWorkOffline);
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error));
    dialog = RunModal(UserScript().PressEsc());
    EXPECT_EQ(dialog->g_USBPort, L"");
}

}  // namespace
