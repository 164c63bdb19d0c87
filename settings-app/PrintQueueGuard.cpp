#include "PrintQueueGuard.h"

#include "GlobalString.h"
#include "Scheme.h"
#include "platform/forms/application.h"
#include "platform/platform.h"

std::wstring g_PrinterNameBuf;
platform::PrinterHandle g_hPrinter = 0;

TPrintQueue CheckPrintQueue() {
    g_PrinterNameBuf = g_strPrinterName;
    if (g_PrinterNameBuf.empty()) {
        return TPrintQueue::Empty;
    }
    platform::Spooler& spooler = platform::spooler();
    // The main window repeats the guard: the handle of the start's guard is not needed any more.
    if (g_hPrinter) {
        spooler.ClosePrinter(g_hPrinter);
    }
    g_hPrinter = spooler.OpenPrinter(g_PrinterNameBuf);
    if (!g_hPrinter) {
        return TPrintQueue::NotOpened;
    }
    // Only the number of jobs counts, not whether the request succeeded.
    if (spooler.EnumJobs(g_hPrinter).empty()) {
        return TPrintQueue::Empty;
    }
    platform::forms::application().ShowMessageBox(g_GlobalString.mPrintQueue, g_GlobalString.HintTitle,
                                                  platform::MsgIcon::Error);
    return TPrintQueue::JobsWaiting;
}
