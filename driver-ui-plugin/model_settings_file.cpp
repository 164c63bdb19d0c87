#include "model_settings_file.h"

#include <algorithm>

#include "platform/platform.h"
#include "thread_printer_items.h"

namespace tavrel {

std::optional<std::wstring> ModelSettingsFileOf(platform::PrinterHandle printer) {
    const auto driverName = platform::spooler().GetPrinterDriverName(printer);
    if (!driverName) {
        return std::nullopt;
    }
    const std::size_t blank = driverName->find(L' ');
    const std::wstring model = blank == std::wstring::npos ? *driverName : driverName->substr(blank + 1);
    std::wstring path = platform::spooler().PrinterDriverDirectory() + L"\\3\\" + model + L"_Settings.Dat";
    path.resize(std::min(path.size(), kNameChars - 1));
    return path;
}

bool GetModelSettingsFile(const std::wstring& printerName, std::wstring& path) {
    auto& spooler = platform::spooler();
    const platform::PrinterHandle printer = spooler.OpenPrinter(printerName);
    if (!printer) {
        return false;
    }
    const auto file = ModelSettingsFileOf(printer);
    spooler.ClosePrinter(printer);
    if (!file) {
        return false;
    }
    path = *file;
    return true;
}

}  // namespace tavrel
