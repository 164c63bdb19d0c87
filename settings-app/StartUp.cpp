#include "StartUp.h"

#include "platform/files.h"
#include "platform/forms/backend.h"
#include "platform/platform.h"
#include "platform/text.h"

std::int32_t g_iExtraArg = 0;
std::wstring g_strMenuFile;
std::wstring g_PrinterNameBuf;
platform::PrinterHandle g_hPrinter = 0;

void ResetSettingsAppGlobals() {
    g_iExtraArg = 0;
    g_strMenuFile.clear();
    g_PrinterNameBuf.clear();
    // The handle belongs to the platform of the start that opened it, which is gone by now.
    g_hPrinter = 0;
}

bool AnotherCopyRuns() {
    return platform::formsBackend().TopLevelWindowExists(kMainWindowClass);
}

namespace {

bool IsArgumentBreak(wchar_t c) {
    return c == L' ' || c == L'\t';
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
    std::vector<std::wstring> arguments;
    std::size_t i = 0;
    while (true) {
        while (i < commandLine.size() && IsArgumentBreak(commandLine[i])) {
            ++i;
        }
        if (i >= commandLine.size()) {
            return arguments;
        }
        std::wstring argument;
        bool quoted = false;
        for (; i < commandLine.size() && (quoted || !IsArgumentBreak(commandLine[i])); ++i) {
            if (commandLine[i] == L'"') {
                quoted = !quoted;
            } else {
                argument.push_back(commandLine[i]);
            }
        }
        arguments.push_back(std::move(argument));
    }
}

TStartArguments ParseStartArguments(const std::wstring& commandLine) {
    const std::vector<std::wstring> arguments = SplitCommandLine(commandLine);
    TStartArguments start;
    // Argument 0 is the program itself.
    if (arguments.size() < 2) {
        return start;
    }
    start.bAny = true;
    start.strPrinterName = arguments[1];
    if (arguments.size() > 2) {
        // The page code is kept in one byte: 356 is page 100, -1 page 255.
        start.byPage =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(platform::StrToIntDef(arguments[2], 0)) & 0xFFu);
    }
    if (arguments.size() > 3) {
        start.iItem = platform::StrToIntDef(arguments[3], 0);
    }
    if (arguments.size() > 4) {
        start.iExtraArg = platform::StrToIntDef(arguments[4], 0);
    }
    return start;
}

bool ReadStartArguments(const std::wstring& commandLine) {
    g_bMenuFetched = false;
    g_strPrinterName.clear();
    g_byPage = pgBase;
    g_byStartPage = pgBase;
    g_iReadCount = 0;
    const TStartArguments start = ParseStartArguments(commandLine);
    if (!start.bAny) {
        return false;
    }
    g_byPage = start.byPage;
    g_iItem = start.iItem;
    g_iExtraArg = start.iExtraArg;
    g_byStartPage = g_byPage;
    g_strPrinterName = start.strPrinterName;
    return true;
}

std::wstring ExchangeFolder() {
    return platform::Format(L"%s%s\\", {platform::files().TempFolder(), std::wstring(kExchangeFolderName)});
}

void SetPrinterPaths() {
    const std::wstring folder = ExchangeFolder();
    platform::files().ForceDirectories(folder);
    g_strPrinterPath = folder + g_strPrinterName;
    g_strPrinterIni = g_strPrinterPath + L".ini";
}
