#include "device_page.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "com_server.h"
#include "model_settings_file.h"
#include "page_dialog.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/spooler.h"
#include "platform/text.h"
#include "platform/thread_state.h"
#include "plugin_strings.h"
#include "thread_printer_items.h"

namespace tavrel {

namespace dk = driverkit;

namespace {

constexpr wchar_t kDefaultMenuDisplayExe[] = L"VORodedezEvadezu";
constexpr wchar_t kHeaderTitle[] = L"OEM UI Page";
constexpr int kFirstTitle = 1049;
constexpr int kLastTitle = 1061;
constexpr int kGroupCount = 12;

// What one page holds between its messages: released at WM_DESTROY.
struct DevicePageState {
    PageColour titleColour = PageColour::Window;
    PageFont titleFont = 0;
    std::array<PageBitmap, kSlotCount> bitmaps{};
    std::array<PageToolTip, kSlotCount> toolTips{};
};

DevicePageState* StateOf(PageWindow& dialog) {
    return static_cast<DevicePageState*>(dialog.UserData());
}

std::wstring Bounded(std::wstring text, std::size_t capacity) {
    text.resize(std::min(text.size(), capacity - 1));
    return text;
}

std::wstring ReadIni(const std::wstring& file,
                     const std::wstring& section,
                     const std::wstring& key,
                     std::size_t capacity) {
    return Bounded(platform::profile().ReadString(file, section, key, L""), capacity);
}

// The values file of a printer; its printer state file is this + ".ini".
std::wstring ValuesFileOf(const std::wstring& printer) {
    return Bounded(ExchangeFolder() + printer, kPathChars);
}

std::wstring StateFileOf(const std::wstring& printer) {
    return Bounded(ValuesFileOf(printer) + L".ini", kPathChars);
}

// The calling thread's printer; nothing when the thread has no record, so that the page acts on no printer
// rather than on the local print server, which an empty name would open.
std::optional<std::wstring> ThreadPrinter() {
    std::wstring printer;
    if (!GetThreadPrinterName(printer, kNameChars)) {
        return std::nullopt;
    }
    return printer;
}

std::wstring WithExeExtension(const std::wstring& program) {
    const std::size_t name = program.find_last_of(L"\\/");
    const std::size_t dot = program.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && (name == std::wstring::npos || dot > name);
    return hasExtension ? program : program + L".exe";
}

void ShowPageMessage(PageWindow& dialog, std::uint32_t textId, const std::wstring& port) {
    const std::wstring text = platform::Format(dialog.LoadPageString(textId), {port});
    dialog.MessageBoxOk(text, dialog.LoadPageString(IDS_NOTICE));
}

void ShowSlot(PageWindow& dialog, int slot, bool visible) {
    dialog.ShowControl(iRCBtn[slot], visible);
    dialog.ShowControl(iRCTitle[slot], visible);
    if (iRCValue[slot]) {
        dialog.ShowControl(iRCValue[slot], visible);
    }
}

// The slot's button gets the bitmap the menu names (the fallback when the module has none of that name) and
// a tool tip with the note; the slot's earlier bitmap and tool tip are released.
void DecorateSlot(PageWindow& dialog,
                  DevicePageState& state,
                  int slot,
                  const std::wstring& icon,
                  const std::wstring& note) {
    PageBitmap bitmap = dialog.LoadBitmapResource(icon);
    if (!bitmap) {
        bitmap = dialog.LoadBitmapResource(L"100_SETTINGS");
    }
    const PageBitmap previous = dialog.SetButtonImage(iRCBtn[slot], bitmap);
    if (previous) {
        dialog.FreeBitmap(previous);
    }
    state.bitmaps[slot] = bitmap;
    if (state.toolTips[slot]) {
        dialog.DestroyToolTip(state.toolTips[slot]);
    }
    state.toolTips[slot] = dialog.AddButtonToolTip(iRCBtn[slot], note);
    if (state.toolTips[slot]) {
        dialog.SetToolTipMaxWidth(state.toolTips[slot], kToolTipWidth);
    }
}

void ReleasePage(PageWindow& dialog) {
    DevicePageState* state = StateOf(dialog);
    if (!state) {
        return;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (state->bitmaps[slot]) {
            dialog.SetButtonImage(iRCBtn[slot], 0);
            dialog.FreeBitmap(state->bitmaps[slot]);
        }
        if (state->toolTips[slot]) {
            dialog.DestroyToolTip(state->toolTips[slot]);
        }
    }
    if (state->titleFont) {
        dialog.DeleteFont(state->titleFont);
    }
    dialog.SetUserData(nullptr);
    delete state;
}

}  // namespace

std::wstring ExchangeFolder() {
    return Bounded(platform::files().TempFolder(), kPathChars) + L"Varintex Printer\\";
}

dk::HRESULT AddDevicePage(dk::PROPSHEETUI_INFO* pPSUIInfo, dk::LPARAM lParam) {
    if (!pPSUIInfo || pPSUIInfo->Version != dk::PROPSHEETUI_INFO_VERSION) {
        platform::threadState().SetLastError(platform::kErrorInvalidParameter);
        return dk::E_FAIL;
    }
    // The reasons that hand over a record of their own, or call back into the sheet, are refused without it.
    const bool needsRecord = pPSUIInfo->Reason == dk::PROPSHEETUI_REASON_GET_INFO_HEADER ||
                             pPSUIInfo->Reason == dk::PROPSHEETUI_REASON_SET_RESULT;
    if ((needsRecord && lParam == 0) ||
        (pPSUIInfo->Reason == dk::PROPSHEETUI_REASON_INIT && !pPSUIInfo->pfnComPropSheet)) {
        platform::threadState().SetLastError(platform::kErrorInvalidParameter);
        return dk::E_FAIL;
    }
    switch (pPSUIInfo->Reason) {
        case dk::PROPSHEETUI_REASON_INIT: {
            dk::PROPSHEETPAGEW page{};
            page.dwSize = sizeof(page);
            page.dwFlags = dk::PSP_USEICONID;
            page.hInstance = g_hModule;
            page.pszTemplate = dk::MakeIntResource(IDD_DEVICE_PAGE);
            page.pszIcon = dk::MakeIntResource(IDI_DEVICE_PAGE);
            page.pfnDlgProc = PageDialogProc;
            pPSUIInfo->Result = static_cast<dk::ULONG_PTR>(pPSUIInfo->pfnComPropSheet(
                pPSUIInfo->hComPropSheet, dk::CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<dk::LPARAM>(&page), 0));
            break;
        }
        case dk::PROPSHEETUI_REASON_GET_INFO_HEADER: {
            // The header only reads the title.
            reinterpret_cast<dk::PROPSHEETUI_INFO_HEADER*>(lParam)->pTitle = const_cast<wchar_t*>(kHeaderTitle);
            pPSUIInfo->Result = 1;
            break;
        }
        case dk::PROPSHEETUI_REASON_DESTROY:
            pPSUIInfo->Result = 1;
            break;
        case dk::PROPSHEETUI_REASON_SET_RESULT:
            pPSUIInfo->Result = static_cast<dk::ULONG_PTR>(reinterpret_cast<const dk::SETRESULT_INFO*>(lParam)->Result);
            break;
        default:
            pPSUIInfo->Result = 0;
            break;
    }
    return dk::S_OK;
}

dk::INT_PTR DevicePageDlgProc(PageWindow& dialog, dk::UINT message, dk::WPARAM wParam, dk::LPARAM lParam) {
    switch (message) {
        case dk::WM_INITDIALOG: {
            ReleasePage(dialog);  // a template created twice keeps one state
            auto* state = new DevicePageState;
            state->titleColour = dialog.SystemMajorVersion() < 6 ? PageColour::ButtonFace : PageColour::Window;
            dialog.SetUserData(state);
            HideAllSlots(dialog);
            return 0;
        }
        case dk::WM_COMMAND: {
            if ((wParam >> 16) != 0) {
                return 0;
            }
            const int id = static_cast<int>(wParam & 0xFFFF);
            bool refresh = true;
            if (id == iRCBtn[0]) {
                StartMenuProgram(dialog, kPageAdvance, -1);
            } else if (id > iRCBtn[0] && id < iRCBtn[kMaintenanceSlot]) {
                StartMenuProgram(dialog, kPageSingleItem, id - iRCBtn[1]);
            } else if (id == iRCBtn[kMaintenanceSlot]) {
                StartMenuProgram(dialog, kPageMaintenance, -1);
            } else {
                refresh = false;
                if (id == IDC_FETCH) {
                    FetchFromPrinter(dialog);
                }
            }
            if (refresh) {
                RefreshGroupValues(dialog, false, false);
            }
            return 0;
        }
        case dk::WM_CTLCOLORSTATIC: {
            const int id = dialog.ControlIdOf(lParam);
            DevicePageState* state = StateOf(dialog);
            if (!state || id < kFirstTitle || id > kLastTitle) {
                return 0;
            }
            // One font for the page's life, made at the first title it paints.
            if (!state->titleFont) {
                state->titleFont = dialog.CreateTitleFont(true, false);
            }
            return dialog.PaintTitle(wParam, state->titleFont, state->titleColour);
        }
        case dk::WM_DESTROY:
            DeleteExchangeFiles();
            ReleasePage(dialog);
            return 0;
        default:
            return 0;
    }
}

void HideAllSlots(PageWindow& dialog) {
    for (int slot = 1; slot < kSlotCount; ++slot) {
        ShowSlot(dialog, slot, false);
    }
    dialog.ShowControl(IDC_MAINTENANCE_FRAME, false);
}

bool StartMenuProgram(PageWindow& dialog, int page, int item) {
    const auto printer = ThreadPrinter();
    // The name goes inside double quotes: one of its own would end the argument early.
    if (!printer || printer->find(L'"') != std::wstring::npos) {
        return false;
    }
    std::wstring menuDisplayExe = kDefaultMenuDisplayExe;
    std::wstring settingsFile;
    if (GetModelSettingsFile(*printer, settingsFile)) {
        menuDisplayExe = Bounded(
            platform::profile().ReadString(settingsFile, L"GlobalSettings", L"MenuDisplayExe", kDefaultMenuDisplayExe),
            kNameChars);
    }
    const std::wstring program = platform::spooler().PrinterDriverDirectory() + L"\\3\\" + menuDisplayExe;
    std::wstring arguments = L"\"" + *printer + L"\"";
    arguments += item >= 0 ? L" 1 " + std::to_wstring(item) : L" " + std::to_wstring(page);
    const std::wstring szCMD = Bounded(program + L" " + arguments, kPathChars);

    auto& processes = platform::processes();
    std::unique_ptr<platform::Process> process = processes.Start(szCMD, L"");
    // The settings program asks for administrator rights; a host without them starts it through the shell,
    // which asks the user. The parameters are the rest of the command line as it was bounded.
    if (!process && platform::threadState().GetLastError() == platform::kErrorElevationRequired &&
        szCMD.size() > program.size() + 1) {
        process = processes.StartElevated(WithExeExtension(program), szCMD.substr(program.size() + 1));
    }
    if (!process) {
        return false;
    }
    dialog.HideSheet();
    process->Wait(platform::kInfinite);
    process.reset();
    dialog.ShowSheetInFront();
    return true;
}

void RefreshGroupValues(PageWindow& dialog, bool fetchMenu, bool fetchValues) {
    const auto printer = ThreadPrinter();
    if (fetchMenu) {
        StartMenuProgram(dialog, kPageReadMenu, -1);
    }
    if (fetchValues) {
        StartMenuProgram(dialog, kPageSaveValues, -1);
    }
    const std::wstring szValuesIni = printer ? ValuesFileOf(*printer) : L"";
    for (int k = 0; k < kGroupCount; ++k) {
        const std::wstring value =
            printer ? ReadIni(szValuesIni, L"CurrentValues", std::to_wstring(k), kNameChars) : L"";
        dialog.SetControlText(iRCValue[k + 1], value);
    }
    dialog.SetControlText(IDC_MODEL_NAME,
                          printer ? ReadIni(StateFileOf(*printer), L"PrinterInfo", L"PrinterName", kNameChars) : L"");
}

void FetchFromPrinter(PageWindow& dialog) {
    const auto printer = ThreadPrinter();
    std::wstring port;
    bool online = false;
    if (printer) {
        GetPrinterPortState(*printer, port, kPortChars, online);
    }
    if (!platform::StartsText(port, L"USB")) {
        ShowPageMessage(dialog, IDS_PORT_UNSUPPORTED, port);
        return;
    }
    if (!online) {
        ShowPageMessage(dialog, IDS_PORT_OFFLINE, port);
        return;
    }
    RefreshGroupValues(dialog, true, true);
    DevicePageState* state = StateOf(dialog);
    for (int slot = 1; slot < kSlotCount; ++slot) {
        std::wstring szIcon, szTitle, szNote;
        const int n = slot == kMaintenanceSlot ? 99 : slot;
        const bool present = ReadMenuEntry(*printer, n, szIcon, szTitle, szNote, kEntryChars);
        ShowSlot(dialog, slot, present);
        if (!present) {
            continue;  // frame 1075 stays hidden either way
        }
        if (state) {
            DecorateSlot(dialog, *state, slot, szIcon, szNote);
        }
        dialog.SetControlText(iRCTitle[slot], szTitle);
    }
}

bool ReadMenuEntry(const std::wstring& printer,
                   int n,
                   std::wstring& icon,
                   std::wstring& title,
                   std::wstring& note,
                   std::size_t capacity) {
    const std::wstring menuFile = Bounded(ExchangeFolder() + printer + L".DAT", kPathChars);
    const std::wstring section = platform::Format(L"BaseItem%.2d", {std::int64_t{n}});
    const std::wstring suffix = GetMenuLanguageSuffix();
    const std::wstring szIcon = ReadIni(menuFile, section, L"Icon", kEntryChars);
    const std::wstring szTitle =
        Bounded(ReadIni(menuFile, section, L"Title" + suffix, kEntryChars) + std::wstring(21, L' '), kEntryChars);
    const std::wstring szNote = ReadIni(menuFile, section, L"Note" + suffix, kEntryChars);
    icon = Bounded(szIcon, capacity);
    title = Bounded(szTitle, capacity);
    note = Bounded(szNote, capacity);
    return !szIcon.empty();
}

bool GetPrinterPortState(const std::wstring& printer, std::wstring& port, std::size_t capacity, bool& online) {
    auto& spooler = platform::spooler();
    const platform::PrinterHandle handle = spooler.OpenPrinter(printer);
    if (!handle) {
        return false;
    }
    // The port from level 5, the online state from level 2's attributes.
    const auto names = spooler.GetPrinter5(handle);
    const auto info = spooler.GetPrinter2(handle);
    spooler.ClosePrinter(handle);
    port = names ? Bounded(names->portName, capacity) : L"";
    online = info && (info->attributes & platform::kPrinterAttributeWorkOffline) == 0;
    return true;
}

const wchar_t* GetMenuLanguageSuffix() {
    switch (platform::locale().SystemDefaultLangId()) {
        case 2052:
        case 5124:
            return L".CN";
        case 3076:
        case 1028:
            return L".CHT";
        default:
            return L".EN";
    }
}

void DeleteExchangeFiles() {
    const auto printer = ThreadPrinter();
    if (!printer) {
        return;
    }
    platform::files().DeleteFile(ValuesFileOf(*printer));
    platform::files().DeleteFile(StateFileOf(*printer));
}

}  // namespace tavrel
