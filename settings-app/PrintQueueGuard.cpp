#include "PrintQueueGuard.h"

#include "GlobalString.h"
#include "platform/forms/application.h"
#include "platform/platform.h"
#include "platform/spooler.h"

bool PrintQueueIsClear(const std::wstring& printerName) {
    if (printerName.empty()) {
        return true;
    }
    platform::Spooler& spooler = platform::spooler();
    const platform::PrinterHandle printer = spooler.OpenPrinter(printerName);
    if (printer == 0) {
        return false;
    }
    const bool clear = spooler.EnumJobs(printer).empty();
    spooler.ClosePrinter(printer);
    if (!clear) {
        platform::forms::application().ShowMessageBox(g_GlobalString.mPrintQueue, g_GlobalString.HintTitle,
                                                      platform::MsgIcon::Error);
    }
    return clear;
}
