// A stand-in for the printer driver's configuration module under Wine: it loads Tavrel.dll beside it, records
// the printer for its thread through the printer properties call, and shows the plug-in's device page in a
// real property sheet made by the system's common property sheet UI, whose callback forwards to the plug-in's
// DevicePropertySheets. The settings program the page starts is the one in subfolder 3 of the printer-driver
// folder (MenuDisplayExe of the model settings file), against the stand-in port library's printer.
//
// Usage: tavrel_sheet <menu file> [--screenshot | --interactive]
//   A Windows path to the menu the printer serves; the stand-in's variables (QVP_RW_STATE, QVP_RW_LOG, ...) are
//   set by the caller. The printer is seeded with that menu first.
//   --interactive: the sheet waits for a person, who closes it.
//   otherwise a user from outside plays the page: fetch (the program runs for 102 and 101), the page's icons,
//   titles, values, tool tips and model name checked against the menu and the values file; group 2 (the paper
//   type) starts the program for its item, "Labels" is set, the page shows the new value; a second fetch leaves
//   one tool tip per slot; the sheet is closed with OK, and the values and printer state files are gone while the
//   menu file stays. With --screenshot the program writes
//   <shot>.ready at tavrel_sheet_page, tavrel_sheet_item and tavrel_sheet_changed and waits for <shot>.shot.
// Exits 0, or 1 when a check failed, each failure on its own line.

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "driver_kit.h"

namespace host {
namespace dk = driverkit;
// Taken before the system headers, which define these names as macros.
constexpr dk::HRESULT kOk = dk::S_OK;
constexpr dk::DWORD kPrinterProperties = dk::OEMCUIP_PRNPROP;
constexpr dk::WORD kReasonInit = dk::PROPSHEETUI_REASON_INIT;
constexpr dk::WORD kReasonInfoHeader = dk::PROPSHEETUI_REASON_GET_INFO_HEADER;
using GetClassObject = dk::HRESULT (*)(const dk::CLSID&, const dk::IID&, void**);
using CanUnloadNow = dk::HRESULT (*)();
using SheetCallback = dk::LONG (*)(dk::PROPSHEETUI_INFO* info, dk::LPARAM lParam);
using CommonPropertySheetUI = dk::LONG (*)(dk::HWND owner, SheetCallback callback, dk::LPARAM lParam,
                                           dk::DWORD* result);
}  // namespace host

#include "GlobalString.h"
#include "platform/text.h"
#include "road_checks.h"

using namespace road_checks;
using namespace wine_checks;

namespace {

// The page's controls, as its dialog resource numbers them.
constexpr int kFetch = 1074;
constexpr int kModelName = 1076;
constexpr int kMaintenanceFrame = 1075;
constexpr int kAdvanceButton = 1034;
constexpr int kFirstButton = 1035;  // group 1; groups 2 to 12 follow, then the maintenance button 1047
constexpr int kFirstTitle = 1049;
constexpr int kFirstValue = 1062;
constexpr int kSlots = 13;
// Group 2 shows base item 1 of the sample ink model: the paper type, option 3 "Labels".
constexpr int kGroup = 2;
constexpr int kOption = 3;

constexpr driverkit::UINT kAddSheetCallback = 5;   // CPSFUNC_ADD_PFNPROPSHEETUIW
constexpr driverkit::WORD kPropertiesTitle = 0x0004;  // PSUIHDRF_PROPTITLE: "<title> Properties"

driverkit::IPrintOemUI* g_ui = nullptr;
HMODULE g_module = nullptr;  // Tavrel.dll, whose bitmaps the page shows
wchar_t g_printerName[64] = {};

// The plug-in's part of the sheet: every reason goes to it, as the driver hands its device sheets on.
driverkit::LONG ForwardToPlugin(driverkit::PROPSHEETUI_INFO* info, driverkit::LPARAM lParam) {
    return g_ui->DevicePropertySheets(info, lParam) == host::kOk ? 1 : -1;
}

// The driver's sheet: the printer's name in the title, the plug-in's part added as a sheet of its own.
driverkit::LONG DriverSheet(driverkit::PROPSHEETUI_INFO* info, driverkit::LPARAM lParam) {
    if (info->Reason == host::kReasonInit) {
        info->Result = static_cast<driverkit::ULONG_PTR>(info->pfnComPropSheet(
            info->hComPropSheet, kAddSheetCallback, reinterpret_cast<driverkit::LPARAM>(&ForwardToPlugin), 0));
        return info->Result > 0 ? 1 : -1;
    }
    if (info->Reason == host::kReasonInfoHeader) {
        auto* header = reinterpret_cast<driverkit::PROPSHEETUI_INFO_HEADER*>(lParam);
        header->Flags = kPropertiesTitle;
        header->pTitle = g_printerName;
    }
    return 1;
}

std::wstring MenuText(const std::wstring& menuFile, int n, const std::wstring& key) {
    wchar_t text[600] = {};
    const std::wstring section = platform::Format(L"BaseItem%.2d", {std::int64_t{n}});
    ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", text, 600, menuFile.c_str());
    return text;
}

// The device page among the sheet's children.
HWND PageOf(HWND sheet) {
    return FirstWindow(sheet, [](HWND hwnd) { return ::GetDlgItem(hwnd, kFetch) != nullptr; });
}

// The visible sheet of that thread that holds the device page.
HWND SheetOf(DWORD thread) {
    return FirstWindow(nullptr, [&](HWND hwnd) {
        return ::GetWindowThreadProcessId(hwnd, nullptr) == thread && ::IsWindowVisible(hwnd) && PageOf(hwnd);
    });
}

bool Visible(HWND page, int id) {
    return ::IsWindowVisible(::GetDlgItem(page, id)) != FALSE;
}

void HandOver(Checks& checks, bool screenshot, const std::wstring& shot) {
    if (screenshot) {
        HandOverShot(checks, shot);
    }
}

// A bitmap's pixels as 32-bit rows, for comparing two bitmaps whatever their formats.
std::vector<std::uint8_t> PixelsOf(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) {
        return {};
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight * 4);
    const HDC dc = ::GetDC(nullptr);
    const int rows = ::GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    return rows == info.bmHeight ? pixels : std::vector<std::uint8_t>{};
}

// The button shows the module's bitmap of that name.
bool ShowsBitmap(HWND button, const std::wstring& name) {
    const auto shown = reinterpret_cast<HBITMAP>(::SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
    const auto expected =
        static_cast<HBITMAP>(::LoadImageW(g_module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    const std::vector<std::uint8_t> want = PixelsOf(expected);
    if (expected) {
        ::DeleteObject(expected);
    }
    return !want.empty() && PixelsOf(shown) == want;
}

// The sheet's tool tips, and whether each has its one tool and the page's maximum width.
struct ToolTips {
    int count = 0;
    bool allAsAsked = true;
};

ToolTips ToolTipsOf(HWND sheet) {
    ToolTips tips;
    FirstWindow(nullptr, [&](HWND hwnd) {
        if (::lstrcmpiW(ClassOf(hwnd).c_str(), TOOLTIPS_CLASSW) == 0 &&
            ::GetAncestor(::GetWindow(hwnd, GW_OWNER), GA_ROOT) == sheet) {
            ++tips.count;
            tips.allAsAsked = tips.allAsAsked && ::SendMessageW(hwnd, TTM_GETTOOLCOUNT, 0, 0) == 1 &&
                              ::SendMessageW(hwnd, TTM_GETMAXTIPWIDTH, 0, 0) == 300;
        }
        return false;  // every one
    });
    return tips;
}

// The page's slots after a fetch, against the menu and the values file; the number of slots shown.
int CheckFilledPage(Checks& checks, HWND sheet, HWND page, const std::wstring& menuFile) {
    // The harness's prefix runs with the system language 1033, whose menu keys the page reads; the other
    // languages' choice is the sim's to check.
    const std::wstring suffix = L".EN";
    checks.Expect(::GetSystemDefaultLangID() == 1033, "the system language is 1033");
    int shown = 0;
    for (int slot = 1; slot <= kSlots; ++slot) {
        const int n = slot == kSlots ? 99 : slot;
        const HWND button = ::GetDlgItem(page, kFirstButton + slot - 1);
        const std::wstring icon = MenuText(menuFile, n, L"Icon");
        const bool present = !icon.empty();
        const std::string what = "slot " + std::to_string(slot);
        checks.Expect(Visible(page, kFirstButton + slot - 1) == present, what + " shown as its menu entry says");
        if (!present) {
            continue;
        }
        ++shown;
        checks.Expect(ShowsBitmap(button, icon), what + " shows its icon " + Narrow(icon));
        const std::wstring title = TextOf(::GetDlgItem(page, kFirstTitle + slot - 1));
        checks.Expect(title == MenuText(menuFile, n, L"Title" + suffix) + std::wstring(21, L' '),
                      what + " shows its menu title: " + Narrow(title));
        if (slot < kSlots) {
            const std::wstring value = TextOf(::GetDlgItem(page, kFirstValue + slot - 1));
            checks.Expect(!value.empty() && value == ValueOf(slot - 1),
                          what + " shows the values file's value: " + Narrow(value));
        }
    }
    checks.Expect(shown > 1, "the sample menu fills several slots");
    checks.Expect(!Visible(page, kAdvanceButton) && !Visible(page, kMaintenanceFrame),
                  "the advanced button and the maintenance frame stay hidden");
    const ToolTips tips = ToolTipsOf(sheet);
    checks.Expect(tips.count == shown && tips.allAsAsked,
                  "one tool tip of 300 pixels per shown slot: " + std::to_string(tips.count));
    wchar_t state[260] = {};
    ::GetPrivateProfileStringW(L"PrinterInfo", L"PrinterName", L"", state, 260, (ValuesFile() + L".ini").c_str());
    checks.Expect(!std::wstring(state).empty() && TextOf(::GetDlgItem(page, kModelName)) == state,
                  "the page shows the printer's model name: " + Narrow(TextOf(::GetDlgItem(page, kModelName))));
    return shown;
}

// Fetch: the program fetches the menu, then writes the values, while the sheet hides; then the page fills.
bool Fetch(Checks& checks, HWND sheet, HWND page) {
    for (int k = 0; k < 12; ++k) {
        ::SetWindowTextW(::GetDlgItem(page, kFirstValue + k), L"");
    }
    ::PostMessageW(::GetDlgItem(page, kFetch), BM_CLICK, 0, 0);
    const bool filled = WaitFor(
        [&] {
            return ::IsWindowVisible(sheet) && Visible(page, kFirstButton) &&
                   !TextOf(::GetDlgItem(page, kFirstValue)).empty();
        },
        180);
    checks.Expect(filled, "after the fetch the sheet is back with the groups and their values");
    return filled;
}

// The user at the page, on a thread of its own: the sheet's thread blocks while the program runs.
void PlayPage(Checks& checks, HWND sheet, const std::wstring& menuFile, bool screenshot) {
    const HWND page = PageOf(sheet);
    bool slotShown = false;
    for (int slot = 1; slot <= kSlots; ++slot) {
        slotShown = slotShown || Visible(page, kFirstButton + slot - 1) || Visible(page, kFirstTitle + slot - 1);
    }
    checks.Expect(Visible(page, kFetch) && Visible(page, kModelName) && !slotShown,
                  "a new page shows only the fetch button, the hint and the frame");
    wchar_t tabText[64] = {};
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = tabText;
    tab.cchTextMax = 64;
    const HWND tabs = ::FindWindowExW(sheet, nullptr, WC_TABCONTROLW, nullptr);
    checks.Expect(tabs && ::SendMessageW(tabs, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tab)) &&
                      std::wstring(tabText) == TextOf(page),
                  "the sheet's tab carries the page's caption: " + Narrow(tabText));

    if (!Fetch(checks, sheet, page)) {
        return;
    }
    CheckFilledPage(checks, sheet, page, menuFile);
    HandOver(checks, screenshot, L"tavrel_sheet_page");

    // A group button: the program for that base item, the sheet hidden meanwhile; the user sets an option; the
    // page shows it.
    const std::wstring before = TextOf(::GetDlgItem(page, kFirstValue + kGroup - 1));
    ::PostMessageW(::GetDlgItem(page, kFirstButton + kGroup - 1), BM_CLICK, 0, 0);
    checks.Expect(WaitFor([] { return ::FindWindowW(L"TfrmSetItem", nullptr); }) && !::IsWindowVisible(sheet),
                  "the sheet hides while the settings program runs");
    SetListOption(checks, kOption, screenshot ? L"tavrel_sheet_item" : L"");
    const bool back = WaitFor([&] {
        return ::IsWindowVisible(sheet) && !::FindWindowW(L"TfrmSetItem", nullptr) &&
               TextOf(::GetDlgItem(page, kFirstValue + kGroup - 1)) != before;
    });
    const std::wstring after = TextOf(::GetDlgItem(page, kFirstValue + kGroup - 1));
    checks.Expect(back && after == ValueOf(kGroup - 1), "the page shows the group's new value: " + Narrow(after));
    HandOver(checks, screenshot, L"tavrel_sheet_changed");

    // A second fetch replaces each slot's icon and tool tip rather than adding to them.
    if (Fetch(checks, sheet, page)) {
        CheckFilledPage(checks, sheet, page, menuFile);
    }
}

// The user closes the sheet with OK once done, however the page went.
void PlaySheet(Checks& checks, DWORD sheetThread, const std::wstring& menuFile, bool screenshot) {
    const HWND sheet = WaitFor([&] { return SheetOf(sheetThread); });
    checks.Expect(sheet != nullptr, "the property sheet shows the device page");
    if (sheet) {
        PlayPage(checks, sheet, menuFile, screenshot);
        ::PostMessageW(::GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: tavrel_sheet <menu file> [--screenshot | --interactive]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // a run cut short by its time limit still shows how far it got
    const std::wstring menuFile = platform::Utf8ToWide(argv[1]);
    const bool screenshot = argc > 2 && std::string(argv[2]) == "--screenshot";
    const bool interactive = argc > 2 && std::string(argv[2]) == "--interactive";
    Checks checks;
    platform::win32::Win32Platform platform;
    std::wstring error;
    checks.Expect(LoadGlobalStrings(L"RESSTRING", &error), "the localisation table loads: " + Narrow(error));
    if (checks.Failed() || !SeedPrinter(ReadBytes(menuFile))) {
        std::printf("FAIL: the printer cannot be seeded\n");
        return 1;
    }

    HMODULE module = ::LoadLibraryW(L"Tavrel.dll");
    g_module = module;
    HMODULE compstui = ::LoadLibraryW(L"compstui.dll");
    auto getClassObject = module ? reinterpret_cast<host::GetClassObject>(
                                       reinterpret_cast<void*>(::GetProcAddress(module, "DllGetClassObject")))
                                 : nullptr;
    auto canUnloadNow = module ? reinterpret_cast<host::CanUnloadNow>(
                                     reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")))
                               : nullptr;
    auto commonPropertySheetUI =
        compstui ? reinterpret_cast<host::CommonPropertySheetUI>(
                       reinterpret_cast<void*>(::GetProcAddress(compstui, "CommonPropertySheetUIW")))
                 : nullptr;
    checks.Expect(getClassObject && canUnloadNow, "Tavrel.dll loads with its exports");
    checks.Expect(commonPropertySheetUI != nullptr, "the common property sheet UI is there");
    if (checks.Failed()) {
        return 1;
    }
    driverkit::IClassFactory* factory = nullptr;
    getClassObject(driverkit::CLSID_OEMUI, driverkit::IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (factory) {
        factory->CreateInstance(nullptr, driverkit::IID_IPrintOemUI, reinterpret_cast<void**>(&g_ui));
        factory->Release();
    }
    checks.Expect(g_ui != nullptr, "the plug-in object");
    if (!g_ui) {
        return 1;
    }

    // The sheet's thread, as the driver's: the printer properties record its printer, then the sheet runs.
    std::thread sheetThread([&] {
        wchar_t* name = g_printerName;
        ::lstrcpynW(name, kPrinter, 64);
        HANDLE printer = nullptr;
        ::OpenPrinterW(name, &printer, nullptr);
        HANDLE heap = ::HeapCreate(0, 0, 0);
        driverkit::OEMCUIPPARAM param{};
        param.cbSize = sizeof param;
        param.hPrinter = printer;
        param.pPrinterName = name;
        param.hOEMHeap = heap;
        checks.Expect(g_ui->CommonUIProp(host::kPrinterProperties, &param) == host::kOk, "the printer properties");
        std::vector<driverkit::OPTITEM> items(param.cOEMOptItems);
        param.pOEMOptItems = items.data();
        g_ui->CommonUIProp(host::kPrinterProperties, &param);

        std::thread user;
        if (!interactive) {
            user = std::thread(PlaySheet, std::ref(checks), ::GetCurrentThreadId(), menuFile, screenshot);
        }
        driverkit::DWORD result = 0;
        const LONG shown = commonPropertySheetUI(nullptr, &DriverSheet, 0, &result);
        if (user.joinable()) {
            user.join();
        }
        checks.Expect(shown >= 0, "the property sheet ran: " + std::to_string(shown));
        ::HeapDestroy(heap);
        if (printer) {
            ::ClosePrinter(printer);
        }
    });
    sheetThread.join();

    if (!interactive) {
        checks.Expect(!FileExists(ValuesFile()) && !FileExists(ValuesFile() + L".ini"),
                      "the closed page deleted the values file and the printer state file");
        checks.Expect(FileExists(ValuesFile() + L".DAT"), "the menu file stays");
    }
    checks.Expect(g_ui->Release() == 0, "last reference");
    checks.Expect(canUnloadNow() == host::kOk, "unloadable once everything is released");
    ::FreeLibrary(module);
    std::printf("%d checks, %d failed\n", checks.Count(), checks.Failed());
    return checks.Failed() ? 1 : 0;
}
