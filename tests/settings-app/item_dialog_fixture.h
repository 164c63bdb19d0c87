#pragma once
// The item dialog's tests: the dialog shown modally as the main window opens it, and a recorder in place of the
// group dialogs' hand-off. A whole start with page code 1, the dialog as the main form, runs the program's entry
// (tests/e2e).

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

    RecordedHandOff handOff;
};
