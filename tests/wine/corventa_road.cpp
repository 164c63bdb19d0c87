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
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "GlobalString.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/text.h"
#include "vprinter/virtual_printer.h"
#include "wine_checks.h"

using namespace wine_checks;

namespace {

constexpr wchar_t kPrinter[] = L"Varintex WJ-610";
// Base item 1 of the sample ink model: the paper type, five options in a list; option 3 is "Labels".
constexpr int kItem = 1;
constexpr int kOption = 3;

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(Narrow(path), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::wstring Env(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

// Waits up to 30 s of real time for f to give something other than its empty value.
template <class F>
auto WaitFor(F f) -> decltype(f()) {
    for (int i = 0; i < 300; ++i) {
        if (auto value = f()) {
            return value;
        }
        ::Sleep(100);
    }
    return {};
}

struct ChildSearch {
    const wchar_t* cls;
    std::vector<std::wstring> texts;  // any text when empty
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<ChildSearch*>(param);
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (::lstrcmpiW(cls, search.cls) != 0 || !::IsWindowVisible(hwnd)) {
        return TRUE;
    }
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    for (const std::wstring& want : search.texts) {
        if (want == text) {
            search.found = hwnd;
            return FALSE;
        }
    }
    if (search.texts.empty()) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND Child(HWND parent, const wchar_t* cls, std::vector<std::wstring> texts = {}) {
    ChildSearch search{cls, std::move(texts)};
    ::EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct BoxSearch {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<BoxSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (process == search.process && ::lstrcmpW(cls, L"#32770") == 0 && ::IsWindowVisible(hwnd)) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A message box of that process, or null.
HWND MessageBoxOf(DWORD process) {
    BoxSearch search{process};
    ::EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

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

std::wstring ValuesFile() {
    wchar_t temp[1024] = {};
    ::GetTempPathW(1024, temp);
    return std::wstring(temp) + L"Varintex Printer\\" + kPrinter;
}

std::wstring ValueOf(int key) {
    wchar_t text[512] = {};
    ::GetPrivateProfileStringW(L"CurrentValues", std::to_wstring(key).c_str(), L"<none>", text, 512,
                               ValuesFile().c_str());
    return text;
}

// The printer holds the menu and its items at their defaults, the log is empty, the exchange folder holds
// nothing of the printer's.
bool SeedPrinter(const std::vector<std::uint8_t>& menu) {
    vprinter::VirtualPrinter printer(vprinter::makeIdentity("WJ-610", "WJ0001", 1));
    printer.defineItemsFromMenu(menu);
    printer.setMenuFile(menu);
    for (const std::wstring& file :
         {ValuesFile(), ValuesFile() + L".DAT", ValuesFile() + L".ini", Env(L"QVP_RW_LOG")}) {
        ::DeleteFileW(file.c_str());
    }
    return printer.saveState(Narrow(Env(L"QVP_RW_STATE")));
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
        const HWND dialog = run.ok ? WaitFor([] { return ::FindWindowW(L"TfrmSetItem", nullptr); }) : nullptr;
        checks.Expect(dialog != nullptr, "the item dialog shows");
        const HWND list = dialog ? WaitFor([&] { return Child(dialog, L"ListBox"); }) : nullptr;
        checks.Expect(list != nullptr, "the item dialog shows its options in a list");
        if (list) {
            // The value the printer holds is the item's default, and the dialog shows it selected.
            checks.Expect(::SendMessageW(list, LB_GETCURSEL, 0, 0) == 0, "the printer's value is selected");
            ::SendMessageW(list, LB_SETCURSEL, kOption, 0);
            ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(list));
            if (screenshot) {
                std::ofstream("corventa_road.ready") << "ready\n";
                checks.Expect(WaitFor([] { return FileExists(L"corventa_road.shot"); }), "the screenshot is taken");
            }
            const HWND set = Child(dialog, L"Button", {g_GlobalString.ParametersBtnSet});
            checks.Expect(set != nullptr, "the dialog has its Set button");
            // Posted: the click runs the whole set, message box included, before it returns.
            ::PostMessageW(set, BM_CLICK, 0, 0);
            const HWND box = WaitFor([&] { return MessageBoxOf(run.info.dwProcessId); });
            const HWND text = box ? Child(box, L"Static", {g_GlobalString.SetPrinterSuccessI}) : nullptr;
            checks.Expect(text != nullptr, "the set ends with the success box");
            if (box) {
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
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
