// The ink alignment, inquiry and drying dialogs on real windows, as the main window opens them for the sample
// ink model's maintenance items without a printer: each dialog's show reports the missing printer (a timer
// answers the box), is checked against its portable layout and handed over for a screenshot with a value in
// place; exits 0, or 1 when a check failed, each failure on its own line.
//
// Usage: ink_dialogs_shots <model settings file> <menu file> [--screenshot]
//   (with it: writes ink_<name>.ready in the working folder once a dialog shows, and waits for ink_<name>.shot
//    there; see take_shots.sh)
#include <cstdio>
#include <memory>
#include <string>

#include "GlobalString.h"
#include "Scheme.h"
#include "platform/forms/forms.h"
#include "uInkDry.h"
#include "uInkSet.h"
#include "uInquiry.h"
#include "wine_checks.h"

using namespace platform::forms;
using namespace wine_checks;

namespace {

// The maintenance item of that name, made the current item as the main window's button does.
bool UseMaintenanceItem(const std::wstring& name) {
    g_byPage = pgMaintenance;
    for (std::int32_t i = 0; i < g_SchemeOptions->GetItemLength(pgMaintenance); ++i) {
        if (g_SchemeOptions->GetItem(pgMaintenance, i).Name == name) {
            g_iItem = i;
            return true;
        }
    }
    return false;
}

// Shows the dialog while a timer answers the box that reports the missing printer; true when it came.
bool ShowAnsweringTheMissingPrinter(Form& dialog) {
    Timer answer(&dialog);
    answer.SetInterval(300);
    answer.OnTimer = [](Component& timer) {
        if (HWND box = ::FindWindowW(L"#32770", g_GlobalString.HintTitle.c_str())) {
            static_cast<Timer&>(timer).SetEnabled(false);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    };
    answer.SetEnabled(true);
    dialog.Show();
    Pump(300);
    return !answer.Enabled();
}

void CheckDialog(Checks& checks,
                 platform::win32::Win32Forms& backend,
                 Form& dialog,
                 const std::string& name,
                 int clientWidth,
                 int clientHeight,
                 bool onTop) {
    checks.Expect(
        dialog.ClientWidth() == clientWidth && dialog.ClientHeight() == clientHeight,
        name + ": client area " + std::to_string(dialog.ClientWidth()) + " x " + std::to_string(dialog.ClientHeight()));
    const TSettingItem item = g_SchemeOptions->GetItem(g_byPage, g_iItem);
    checks.Expect(dialog.Caption() == item.Title && !item.Title.empty(), name + ": captioned by the item");
    checks.Expect(((::GetWindowLongPtrW(Hwnd(backend, dialog), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) == onTop,
                  name + (onTop ? ": stays on top" : ": is not kept on top"));
    CheckGeometry(checks, backend, dialog);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: ink_dialogs_shots <model settings file> <menu file> [--screenshot]\n");
        return 2;
    }
    const std::wstring schemeFile = platform::Utf8ToWide(argv[1]);
    const std::wstring menuFile = platform::Utf8ToWide(argv[2]);
    const bool screenshot = argc > 3 && std::string(argv[3]) == "--screenshot";
    Checks checks;
    {
        platform::win32::Win32Platform platform;
        platform::win32::Win32Forms& backend = platform.forms();
        std::wstring error;
        checks.Expect(LoadGlobalStrings(L"RESSTRING", &error), "the localisation table loads: " + Narrow(error));
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(schemeFile);
        g_SchemeOptions->LoadPrinterMenu(menuFile);

        checks.Expect(UseMaintenanceItem(L"Ink_Adjust600"), "the sample has the alignment item");
        {
            auto dialog = MakeForm<TfrmInkSet>();
            checks.Expect(ShowAnsweringTheMissingPrinter(*dialog), "alignment: the missing printer is reported");
            // As a read of 250 (-6) shows it.
            dialog->trckbrAdjust->SetPosition(4);
            Pump(50);
            CheckDialog(checks, backend, *dialog, "alignment", 380, 251, true);
            checks.Expect(!dialog->chkQuality->Visible() && dialog->chkNormal->Checked(),
                          "alignment: 600 dpi chosen, 1200 dpi hidden");
            if (screenshot) {
                checks.Expect(HandOverForScreenshot(L"ink_alignment"), "alignment: the screenshot is taken in 30 s");
            }
            dialog->Close();
            Pump(50);
        }

        checks.Expect(UseMaintenanceItem(L"Ink_Inquiry"), "the sample has the inquiry item");
        {
            auto dialog = MakeForm<TInquiry>();
            checks.Expect(ShowAnsweringTheMissingPrinter(*dialog), "inquiry: the missing printer is reported");
            // As a page read of 10000 and an ink read of 55 % show them.
            dialog->lblPage->BringToFront();
            dialog->lblPage->SetCaption(L"10000");
            dialog->btnInk->SetGlyph(Bitmap::FromResource(L"Ink_half"));
            Pump(50);
            CheckDialog(checks, backend, *dialog, "inquiry", 420, 235, true);
            if (screenshot) {
                checks.Expect(HandOverForScreenshot(L"ink_inquiry"), "inquiry: the screenshot is taken in 30 s");
            }
            dialog->Close();
            Pump(50);
        }

        checks.Expect(UseMaintenanceItem(L"Ink_Dry"), "the sample has the drying item");
        {
            auto dialog = MakeForm<TInkDry>();
            checks.Expect(ShowAnsweringTheMissingPrinter(*dialog), "drying: the missing printer is reported");
            dialog->trckbrTime->SetPosition(2);
            Pump(50);
            CheckDialog(checks, backend, *dialog, "drying", 259, 197, false);
            checks.Expect(dialog->Left() == 583 && dialog->Top() == 266, "drying: at its layout's place");
            if (screenshot) {
                checks.Expect(HandOverForScreenshot(L"ink_drying"), "drying: the screenshot is taken in 30 s");
            }
            dialog->Close();
            Pump(50);
        }
        g_SchemeOptions.reset();
    }
    std::printf("ink_dialogs_shots: %d checks, %d failed\n", checks.Count(), checks.Failed());
    return checks.Failed() == 0 ? 0 : 1;
}
