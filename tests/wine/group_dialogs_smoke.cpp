// The sub-group and invoice-type dialogs on real windows: each shown with the program's own texts (loaded from
// its localisation table as at start-up) and a model whose sub-group has five items, checked against the
// portable layout and handed over for a screenshot of its own; exits 0, or 1 when a check failed, each
// failure on its own line. No printer is installed: the sub-group dialog reads nothing, and the invoice-type
// dialog's read reports the missing printer, which a timer answers.
//
// Usage: group_dialogs_smoke [--screenshot]   (with it: for each dialog writes <name>.ready in the working
//                                              folder once it shows and waits for <name>.shot there; see
//                                              take_shots.sh)
#include <cstdio>
#include <memory>
#include <string>

#include "FormInvoiceType_SetGroup.h"
#include "GlobalString.h"
#include "Scheme.h"
#include "platform/forms/forms.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "uSetGroupItem.h"
#include "wine_checks.h"

using namespace platform::forms;
using namespace wine_checks;

namespace {

TSettingItem Item(const std::wstring& title, std::vector<std::int32_t> values, std::vector<std::wstring> titles) {
    TSettingItem item;
    item.Title = title;
    item.nParameterByte = 1;
    item.RuleValues = {std::move(values), std::move(titles)};
    return item;
}

void FillModel() {
    g_SchemeOptions = std::make_unique<TSchemeOptions2>();
    ArrSettingItems& items = g_SchemeOptions->m_CustomItems;
    items.push_back(Item(L"Paper kind", {0, 1, 2}, {L"Continuous", L"Cut sheet", L"Booklet"}));
    items.back().Note = L"The settings of forms of the kind \"%s\", written to the printer together.";
    items.push_back(Item(L"Line spacing", {0, 1}, {L"1/6 inch", L"1/8 inch"}));
    items.push_back(Item(L"Print speed", {0, 1, 2}, {L"Normal", L"High", L"Quiet"}));
    items.push_back(Item(L"Tear-off", {0, 1}, {L"Off", L"On"}));
    items.push_back(Item(L"Copy mode", {0, 1}, {L"Single", L"Multiple"}));
}

}  // namespace

int main(int argc, char** argv) {
    const bool screenshot = argc > 1 && std::string(argv[1]) == "--screenshot";
    Checks checks;
    {
        platform::win32::Win32Platform platform;
        platform::win32::Win32Forms& backend = platform.forms();
        std::wstring error;
        checks.Expect(LoadGlobalStrings(L"RESSTRING", &error), "the localisation table loads: " + Narrow(error));
        FillModel();

        auto subGroup = MakeForm<TFormSetGroupItem>();
        subGroup->SetParameters(L"Booklet", 1);
        subGroup->Show();
        Pump(300);
        checks.Expect(subGroup->Width() == 699 && subGroup->Height() == 468, "five items open 699 x 468");
        checks.Expect(subGroup->lblInfo->Caption().find(L"\"Booklet\"") != std::wstring::npos, "the note names the option");
        CheckGeometry(checks, backend, *subGroup);
        if (screenshot) {
            checks.Expect(HandOverForScreenshot(L"group_dialogs_subgroup"), "the sub-group screenshot is taken in 30 s");
        }
        subGroup->Hide();

        auto invoiceType = MakeForm<TfrmInvoiceType_SetGruop>();
        Timer answer(invoiceType.get());
        answer.SetInterval(300);
        answer.OnTimer = [](Component& timer) {
            if (HWND box = ::FindWindowW(L"#32770", g_GlobalString.HintTitle.c_str())) {
                static_cast<Timer&>(timer).SetEnabled(false);
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        };
        answer.SetEnabled(true);
        LayOutInvoiceType(*invoiceType, 4);
        invoiceType->SetCaption(L"Booklet");
        invoiceType->Show();
        Pump(300);
        checks.Expect(!answer.Enabled(), "the missing printer is reported when the dialog reads");
        checks.Expect(invoiceType->lst1->Items().size() == 90, "the top-of-form list has 90 entries");
        CheckGeometry(checks, backend, *invoiceType);
        if (screenshot) {
            checks.Expect(HandOverForScreenshot(L"group_dialogs_invoice"), "the invoice-type screenshot is taken in 30 s");
        }
        invoiceType->Hide();
        g_SchemeOptions.reset();
    }
    std::printf("group_dialogs_smoke: %d checks, %d failed\n", checks.Count(), checks.Failed());
    return checks.Failed() == 0 ? 0 : 1;
}
