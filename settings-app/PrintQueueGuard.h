#pragma once
// The print-queue guard: the settings program refuses to work while the printer has jobs waiting, since its
// commands would queue behind them. Start-up makes it, and the main window makes it again when it is created.

#include <string>

// Opens the printer through the spooler by name and asks for its jobs (from job 0, at most 10, level 1).
// False, after the mPrintQueue box (caption HintTitle, error icon), when jobs are waiting; False without a box
// when the printer cannot be opened. Port mode has no printer name: an empty name passes.
bool PrintQueueIsClear(const std::wstring& printerName);
