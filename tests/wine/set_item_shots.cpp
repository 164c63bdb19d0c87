// The item dialog on real windows, as the settings program shows it for the sample model without a printer:
// a single-select list of four options and a multi-select list, each checked against its portable layout and
// handed over for a screenshot; exits 0, or 1 when a check failed, each failure on its own line.
//
// Usage: set_item_shots <model settings file> [--screenshot]
//   (with it: writes set_item_<name>.ready in the working folder once a dialog shows, and waits for
//    set_item_<name>.shot there; see take_shots.sh)
#include <cstdio>
#include <memory>
#include <string>

#include "GlobalString.h"
#include "Scheme.h"
#include "platform/forms/forms.h"
#include "uSetItem.h"
#include "wine_checks.h"

using namespace platform::forms;
using namespace wine_checks;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: set_item_shots <model settings file> [--screenshot]\n");
        return 2;
    }
    const std::wstring schemeFile = platform::Utf8ToWide(argv[1]);
    const bool screenshot = argc > 2 && std::string(argv[2]) == "--screenshot";
    Checks checks;
    {
        platform::win32::Win32Platform platform;
        platform::win32::Win32Forms& backend = platform.forms();
        std::wstring error;
        checks.Expect(LoadGlobalStrings(L"RESSTRING", &error), "the localisation table loads: " + Narrow(error));

        // As a start with page code 1 sets up the model, without a printer to read from.
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(schemeFile);
        g_SchemeOptions->LoadPrinterMenu(schemeFile);
        g_byStartPage = pgSingleItem;
        g_byPage = pgSingleItem;

        struct Shot {
            const wchar_t* name;
            std::int32_t item;
            int height;
            bool multiSelect;
        };
        const Shot shots[] = {
            {L"set_item_list", 0, 260, false},
            {L"set_item_multiselect", 9, 320, true},
        };
        for (const Shot& shot : shots) {
            const std::string name = Narrow(shot.name);
            g_iItem = shot.item;
            const TSettingItem item = g_SchemeOptions->GetItem(g_byPage, g_iItem);
            checks.Expect(!item.RuleValues.RuleTitle.empty(), name + ": the sample item has options");
            auto dialog = MakeForm<TfrmSetItem>();
            dialog->Show();
            Pump(300);
            checks.Expect(dialog->m_iShowMode == 1 && dialog->lst2->MultiSelect() == shot.multiSelect,
                          name + ": shown as a list");
            checks.Expect(dialog->Height() == shot.height, name + ": height " + std::to_string(dialog->Height()));
            checks.Expect(dialog->lst2->Items() == item.RuleValues.RuleTitle, name + ": the item's options");
            checks.Expect(dialog->Caption() == item.Title && !item.Title.empty(), name + ": captioned by the item");
            CheckGeometry(checks, backend, *dialog);
            const LONG_PTR style = ::GetWindowLongPtrW(Hwnd(backend, *dialog->lst2), GWL_STYLE);
            checks.Expect(((style & LBS_EXTENDEDSEL) != 0) == shot.multiSelect,
                          name + ": the native list's selection mode");
            checks.Expect((::GetWindowLongPtrW(Hwnd(backend, *dialog), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
                          name + ": the dialog stays on top");
            if (shot.multiSelect) {
                // The first and third options, as a read of the mask A0 00 00 shows them.
                dialog->ShowItemValue(0xA00000);
                Pump(50);
                const HWND list = Hwnd(backend, *dialog->lst2);
                checks.Expect(::SendMessageW(list, LB_GETSELCOUNT, 0, 0) == 2 &&
                                  ::SendMessageW(list, LB_GETSEL, 0, 0) > 0 &&
                                  ::SendMessageW(list, LB_GETSEL, 2, 0) > 0,
                              name + ": the native list shows the chosen options");
            }
            if (screenshot) {
                checks.Expect(HandOverForScreenshot(shot.name), name + ": the screenshot is taken within 30 s");
            }
            dialog->Close();
            Pump(50);
        }
    }
    std::printf("set_item_shots: %d checks, %d failed\n", checks.Count(), checks.Failed());
    return checks.Failed() == 0 ? 0 : 1;
}
