// The main window on real windows, as the settings program shows it without a printer: the base page of the
// impact sample in port mode (its default scheme named by the options file beside the program) and the
// maintenance page of the ink sample with the warning and the generic item's dialog over it, each checked
// against its portable layout and handed over for a screenshot; exits 0, or 1 when a check failed, each failure on its
// own line. The stand-in port library beside the program lists one USB printer.
//
// Usage: main_window_shots <impact model settings file> <ink model settings file> <ink menu file> [--screenshot]
//   (with it: writes main_window_<page>.ready in the working folder once a page shows, and waits for
//    main_window_<page>.shot there; see take_shots.sh)
#include <cstdio>
#include <memory>
#include <string>

#include "GlobalString.h"
#include "Options.h"
#include "Scheme.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "uMain2.h"
#include "uWarning.h"
#include "wine_checks.h"

using namespace platform::forms;
using namespace wine_checks;

namespace {

bool Intersect(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Rectangles of the page's visible controls in grp1's client coordinates, the mode button's group as one.
void CheckNoOverlap(Checks& checks, const std::string& page, TfrmMainView2& window) {
    std::vector<Control*> shown;
    for (Control* control : window.grp1->Controls()) {
        if (control->Visible()) {
            shown.push_back(control);
        }
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const Rect a = shown[i]->BoundsRect();
        checks.Expect(a.right <= window.grp1->ClientWidth() && a.bottom <= window.grp1->ClientHeight(),
                      page + ": " + Narrow(shown[i]->Name()) + " inside the page " + Describe(a));
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            // A value label is a fixed box below its title; only its text's lines matter, which wrap inside it.
            checks.Expect(!Intersect(a, shown[j]->BoundsRect()),
                          page + ": " + Narrow(shown[i]->Name()) + " " + Describe(a) + " overlaps " +
                              Narrow(shown[j]->Name()) + " " + Describe(shown[j]->BoundsRect()));
        }
    }
}

// Every slot shows its own icon once the program carries its icons (the settings icon among them); before,
// the buttons are plain and the page is still laid out at the standard icon size.
void CheckIcons(Checks& checks, const std::string& page, TfrmMainView2& window) {
    const bool iconsBuiltIn = platform::resources().Find(L"100_SETTINGS", platform::ResourceType::Bitmap).has_value();
    const std::int32_t count = g_SchemeOptions->GetItemLength(g_byPage);
    int shown = 0;
    for (std::int32_t i = 0; i < count && i < TfrmMainView2::kSlotCount; ++i) {
        auto* button = window.Find<BitBtn>(platform::Format(L"btn%.2d", {static_cast<std::int64_t>(i + 1)}));
        const std::wstring icon = g_SchemeOptions->GetItem(g_byPage, i).Icon;
        if (platform::SameText(button->Glyph().Name(), icon)) {
            ++shown;
        } else if (iconsBuiltIn) {
            checks.Expect(false, page + ": slot " + std::to_string(i + 1) + " shows its icon " + Narrow(icon));
        }
    }
    std::printf("%s: %d of %d slots show their own icon%s\n", page.c_str(), shown, count,
                iconsBuiltIn ? "" : " (the program carries no icons yet)");
}

// A word-wrapped label's text, measured natively in its font, fits the label's box.
bool FitsItsBox(platform::win32::Win32Forms& backend, Label& label) {
    const Size needed = backend.MeasureText(label.Caption(), label.Font(), label.Width());
    return needed.cx <= label.Width() && needed.cy <= label.Height();
}

void CheckPage(Checks& checks,
               platform::win32::Win32Forms& backend,
               const std::string& page,
               TfrmMainView2& window,
               int slots,
               bool screenshot) {
    Pump(300);
    checks.Expect(window.Visible(), page + ": the window shows");
    checks.Expect(g_SchemeOptions->GetItemLength(g_byPage) == slots,
                  page + ": " + std::to_string(g_SchemeOptions->GetItemLength(g_byPage)) + " items");
    for (int n = 1; n <= TfrmMainView2::kSlotCount; ++n) {
        auto* button = window.Find<BitBtn>(platform::Format(L"btn%.2d", {static_cast<std::int64_t>(n)}));
        checks.Expect(button->Visible() == (n <= slots), page + ": slot " + std::to_string(n) + " shown or hidden");
    }
    CheckGeometry(checks, backend, window);
    CheckNoOverlap(checks, page, window);
    CheckIcons(checks, page, window);
    checks.Expect((::GetWindowLongPtrW(Hwnd(backend, window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
                  page + ": the window stays on top");
    if (screenshot) {
        checks.Expect(HandOverForScreenshot(platform::Utf8ToWide("main_window_" + page)),
                      page + ": the screenshot is taken within 30 s");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: main_window_shots <impact scheme> <ink scheme> <ink menu> [--screenshot]\n");
        return 2;
    }
    const std::wstring impactScheme = platform::Utf8ToWide(argv[1]);
    const std::wstring inkScheme = platform::Utf8ToWide(argv[2]);
    const std::wstring inkMenu = platform::Utf8ToWide(argv[3]);
    const bool screenshot = argc > 4 && std::string(argv[4]) == "--screenshot";
    Checks checks;
    {
        platform::win32::Win32Platform platform;
        platform::win32::Win32Forms& backend = platform.forms();
        std::wstring error;
        checks.Expect(LoadGlobalStrings(L"RESSTRING", &error), "the localisation table loads: " + Narrow(error));

        // Port mode, as a start without arguments: the options file beside the program names the default
        // scheme there.
        const std::wstring program = platform::files().ProgramPath();
        const std::wstring folder = program.substr(0, program.rfind(L'\\') + 1);
        const std::optional<platform::Bytes> impact = platform::files().ReadWholeFile(impactScheme);
        checks.Expect(impact && platform::files().WriteWholeFile(folder + L"WQ-472_Settings.Dat", *impact),
                      "the impact sample goes beside the program");
        const platform::IniFile options(OptionsFileOfProgram(program));
        options.WriteString(L"Settings", L"LocalPorts", L"LPT1  COM1  _USB");
        options.WriteString(L"Settings", L"DefaultScheme", L"WQ-472_Settings.Dat");
        g_byStartPage = pgBase;
        g_byPage = pgBase;
        {
            auto window = MakeForm<TfrmMainView2>();
            window->Show();
            CheckPage(checks, backend, "base", *window, 12, screenshot);
            checks.Expect(window->cbbPrinterPort->Items() == std::vector<std::wstring>{L"LPT1", L"COM1", L"USB001"},
                          "base: the local ports and the stand-in's USB port");
            checks.Expect(g_strLocalPortFile == L"LPT1", "base: LPT1 chosen first");
            window->Hide();
        }

        // A start on the maintenance page of the ink printer (its menu fetched before).
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(inkScheme);
        g_SchemeOptions->LoadPrinterMenu(inkMenu);
        g_byStartPage = pgMaintenance;
        g_byPage = pgMaintenance;
        {
            auto window = MakeForm<TfrmMainView2>();
            window->Show();
            CheckPage(checks, backend, "maintenance", *window, 10, screenshot);
            checks.Expect(window->lblMode->Caption() == g_SchemeOptions->GetIndexItem(pgAdvance).Title,
                          "maintenance: the mode button leads to the advance page");

            // The main window's two small dialogs over it: the warning before the advance page, and the
            // generic item's dialog for the page's first item.
            auto warning = MakeForm<TfrmWarning>();
            warning->Show();
            Pump(300);
            CheckGeometry(checks, backend, *warning);
            checks.Expect(warning->grp2->Visible() && !warning->lblTitle2->Caption().empty(),
                          "warning: the blue line shows");
            checks.Expect(FitsItsBox(backend, *warning->lblTitle), "warning: the note fits its box");
            if (screenshot) {
                checks.Expect(HandOverForScreenshot(L"main_window_warning"), "warning: the screenshot is taken");
            }
            warning->Hide();
            g_iItem = 0;
            auto normalSet = MakeForm<TNormalSet>();
            normalSet->Show();
            Pump(300);
            CheckGeometry(checks, backend, *normalSet);
            checks.Expect(FitsItsBox(backend, *normalSet->lblInfo), "generic item: the note fits its box");
            checks.Expect(FitsItsBox(backend, *normalSet->lblReturnInfo), "generic item: the explanation fits its box");
            if (screenshot) {
                checks.Expect(HandOverForScreenshot(L"main_window_normal_set"),
                              "generic item: the screenshot is taken");
            }
            normalSet->Hide();
            window->Hide();
        }
        g_SchemeOptions.reset();
    }
    std::printf("main_window_shots: %d checks, %d failed\n", checks.Count(), checks.Failed());
    return checks.Failed() == 0 ? 0 : 1;
}
