#pragma once
// What the programs that show windows under Wine share: a list of checks that reports each failure on its own
// line, the comparison of native window bounds with the portable layout, a message pump in real time, and the
// hand-over for a screenshot taken from outside (the display's root window, frames and desktop included).

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/clock.h"
#include "platform/forms/forms.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace wine_checks {

class Checks {
public:
    void Expect(bool ok, const std::string& what) {
        ++count_;
        if (!ok) {
            ++failed_;
            std::printf("FAIL: %s\n", what.c_str());
            std::fflush(stdout);
        }
    }
    int Failed() const { return failed_; }
    int Count() const { return count_; }

private:
    int count_ = 0;
    int failed_ = 0;
};

inline std::string Narrow(const std::wstring& text) {
    return platform::WideToUtf8(text);
}

inline std::string Describe(const platform::forms::Rect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// Each native window sits where the portable layout puts it; a form's client area is the layout's too.
inline void CheckGeometry(Checks& checks, platform::win32::Win32Forms& backend, platform::forms::Control& control) {
    using platform::forms::ComponentKind;
    const std::string name =
        Narrow(control.Name().empty() ? static_cast<platform::forms::Form&>(control).ClassName() : control.Name());
    const platform::forms::Rect native = backend.NativeBounds(control);
    checks.Expect(native == control.BoundsRect(),
                  name + ": native " + Describe(native) + ", layout " + Describe(control.BoundsRect()));
    if (control.Kind() == ComponentKind::Form) {
        const platform::forms::Rect client = backend.NativeClientRect(control);
        checks.Expect(client == control.ClientRect(),
                      name + ": native client " + Describe(client) + ", layout " + Describe(control.ClientRect()));
    }
    for (platform::forms::Control* child : control.Controls()) {
        CheckGeometry(checks, backend, *child);
    }
}

// Handles messages for about ms milliseconds of real time.
inline void Pump(std::uint32_t ms) {
    const std::uint32_t start = platform::clock().TickCount();
    while (platform::clock().TickCount() - start < ms) {
        platform::forms::application().ProcessMessages();
        platform::clock().Sleep(10);
    }
}

// Handles messages until done() holds or about ms milliseconds of real time have passed; says whether it held.
template <typename Done>
inline bool PumpUntil(Done done, std::uint32_t ms) {
    const std::uint32_t start = platform::clock().TickCount();
    while (!done()) {
        if (platform::clock().TickCount() - start >= ms) {
            return false;
        }
        platform::forms::application().ProcessMessages();
        platform::clock().Sleep(10);
    }
    return true;
}

inline bool FileExists(const std::wstring& name) {
    return ::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Says the windows are ready for the screenshot <name>, taken from outside: writes <name>.ready in the working
// folder, once an earlier <name>.shot is gone; the shot is taken when <name>.shot appears there.
inline void ReadyForScreenshot(const std::wstring& name) {
    ::DeleteFileW((name + L".shot").c_str());
    std::ofstream(Narrow(name) + ".ready") << "ready\n";
}

// ReadyForScreenshot, then handles messages until the shot is taken, or gives up after 30 s.
inline bool HandOverForScreenshot(const std::wstring& name) {
    ReadyForScreenshot(name);
    return PumpUntil([&] { return FileExists(name + L".shot"); }, 30000);
}

inline HWND Hwnd(platform::win32::Win32Forms& backend, const platform::forms::Control& control) {
    return static_cast<HWND>(backend.NativeHandle(control));
}

}  // namespace wine_checks
