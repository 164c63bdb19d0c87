// The item dialog's hand-off to the group dialogs, called directly: the dialogs a page-1 start made once and
// keeps, or a dialog made for each showing when the item dialog was opened from the main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GroupDialogs.h"
#include "group_dialog_fixture.h"
#include "platform/forms/application.h"
#include "platform/forms/forms.h"

namespace {

using namespace platform::forms;
using platform::sim::UserScript;

class GroupDialogsTest : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        DefineInvoiceItems(-5, 600, 2, 7);
        SetGroupHandOff(&g_GroupDialogs);
    }
    void TearDown() override {
        SetGroupHandOff(nullptr);
        application().DestroyForms();
    }

    TGroupHandOff& HandOff() { return *GetGroupHandOff(); }

    // Shows the sub-group dialog through the hand-off and reports which panels it showed.
    std::vector<bool> SubGroupPanels(const std::wstring& caption, std::int32_t iSubGroup) {
        std::vector<bool> shown;
        forms().WhenModal(L"TFormSetGroupItem",
                          UserScript()
                              .Inspect([&](Form& f) {
                                  auto& d = dynamic_cast<TFormSetGroupItem&>(f);
                                  EXPECT_EQ(d.Caption(), caption);
                                  EXPECT_EQ(d.m_pm, static_cast<std::uint8_t>(127 + iSubGroup));
                                  for (Panel* p : {d.pnlItem1, d.pnlItem2, d.pnlItem3, d.pnlItem4, d.pnlItem5}) {
                                      shown.push_back(p->Visible());
                                  }
                              })
                              .PressEsc());
        HandOff().ShowSubGroup(caption, iSubGroup);
        return shown;
    }

    struct InvoiceLayout {
        std::wstring caption;
        int width;
        bool booklet;
        std::size_t readBytes;
    };
    InvoiceLayout InvoiceShown(std::int32_t iOption, const std::wstring& caption) {
        InvoiceLayout layout;
        sim.portLibrary().ClearCalls();
        forms().WhenModal(L"TfrmInvoiceType_SetGruop",
                          UserScript()
                              .Inspect([&](Form& f) {
                                  auto& d = dynamic_cast<TfrmInvoiceType_SetGruop&>(f);
                                  layout = {d.Caption(), d.Width(), d.pnlItem2->Visible(), 0};
                              })
                              .PressEsc());
        HandOff().ShowInvoiceType(iOption, caption);
        layout.readBytes = Written().empty() ? 0 : Written().front().size();
        return layout;
    }
};

TEST_F(GroupDialogsTest, InvoiceTypeLayoutByOptionAndWhatALaterOptionKeeps) {
    struct Case {
        const char* name;
        bool pageOneStart;
        int widthAfterOption5;
        bool bookletAfterOption5;
    };
    // Option 5 keeps the layout of the show before, which only a kept dialog remembers.
    const Case cases[] = {{"made for each showing", false, 710, true},
                          {"made once at a page-1 start", true, 540, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.pageOneStart) {
            CreateGroupDialogs();
        }
        const InvoiceLayout four = InvoiceShown(4, L"Booklet");
        EXPECT_EQ(four.caption, L"Booklet");
        EXPECT_EQ(four.width, 710);
        EXPECT_TRUE(four.booklet);
        EXPECT_EQ(four.readBytes, 13u);

        const InvoiceLayout three = InvoiceShown(3, L"Card");
        EXPECT_EQ(three.caption, L"Card");
        EXPECT_EQ(three.width, 540);
        EXPECT_FALSE(three.booklet);
        EXPECT_EQ(three.readBytes, 12u);

        const InvoiceLayout five = InvoiceShown(5, L"Other");
        EXPECT_EQ(five.width, c.widthAfterOption5);
        EXPECT_EQ(five.booklet, c.bookletAfterOption5);
    }
}

TEST_F(GroupDialogsTest, SubGroupDialogKeptOrMadeForEachShowing) {
    struct Case {
        const char* name;
        bool pageOneStart;
        std::vector<bool> panelsOfTheShorterGroup;
    };
    const Case cases[] = {
        {"made for each showing", false, {true, true, false, false, false}},
        {"made once at a page-1 start", true, {true, true, true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.pageOneStart) {
            CreateGroupDialogs();
        }
        EXPECT_EQ(SubGroupPanels(L"Plain", 1), (std::vector<bool>{true, true, true, true, true}));
        EXPECT_EQ(SubGroupPanels(L"Booklet", 64), c.panelsOfTheShorterGroup);
    }
}

TEST_F(GroupDialogsTest, SubGroupBeyondTheLastIsNotShown) {
    for (const bool pageOneStart : {false, true}) {
        SCOPED_TRACE(pageOneStart ? "page-1 start" : "made for the showing");
        if (pageOneStart) {
            CreateGroupDialogs();
        }
        EXPECT_THROW(HandOff().ShowSubGroup(L"Card", 65), platform::Exception);
        EXPECT_TRUE(forms().Loops().empty());
    }
}

TEST_F(GroupDialogsTest, APageOneStartMakesEachDialogOnce) {
    CreateGroupDialogs();
    TFormSetGroupItem* const subGroup = FormSetGroupItem;
    TfrmInvoiceType_SetGruop* const invoiceType = frmInvoiceType_SetGruop;
    ASSERT_NE(subGroup, nullptr);
    ASSERT_NE(invoiceType, nullptr);
    forms().WhenModal(L"TFormSetGroupItem", UserScript().Inspect([&](Form& f) { EXPECT_EQ(&f, subGroup); }).PressEsc());
    forms().WhenModal(L"TfrmInvoiceType_SetGruop",
                      UserScript().Inspect([&](Form& f) { EXPECT_EQ(&f, invoiceType); }).PressEsc());
    HandOff().ShowSubGroup(L"Booklet", 64);
    HandOff().ShowInvoiceType(4, L"Booklet");
    EXPECT_FALSE(subGroup->Visible()) << "closing only hides it";
    EXPECT_EQ(FormSetGroupItem, subGroup);
}

// Freeing a dialog clears the global that points at it, and only that one.
TEST_F(GroupDialogsTest, FreedDialogsLeaveNoGlobalBehind) {
    CreateGroupDialogs();
    TFormSetGroupItem* const subGroup = FormSetGroupItem;
    TfrmInvoiceType_SetGruop* const invoiceType = frmInvoiceType_SetGruop;
    MakeForm<TFormSetGroupItem>().reset();
    MakeForm<TfrmInvoiceType_SetGruop>().reset();
    EXPECT_EQ(FormSetGroupItem, subGroup);
    EXPECT_EQ(frmInvoiceType_SetGruop, invoiceType);

    application().DestroyForms();
    EXPECT_EQ(FormSetGroupItem, nullptr);
    EXPECT_EQ(frmInvoiceType_SetGruop, nullptr);
}

}  // namespace
