#pragma once
// The one header of the win32 implementation that includes <windows.h>: every other win32 source reaches the
// Win32 API through it, so the macros that decide what <windows.h> declares are set once. Windows 7 is the
// oldest system the program supports; every text is wide, so the generic names mean the wide calls.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef WINVER
#define WINVER _WIN32_WINNT
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winspool.h>

// The platform's file-open and device-control calls share their names with our interfaces' methods; the
// macros that <windows.h> makes of some of them would rename those methods.
#undef CreateFile
#undef DeleteFile
#undef GetPrinter
#undef EnumJobs
#undef OpenPrinter
#undef StartDocPrinter
#undef GetPrinterData
#undef SetPrinterData
#undef MessageBox
#undef FindResource

#include <cstdint>
#include <string>

namespace platform::win32 {

// Owns a kernel handle (file, device, process) and closes it once.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : handle_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE release() {
        HANDLE h = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return h;
    }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (valid()) {
            ::CloseHandle(handle_);
        }
        handle_ = h;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Owns a spooler handle.
class UniquePrinter {
public:
    UniquePrinter() = default;
    explicit UniquePrinter(HANDLE h) : handle_(h) {}
    UniquePrinter(const UniquePrinter&) = delete;
    UniquePrinter& operator=(const UniquePrinter&) = delete;
    ~UniquePrinter() {
        if (handle_) {
            ::ClosePrinter(handle_);
        }
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// The platform error code (platform/usb_printer.h) for a Win32 error code: the one place where the codes
// that mean the same to the program are folded together.
std::uint32_t MapError(DWORD error);

// Interface strings are UTF-16 on Windows, as the API's wide strings are.
inline const wchar_t* NullIfEmpty(const std::wstring& s) {
    return s.empty() ? nullptr : s.c_str();
}

}  // namespace platform::win32
