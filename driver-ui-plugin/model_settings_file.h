#pragma once
// Where the plug-in finds a printer's model settings file: the local printer-driver folder, "\3\", the
// printer's driver name from the character after its first blank on (all of it without a blank), and
// "_Settings.Dat"; cut to 259 characters, as the plug-in's 260-character buffers hold.

#include <optional>
#include <string>

#include "platform/spooler.h"

namespace tavrel {

// The file of the printer of an open handle; nothing when the printer's driver is unknown.
std::optional<std::wstring> ModelSettingsFileOf(platform::PrinterHandle printer);
// The file of a printer by name; false (path untouched) when the printer cannot be opened.
bool GetModelSettingsFile(const std::wstring& printerName, std::wstring& path);

}  // namespace tavrel
