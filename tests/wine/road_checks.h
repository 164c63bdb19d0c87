#pragma once
// What the Wine programs that drive the real Corventa.exe from outside share: the stand-in printer seeded with
// the sample menu, the exchange folder's files of the printer, windows found by class and text, and the user at
// the item dialog (an option picked, Set pressed, the success box answered). Real time: these programs wait for
// other processes' windows.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "GlobalString.h"
#include "vprinter/virtual_printer.h"
#include "wine_checks.h"

namespace road_checks {

using wine_checks::Checks;
using wine_checks::FileExists;
using wine_checks::Narrow;

inline constexpr wchar_t kPrinter[] = L"Varintex WJ-610";

inline std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(Narrow(path), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::wstring Env(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

// Waits up to seconds of real time for f to give something other than its empty value.
template <class F>
auto WaitFor(F f, int seconds = 30) -> decltype(f()) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (auto value = f()) {
            return value;
        }
        ::Sleep(100);
    }
    return {};
}

template <class F>
BOOL CALLBACK EachWindow(HWND hwnd, LPARAM param) {
    return (*reinterpret_cast<F*>(param))(hwnd) ? FALSE : TRUE;
}

// The first of the top-level windows (parent null) or of parent's descendants for which found is true, or null.
template <class F>
HWND FirstWindow(HWND parent, F found) {
    HWND first = nullptr;
    auto visit = [&](HWND hwnd) {
        first = found(hwnd) ? hwnd : nullptr;
        return first != nullptr;
    };
    const LPARAM param = reinterpret_cast<LPARAM>(&visit);
    if (parent) {
        ::EnumChildWindows(parent, &EachWindow<decltype(visit)>, param);
    } else {
        ::EnumWindows(&EachWindow<decltype(visit)>, param);
    }
    return first;
}

inline std::wstring ClassOf(HWND window) {
    wchar_t cls[64] = {};
    ::GetClassNameW(window, cls, 64);
    return cls;
}

inline std::wstring TextOf(HWND window) {
    wchar_t text[600] = {};
    ::GetWindowTextW(window, text, 600);
    return text;
}

// A visible child window of that class (and one of those texts, when given), or null.
inline HWND Child(HWND parent, const wchar_t* cls, std::vector<std::wstring> texts = {}) {
    return FirstWindow(parent, [&](HWND hwnd) {
        if (::lstrcmpiW(ClassOf(hwnd).c_str(), cls) != 0 || !::IsWindowVisible(hwnd)) {
            return false;
        }
        const std::wstring text = TextOf(hwnd);
        return texts.empty() || std::find(texts.begin(), texts.end(), text) != texts.end();
    });
}

// A message box of that process, or null.
inline HWND MessageBoxOf(DWORD process) {
    return FirstWindow(nullptr, [&](HWND hwnd) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        return owner == process && ClassOf(hwnd) == L"#32770" && ::IsWindowVisible(hwnd);
    });
}

// The screenshot of another process's windows: this one has no messages of its own to handle meanwhile.
inline void HandOverShot(Checks& checks, const std::wstring& shot) {
    wine_checks::ReadyForScreenshot(shot);
    checks.Expect(WaitFor([&] { return FileExists(shot + L".shot"); }), "the screenshot " + Narrow(shot));
}

// The printer's values file in the exchange folder; its menu file is this + ".DAT", its state file + ".ini".
inline std::wstring ValuesFile() {
    wchar_t temp[1024] = {};
    ::GetTempPathW(1024, temp);
    return std::wstring(temp) + L"Varintex Printer\\" + kPrinter;
}

inline std::wstring ValueOf(int key) {
    wchar_t text[512] = {};
    ::GetPrivateProfileStringW(L"CurrentValues", std::to_wstring(key).c_str(), L"<none>", text, 512,
                               ValuesFile().c_str());
    return text;
}

// The printer holds the menu and its items at their defaults, the log is empty, the exchange folder holds
// nothing of the printer's.
inline bool SeedPrinter(const std::vector<std::uint8_t>& menu) {
    vprinter::VirtualPrinter printer(vprinter::makeIdentity("WJ-610", "WJ0001", 1));
    printer.defineItemsFromMenu(menu);
    printer.setMenuFile(menu);
    for (const std::wstring& file :
         {ValuesFile(), ValuesFile() + L".DAT", ValuesFile() + L".ini", Env(L"QVP_RW_LOG")}) {
        ::DeleteFileW(file.c_str());
    }
    return printer.saveState(Narrow(Env(L"QVP_RW_STATE")));
}

// The user at the item dialog of a list item, whichever process shows it: the printer's value (the item's
// default) is selected, option is picked, a screenshot is handed over when shot is named, Set is pressed and
// the success box answered. Needs the localisation table loaded.
inline void SetListOption(Checks& checks, int option, const std::wstring& shot) {
    const HWND dialog = WaitFor([] { return ::FindWindowW(L"TfrmSetItem", nullptr); });
    checks.Expect(dialog != nullptr, "the item dialog shows");
    DWORD process = 0;
    if (dialog) {
        ::GetWindowThreadProcessId(dialog, &process);
    }
    const HWND list = dialog ? WaitFor([&] { return Child(dialog, L"ListBox"); }) : nullptr;
    checks.Expect(list != nullptr, "the item dialog shows its options in a list");
    if (!list) {
        return;
    }
    checks.Expect(::SendMessageW(list, LB_GETCURSEL, 0, 0) == 0, "the printer's value is selected");
    ::SendMessageW(list, LB_SETCURSEL, option, 0);
    ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    if (!shot.empty()) {
        HandOverShot(checks, shot);
    }
    const HWND set = Child(dialog, L"Button", {g_GlobalString.ParametersBtnSet});
    checks.Expect(set != nullptr, "the dialog has its Set button");
    // Posted: the click runs the whole set, message box included, before it returns.
    ::PostMessageW(set, BM_CLICK, 0, 0);
    const HWND box = WaitFor([&] { return MessageBoxOf(process); });
    const HWND text = box ? Child(box, L"Static", {g_GlobalString.SetPrinterSuccessI}) : nullptr;
    checks.Expect(text != nullptr, "the set ends with the success box");
    if (box) {
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

}  // namespace road_checks
