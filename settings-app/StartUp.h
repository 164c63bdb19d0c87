#pragma once
// The settings program's start-up, the parts of it that open no window: the test for a running copy, the
// command line, the exchange folder and the per-printer file names, the model with its menu; the print-queue
// guard is PrintQueueGuard.h. The program entry (Corventa.h) runs them in this order and shows what they report.

#include <cstdint>
#include <string>
#include <vector>

#include "PrintQueueGuard.h"
#include "Scheme.h"

// The window class of the main window: while a window of it exists, a copy of the program is running.
inline constexpr wchar_t kMainWindowClass[] = L"TfrmMainView2";
// The caption of the program's taskbar entry and of its error boxes.
inline constexpr wchar_t kApplicationTitle[] = L"Printer Settings";
// Below the user's temporary folder; shared with the plug-in, which reads what the program leaves there.
inline constexpr wchar_t kExchangeFolderName[] = L"Varintex Printer";

// Start-up's own process-wide values; the others it sets live with the model (Scheme.h) and the worker.
// Argument 4 of the command line; read nowhere.
extern std::int32_t g_iExtraArg;
// The file the menu definition is loaded from.
extern std::wstring g_strMenuFile;

// Puts start-up's own process-wide values back as they are at program start. The program never calls it; it
// lets one process run many starts.
void ResetSettingsAppGlobals();

// True while the main window of another copy exists; such a start ends at once. A copy that shows no main
// window (one item, the values file, the menu fetch) is not found.
bool AnotherCopyRuns();

// A command line split into its arguments, the program first: arguments are separated by blanks (and tabs)
// outside double quotes, and the quotes are removed, so that a quoted argument may hold blanks ("" is an empty
// argument; a quote left open runs to the end).
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// What a start's arguments say, each absent one at its initial value.
struct TStartArguments {
    bool bAny = false;             // at least one argument after the program; none: port mode
    std::wstring strPrinterName;   // 1: the printer's queue name, unchanged
    std::uint8_t byPage = pgBase;  // 2: the page code, its low eight bits (not a number: 0)
    std::int32_t iItem = 0;        // 3: the item index within the page (not a number: 0)
    std::int32_t iExtraArg = 0;    // 4: an extra number (not a number: 0)
};
TStartArguments ParseStartArguments(const std::wstring& commandLine);

// The start's values at their initial values, then the arguments of commandLine into g_strPrinterName,
// g_byPage, g_byStartPage, g_iItem and g_iExtraArg. False when the program got no argument (port mode: the
// printer name stays empty and the page code 100).
bool ReadStartArguments(const std::wstring& commandLine);

// The exchange folder: the user's temporary folder followed by "Varintex Printer\".
std::wstring ExchangeFolder();
// Creates the exchange folder with every missing parent (a failure shows later, when its files cannot be
// written) and sets the per-printer names of g_strPrinterName: g_strPrinterPath (the values file) and
// g_strPrinterIni (the printer state file). The menu file is PrinterMenuFile().
void SetPrinterPaths();

// What loading the printer's model and menu came to.
enum class TModelLoad {
    Loaded,
    UnsupportedMenuVersion,  // MenuVersion other than 0 and 1: nothing fetched, nothing loaded
    MenuMissing,             // the menu file is missing even after a fetch from the printer
};
// A new model in g_SchemeOptions, loaded from the printer's model settings file (g_strSchemeFile; empty when
// the spooler does not know the printer); the menu file that its MenuVersion names (g_strMenuFile: 0 the model
// settings file itself, 1 PrinterMenuFile()), fetched from the printer when it is missing (g_bMenuFetched, the
// waiting window showing meanwhile); then the menu, and g_iReadCount and g_bReadLast from the printer state
// file. Loading the menu may throw platform::Exception, as the menu loader does.
TModelLoad LoadPrinterModel();
// The text of the box that reports an unsupported menu version.
std::wstring UnsupportedMenuVersionText(std::int32_t menuVersion);
