#pragma once
// The settings page of the driver's device property sheet: fourteen slots whose buttons start the settings
// program and whose titles and values come from what that program leaves in the exchange folder.

#include <cstddef>
#include <string>

#include "driver_kit.h"
#include "page_window.h"

namespace tavrel {

inline constexpr std::size_t kPathChars = 1024;  // exchange paths and the command line, terminator included
inline constexpr std::size_t kEntryChars = 512;  // menu entry texts, terminator included
inline constexpr std::size_t kPortChars = 256;   // port names, terminator included
inline constexpr int kToolTipWidth = 300;        // pixels
inline constexpr int kPageAdvance = 0;
inline constexpr int kPageSingleItem = 1;
inline constexpr int kPageMaintenance = 99;
inline constexpr int kPageSaveValues = 101;
inline constexpr int kPageReadMenu = 102;

// The body of DevicePropertySheets: S_OK with the reason's result in the record's Result; E_FAIL with
// ERROR_INVALID_PARAMETER for a missing record or one of another version.
driverkit::HRESULT AddDevicePage(driverkit::PROPSHEETUI_INFO* pPSUIInfo, driverkit::LPARAM lParam);

// The page's messages; every one answers FALSE but a title's colour message, which answers its brush.
driverkit::INT_PTR DevicePageDlgProc(PageWindow& dialog,
                                     driverkit::UINT message,
                                     driverkit::WPARAM wParam,
                                     driverkit::LPARAM lParam);

// Starts the settings program for page (or, for item 0 or more, the single item) and waits for it with
// the sheet hidden. False, with nothing shown, when it could not be started.
bool StartMenuProgram(PageWindow& dialog, int page, int item);
// Optionally has the settings program fetch the menu and the values, then shows the values and model name.
void RefreshGroupValues(PageWindow& dialog, bool fetchMenu, bool fetchValues);
void FetchFromPrinter(PageWindow& dialog);
void HideAllSlots(PageWindow& dialog);

// Section "BaseItem" + n of the printer's menu file: true when it names an icon. The title carries 21
// blanks at its end; each text is cut to capacity - 1 characters.
bool ReadMenuEntry(const std::wstring& printer,
                   int n,
                   std::wstring& icon,
                   std::wstring& title,
                   std::wstring& note,
                   std::size_t capacity);
// The printer's port (cut to capacity - 1) and whether it is online; false, outputs untouched, when the
// printer cannot be opened.
bool GetPrinterPortState(const std::wstring& printer, std::wstring& port, std::size_t capacity, bool& online);
// ".CN", ".CHT" or ".EN" by the system default language.
const wchar_t* GetMenuLanguageSuffix();
// Deletes the calling thread's printer's values file and printer state file; failures are ignored.
void DeleteExchangeFiles();

// The folder the settings program leaves its files in for the page, with its trailing "\".
std::wstring ExchangeFolder();

}  // namespace tavrel
