// The road of one setting change with the real Corventa.exe, driven from outside as a user would: the stand-in
// port library's printer is seeded with the menu and the items of the sample ink model, the program is started
// as the plug-in starts it for one base item, its item dialog is found by its window class, an option is picked
// and Set is pressed, the success box is answered; then the bytes the printer received and the values file are
// checked. A second run with page code 101 must write the values file without any window.
//
// Usage: corventa_road <Corventa.exe> <model settings file> <menu file> [--screenshot | --seed]
//   Windows paths. With --seed it only seeds the printer and clears the exchange folder's files of the printer
//   (the main job does, before it opens the program for a person). The stand-in's variables (QVP_RW_STATE, QVP_RW_LOG,
//   ...) are set by the caller; the printer "Varintex WJ-610" is installed in the prefix
//   (scripts/wine-printer-prefix.sh). With --screenshot it writes corventa_road.ready once the option is picked and
//   waits for corventa_road.shot (see corventa_road.sh). Exits 0, or 1 when a check failed, each failure on its own
//   line.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "GlobalString.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/text.h"
#include "road_checks.h"

using namespace road_checks;
using namespace wine_checks;

namespace {

// Base item 1 of the sample ink model: the paper type, five options in a list; option 3 is "Labels".
constexpr int kItem = 1;
constexpr int kOption = 3;

// The program started as the plug-in starts it, from its own folder.
struct Started {
    PROCESS_INFORMATION info{};
    bool ok = false;
    ~Started() {
        if (ok) {
            ::CloseHandle(info.hThread);
            ::CloseHandle(info.hProcess);
        }
    }
};

void Start(Started& started, const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" \"" + kPrinter + L"\" " + arguments;
    const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    started.ok = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                                  &started.info) != FALSE;
}

bool Ended(Started& started, DWORD ms, DWORD& exitCode) {
    if (::WaitForSingleObject(started.info.hProcess, ms) != WAIT_OBJECT_0) {
        return false;
    }
    ::GetExitCodeProcess(started.info.hProcess, &exitCode);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: corventa_road <Corventa.exe> <model settings file> <menu file> [--screenshot | --seed]\n");
        return 2;
    }
    const std::wstring exe = platform::Utf8ToWide(argv[1]);
    const std::wstring schemeFile = platform::Utf8ToWide(argv[2]);
    const std::wstring menuFile = platform::Utf8ToWide(argv[3]);
    const bool screenshot = argc > 4 && std::string(argv[4]) == "--screenshot";
    const bool seedOnly = argc > 4 && std::string(argv[4]) == "--seed";
    Checks checks;
    platform::win32::Win32Platform platform;
    std::wstring error;
    checks.Expect(LoadGlobalStrings(L"RESSTRING", &error), "the localisation table loads: " + Narrow(error));
    // What the item and its option are, by the program's own model of the menu.
    TSchemeOptions2 model;
    model.LoadFromFile(schemeFile);
    model.LoadPrinterMenu(menuFile);
    const TSettingItem item = model.GetItem(pgSingleItem, kItem);
    checks.Expect(item.RuleValues.RuleTitle.size() == 5, "the sample item has five options");
    if (checks.Failed() || !SeedPrinter(ReadBytes(menuFile))) {
        std::printf("FAIL: the printer cannot be seeded\n");
        return 1;
    }
    if (seedOnly) {
        return 0;
    }

    {
        Started run;
        Start(run, exe, L"1 " + std::to_wstring(kItem));
        checks.Expect(run.ok, "Corventa.exe starts");
        if (run.ok) {
            SetListOption(checks, kOption, screenshot ? L"corventa_road" : L"");
        }
        DWORD exitCode = 1;
        checks.Expect(run.ok && Ended(run, 30000, exitCode) && exitCode == 0, "the program ends with the dialog");
        if (run.ok && exitCode == 1) {
            ::TerminateProcess(run.info.hProcess, 1);
        }
    }

    const std::wstring sequence = model.m_Sections.EnterInstruction + L" " + item.SetInstruction + L" " +
                                  platform::IntToHex(item.RuleValues.RuleValue[kOption], 2) + L" " +
                                  model.m_Sections.InstructionTail + L" " + model.m_Sections.SaveInstruction;
    const platform::Bytes expected = HexTextToBytes(sequence);
    const std::vector<std::uint8_t> received = ReadBytes(Env(L"QVP_RW_LOG"));
    checks.Expect(std::search(received.begin(), received.end(), expected.begin(), expected.end()) != received.end(),
                  "the printer received the settings write sequence " + Narrow(sequence));
    const std::wstring title = item.RuleValues.RuleTitle[kOption];
    checks.Expect(ValueOf(kItem) == g_GlobalString.CurrentValue + title,
                  "the values file holds the new title: " + Narrow(ValueOf(kItem)));
    std::printf("values file: %s\nreceived: %zu bytes\n", Narrow(ValuesFile()).c_str(), received.size());

    // Page code 101: the values file afresh, without a window.
    ::DeleteFileW(ValuesFile().c_str());
    {
        Started run;
        Start(run, exe, L"101");
        bool windowSeen = false;
        DWORD exitCode = 1;
        for (int i = 0; run.ok && i < 300 && !Ended(run, 100, exitCode); ++i) {
            windowSeen = windowSeen || ::FindWindowW(L"TfrmSetItem", nullptr) ||
                         ::FindWindowW(L"TfrmMainView2", nullptr) || MessageBoxOf(run.info.dwProcessId);
        }
        checks.Expect(run.ok && exitCode == 0, "page code 101 ends by itself");
        checks.Expect(!windowSeen, "page code 101 shows no window");
        checks.Expect(ValueOf(kItem) == g_GlobalString.CurrentValue + title,
                      "page code 101 writes the values file: " + Narrow(ValueOf(kItem)));
    }
    std::printf("%d checks, %d failed\n", checks.Count(), checks.Failed());
    return checks.Failed() ? 1 : 0;
}
