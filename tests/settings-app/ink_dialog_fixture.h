#pragma once
// The tests of the ink alignment, inquiry and drying dialogs: one ink item, both the maintenance page's first
// item (where the dialogs open from, with its explanation) and the base page's first (port mode works on the
// base page), against the virtual printer behind "Varintex WQ-472" (USB001). Each dialog is shown modally as
// the main window opens it.

#include <string>
#include <utility>

#include "dialog_fixture.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "uInkDry.h"
#include "uInkSet.h"
#include "uInquiry.h"

class InkDialogTest : public DialogTest {
protected:
    static constexpr wchar_t kAlignmentSet[] = L"1B 1D 1E 11 02 01";
    static constexpr wchar_t kAlignmentRule[] = L"Min=-10\\rMax=10\\rStep=1\\rDisplayAdd=0\\rmmMultiply=0\\rTitle=";
    static constexpr wchar_t kPortFile[] = L"C:\\ports\\LPT1.prn";

    void SetUp() override {
        DialogTest::SetUp();
        for (const auto& [name, field] : kInkTextFields) {
            g_GlobalString.*field = name;
        }
    }

    // The ink item of that name; keys adds to (and, coming first, wins over) its own.
    void UseInkItem(const std::wstring& name, const std::wstring& keys = L"", const std::wstring& globalKeys = L"") {
        const std::wstring item = keys + L"Name=" + name +
                                  L"\nIcon=Ink_Adjust\nTitle.EN=Ink title\nNote.EN=Ink note\n"
                                  L"Explain.EN=Ink explanation\nSetInstruction=" +
                                  kAlignmentSet + L"\nParameterCount=1\nRuleType=SERIAL\nRule.EN=" + kAlignmentRule +
                                  L"\nDefault=2\n";
        LoadModel(globalKeys, L"[BaseSection]\nItemCount=1\n[BaseItem01]\n" + item +
                                  L"[MaintenanceSection]\nItemCount=1\n[MaintenanceItem01]\n" + item);
        g_byPage = pgMaintenance;
        g_iItem = 0;
    }

    template <class T>
    platform::forms::FormPtr<T> RunModal(platform::sim::UserScript script) {
        auto dialog = platform::forms::MakeForm<T>();
        sim.forms().WhenModal(dialog->ClassName(), std::move(script));
        dialog->ShowModal();
        return dialog;
    }

    // Port mode: no printer name, the base page, the port file chosen in the port list.
    void UsePortMode() {
        g_strPrinterName.clear();
        g_byPage = pgBase;
        g_strLocalPortFile = kPortFile;
        ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ports"));
    }

    static inline const std::pair<const wchar_t*, std::wstring TGlobalString::*> kInkTextFields[] = {
        {L"DraftPrint", &TGlobalString::DraftPrint},
        {L"NormalPrint", &TGlobalString::NormalPrint},
        {L"Adjust", &TGlobalString::Adjust},
        {L"WaitingForPrinterWork", &TGlobalString::WaitingForPrinterWork},
        {L"InkFinish", &TGlobalString::InkFinish},
        {L"ReadTimeout", &TGlobalString::ReadTimeout},
        {L"Page", &TGlobalString::Page},
        {L"PageInfo", &TGlobalString::PageInfo},
        {L"InkInfo", &TGlobalString::InkInfo},
    };
};
