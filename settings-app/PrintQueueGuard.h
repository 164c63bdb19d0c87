#pragma once
// The print-queue guard: the settings program refuses to work while the printer has jobs waiting, since its
// commands would queue behind them. Start-up makes it, and the main window makes it again when it is created.

#include <string>

#include "platform/spooler.h"

// The printer name as the spooler is asked for it by the guard.
extern std::wstring g_PrinterNameBuf;
// The spooler handle of the guard; open until the process ends.
extern platform::PrinterHandle g_hPrinter;

// What the print-queue guard found.
enum class TPrintQueue {
    Empty,        // start-up goes on
    NotOpened,    // the spooler cannot open the printer: the program ends without a window
    JobsWaiting,  // the user was told to clear the queue first (mPrintQueue)
};

// Opens the printer g_strPrinterName through the spooler (g_PrinterNameBuf, g_hPrinter, left open) and asks for
// its jobs (from job 0, at most 10, level 1). When jobs are waiting it shows the mPrintQueue box (caption
// HintTitle, error icon) before it returns. Without a printer name (port mode) nothing is opened and the queue
// counts as empty, so that the main window can start.
TPrintQueue CheckPrintQueue();
