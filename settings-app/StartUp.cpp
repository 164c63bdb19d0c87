#include "StartUp.h"

#include <memory>

#include "GroupDialogs.h"
#include "MainDialogs.h"
#include "UtilPrinter.h"
#include "platform/files.h"
#include "platform/forms/backend.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "uBMset.h"
#include "uInkSet.h"
#include "uMain2.h"

std::int32_t g_iExtraArg = 0;
std::wstring g_strMenuFile;

void ResetSettingsAppGlobals() {
    g_iExtraArg = 0;
    g_strMenuFile.clear();
    g_PrinterNameBuf.clear();
    // The handle belongs to the platform of the start that opened it, which is gone by now.
    g_hPrinter = 0;
    // The dialogs a start made belong to its application, which frees them.
    SetGroupHandOff(nullptr);
    ClearMainDialogOpeners();
    g_slArguments.clear();
    FormSetGroupItem = nullptr;
    frmInvoiceType_SetGruop = nullptr;
    ResetInkDialogGlobals();
    BMset = nullptr;
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

TModelLoad LoadPrinterModel() {
    g_SchemeOptions = std::make_unique<TSchemeOptions2>();
    g_strSchemeFile.clear();
    GetSchemeFile(g_strPrinterName, g_strSchemeFile);
    g_SchemeOptions->LoadFromFile(g_strSchemeFile);
    switch (g_SchemeOptions->m_Sections.MenuVersion) {
        case 0:
            // The menu definition lives in the model settings file.
            g_strMenuFile = g_strSchemeFile;
            break;
        case 1:
            // The menu comes from the printer.
            g_strMenuFile = PrinterMenuFile();
            break;
        default:
            return TModelLoad::UnsupportedMenuVersion;
    }
    platform::FileSystem& files = platform::files();
    if (!files.FileExists(g_strMenuFile)) {
        g_SchemeOptions->GetPrinterMenuResources();
        g_bMenuFetched = true;
        if (!files.FileExists(g_strMenuFile)) {
            return TModelLoad::MenuMissing;
        }
    }
    g_SchemeOptions->LoadPrinterMenu(g_strMenuFile);
    const platform::IniFile state(g_strPrinterIni);
    g_iReadCount = state.ReadInteger(kReadPrinterSection, L"Count", 0);
    g_bReadLast = state.ReadInteger(kReadPrinterSection, L"Last", 0) != 0;
    return TModelLoad::Loaded;
}

std::wstring UnsupportedMenuVersionText(std::int32_t menuVersion) {
    return platform::Format(L"当前版本【%d】的菜单没有实现！", {static_cast<std::int64_t>(menuVersion)});
}
