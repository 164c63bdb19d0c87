// The item dialog's hand-off to the real group dialogs after a successful set: which dialog shows, with which
// caption and layout, at a start with page code 1 (the dialogs start-up made) and from a dialog opened as the
// main window opens it (a dialog made for the one showing, freed afterwards).
#include <gtest/gtest.h>

#include <string>

#include "GroupDialogs.h"
#include "group_dialog_fixture.h"
#include "platform/forms/application.h"
#include "platform/forms/forms.h"
#include "uSetItem.h"

namespace {

using namespace platform::forms;
using platform::sim::UserScript;

struct HandOffCase {
    const char* name;
    bool pageOneStart;
    std::int32_t iItem;
    int k;
    const wchar_t* className;
    const wchar_t* caption;
    bool invoiceType;
    bool bookletPanel;
};

class ItemHandOffTest : public GroupDialogTest, public testing::WithParamInterface<HandOffCase> {
protected:
    // Base item 1 owns sub-group 64 with five options, base item 2 sub-group 1; the sub-groups are the group
    // fixture's.
    static std::wstring HandOffMenu() {
        const std::wstring menu = kGroupMenu;
        const std::wstring base =
            L"[BaseSection]\nItemCount=2\n"
            L"[BaseItem01]\nName=Forms\nGetInstruction=40\nSetInstruction=04 40\nRuleType=ENUM\n"
            L"Rule.EN=0=Plain,1=Receipt,2=Label,3=Card,4=Booklet\nSubGroup=64\n"
            L"[BaseItem02]\nName=Modes\nGetInstruction=41\nSetInstruction=04 41\nRuleType=ENUM\n"
            L"Rule.EN=0=Standard,1=Custom\nSubGroup=1\n";
        return base + menu.substr(menu.find(L"[SubGroup01]"));
    }

    void SetUp() override {
        GroupDialogTest::SetUp();
        const std::wstring menu = HandOffMenu();
        LoadModel(L"", menu);
        printer->defineItemsFromMenu(platform::Bytes(menu.begin(), menu.end()));
        DefineInvoiceItems(-5, 600, 2, 7);
        SetGroupHandOff(&g_GroupDialogs);
        g_byPage = pgSingleItem;
    }
    void TearDown() override {
        SetGroupHandOff(nullptr);
        application().DestroyForms();
    }

    // What the hand-off showed.
    struct Shown {
        std::wstring className;
        std::wstring caption;
        int width = 0;
        bool bookletPanel = false;
        int bookletPanelWidth = 0;
        const Form* instance = nullptr;
    };

    // The user picks option k of item iItem and presses Set; the dialog of class expected that the hand-off
    // shows is looked at and closed with Esc (a dialog of another class finds no script and fails the test),
    // then the item dialog, still open, is closed too.
    Shown SetAndHandOff(std::int32_t iItem, int k, bool pageOneStart, const wchar_t* expected) {
        g_iItem = iItem;
        g_byStartPage = pageOneStart ? pgSingleItem : 0;
        Shown shown;
        const auto look = [&shown](Form& f) {
            shown.className = f.ClassName();
            shown.caption = f.Caption();
            shown.width = f.Width();
            shown.instance = &f;
            if (auto* invoice = dynamic_cast<TfrmInvoiceType_SetGruop*>(&f)) {
                shown.bookletPanel = invoice->pnlItem2->Visible();
                shown.bookletPanelWidth = invoice->pnlItem2->Width();
            }
        };
        forms().WhenModal(expected, UserScript().Inspect(look).PressEsc());
        const UserScript user = UserScript().Pick(iItem == 0 ? L"lst2" : L"rg1", k).Click(L"btnSet").PressEsc();
        if (pageOneStart) {
            auto& app = application();
            app.CreateForm<TfrmSetItem>();
            CreateGroupDialogs();
            forms().WhenModal(L"TfrmSetItem", user);
            app.Run();
        } else {
            auto dialog = MakeForm<TfrmSetItem>();
            forms().WhenModal(L"TfrmSetItem", user);
            dialog->ShowModal();
        }
        return shown;
    }
};

TEST_P(ItemHandOffTest, TheChosenOptionPicksTheDialogItsCaptionAndLayout) {
    const HandOffCase& c = GetParam();
    const Shown shown = SetAndHandOff(c.iItem, c.k, c.pageOneStart, c.className);
    EXPECT_EQ(shown.className, c.className);
    EXPECT_EQ(shown.caption, c.caption);
    if (c.invoiceType) {
        EXPECT_EQ(shown.bookletPanel, c.bookletPanel);
        // 710 wide, less the booklet panel when it is hidden.
        EXPECT_EQ(shown.width, c.bookletPanel ? 710 : 710 - shown.bookletPanelWidth);
    }
    // A page-1 start shows the dialogs start-up made; a dialog opened from the main window makes its own.
    const Form* made =
        c.invoiceType ? static_cast<const Form*>(frmInvoiceType_SetGruop) : static_cast<const Form*>(FormSetGroupItem);
    if (c.pageOneStart) {
        EXPECT_EQ(shown.instance, made);
    } else {
        EXPECT_EQ(made, nullptr);
    }
}

constexpr HandOffCase kHandOffCases[] = {
    {"PageOneSubGroup64Option2", true, 0, 2, L"TFormSetGroupItem", L"Label", false, false},
    {"PageOneSubGroup64Option3", true, 0, 3, L"TfrmInvoiceType_SetGruop", L"Card", true, false},
    {"PageOneSubGroup64Option4", true, 0, 4, L"TfrmInvoiceType_SetGruop", L"Booklet", true, true},
    {"PageOneSubGroup1", true, 1, 1, L"TFormSetGroupItem", L"Custom", false, false},
    {"MainWindowSubGroup64Option2", false, 0, 2, L"TFormSetGroupItem", L"Label", false, false},
    {"MainWindowSubGroup64Option3", false, 0, 3, L"TfrmInvoiceType_SetGruop", L"Card", true, false},
    {"MainWindowSubGroup64Option4", false, 0, 4, L"TfrmInvoiceType_SetGruop", L"Booklet", true, true},
    {"MainWindowSubGroup1", false, 1, 1, L"TFormSetGroupItem", L"Custom", false, false},
};

INSTANTIATE_TEST_SUITE_P(Cases,
                         ItemHandOffTest,
                         testing::ValuesIn(kHandOffCases),
                         [](const testing::TestParamInfo<HandOffCase>& info) { return info.param.name; });

}  // namespace
