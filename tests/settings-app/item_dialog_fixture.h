#pragma once
// The item dialog's tests: the dialog shown modally as the main window opens it, or run by a start-up
// stand-in as the main form of a start with page code 1, as start-up will; a recorder in place of the group
// dialogs' hand-off.

#include <string>
#include <utility>
#include <vector>

#include "GroupHandOff.h"
#include "dialog_fixture.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "uSetItem.h"

// Records the hand-offs the item dialog asks for.
class RecordedHandOff : public TGroupHandOff {
public:
    void ShowSubGroup(const std::wstring& strCaption, std::int32_t iSubGroup) override {
        calls.push_back(L"sub-group " + std::to_wstring(iSubGroup) + L" " + strCaption);
    }
    void ShowInvoiceType(std::int32_t iOption, const std::wstring& strCaption) override {
        calls.push_back(L"invoice type " + std::to_wstring(iOption) + L" " + strCaption);
    }
    std::vector<std::wstring> calls;
};

class ItemDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        SetGroupHandOff(&handOff);
    }
    void TearDown() override { SetGroupHandOff(nullptr); }

    // The dialog shown modally, as the main window opens it, with the scripted user's steps.
    platform::forms::FormPtr<TfrmSetItem> RunModal(platform::sim::UserScript script) {
        auto dialog = platform::forms::MakeForm<TfrmSetItem>();
        sim.forms().WhenModal(L"TfrmSetItem", std::move(script));
        dialog->ShowModal();
        return dialog;
    }

    // The start-up stand-in: a start with page code 1 for item iItem, the dialog as the main form until it
    // closes (the start-up of the program takes its place).
    void RunSingleItemStart(std::int32_t iItem, platform::sim::UserScript script) {
        g_byStartPage = pgSingleItem;
        g_byPage = pgSingleItem;
        g_iItem = iItem;
        auto& app = platform::forms::application();
        app.CreateForm<TfrmSetItem>();
        sim.forms().WhenModal(L"TfrmSetItem", std::move(script));
        app.Run();
        app.DestroyForms();
    }

    RecordedHandOff handOff;
};
