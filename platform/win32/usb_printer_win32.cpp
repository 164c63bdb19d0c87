#include "platform/win32/usb_printer_win32.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

struct Win32UsbPrinterDriver::Overlapped {
    OVERLAPPED ov{};
    bool started = false;  // a transfer has been started on the handle
};

namespace {

HANDLE H(FileHandle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// -1 is also the system's name for the current process, which every handle call would accept (and a wait on
// it never ends), so it is refused before it reaches the system.
bool Refused(FileHandle handle) {
    if (IsValidFileHandle(handle)) {
        return false;
    }
    ::SetLastError(ERROR_INVALID_HANDLE);
    return true;
}

}  // namespace

Win32UsbPrinterDriver::Win32UsbPrinterDriver() = default;

Win32UsbPrinterDriver::~Win32UsbPrinterDriver() {
    // Handles still open are the caller's leak; ending their transfers keeps the records from being written
    // after they are gone.
    for (auto& [handle, record] : overlapped_) {
        ::CancelIo(H(handle));
        DWORD n = 0;
        if (record->started) {
            ::GetOverlappedResult(H(handle), &record->ov, &n, TRUE);
        }
        ::CloseHandle(H(handle));
    }
}

Win32UsbPrinterDriver::Overlapped* Win32UsbPrinterDriver::OverlappedOf(FileHandle handle) {
    std::lock_guard lock(mutex_);
    auto it = overlapped_.find(handle);
    return it == overlapped_.end() ? nullptr : it->second.get();
}

FileHandle Win32UsbPrinterDriver::OpenDevice(const std::wstring& devicePath, bool overlapped) {
    HANDLE h =
        ::CreateFileW(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | (overlapped ? FILE_FLAG_OVERLAPPED : 0), nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return kInvalidFileHandle;
    }
    const auto handle = reinterpret_cast<FileHandle>(h);
    if (overlapped) {
        std::lock_guard lock(mutex_);
        overlapped_[handle] = std::make_unique<Overlapped>();
    }
    return handle;
}

bool Win32UsbPrinterDriver::CloseHandle(FileHandle handle) {
    std::unique_ptr<Overlapped> record;
    {
        std::lock_guard lock(mutex_);
        auto it = overlapped_.find(handle);
        if (it != overlapped_.end()) {
            record = std::move(it->second);
            overlapped_.erase(it);
        }
    }
    if (record && record->started) {
        // The record must outlive the transfer that writes into it.
        ::CancelIo(H(handle));
        DWORD n = 0;
        ::GetOverlappedResult(H(handle), &record->ov, &n, TRUE);
    }
    if (Refused(handle)) {
        return false;
    }
    return ::CloseHandle(H(handle));
}

bool Win32UsbPrinterDriver::DeviceIoControl(FileHandle handle,
                                            std::uint32_t code,
                                            std::uint8_t* output,
                                            std::uint32_t outputSize,
                                            std::uint32_t& bytesReturned) {
    bytesReturned = 0;
    if (Refused(handle)) {
        return false;
    }
    DWORD n = 0;
    BOOL ok = FALSE;
    if (OverlappedOf(handle)) {
        // A request of its own, so that it cannot disturb a transfer that runs on the handle's record.
        UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        OVERLAPPED ov{};
        ov.hEvent = event.get();
        ok = ::DeviceIoControl(H(handle), code, nullptr, 0, output, outputSize, &n, &ov);
        if (!ok && ::GetLastError() == ERROR_IO_PENDING) {
            ok = ::GetOverlappedResult(H(handle), &ov, &n, TRUE);
        }
    } else {
        ok = ::DeviceIoControl(H(handle), code, nullptr, 0, output, outputSize, &n, nullptr);
    }
    bytesReturned = n;
    return ok;
}

template <typename Call>
bool Win32UsbPrinterDriver::StartTransfer(FileHandle handle, std::uint32_t& count, Call call) {
    count = 0;
    if (Refused(handle)) {
        return false;
    }
    DWORD n = 0;
    BOOL ok = FALSE;
    if (Overlapped* record = OverlappedOf(handle)) {
        record->ov = OVERLAPPED{};
        record->started = true;
        ok = call(H(handle), &n, &record->ov);
    } else {
        ok = call(H(handle), &n, nullptr);
    }
    count = ok ? n : 0;
    return ok;
}

bool Win32UsbPrinterDriver::ReadFile(FileHandle handle,
                                     std::uint8_t* buffer,
                                     std::uint32_t length,
                                     std::uint32_t& count) {
    return StartTransfer(handle, count, [&](HANDLE h, DWORD* n, OVERLAPPED* ov) {
        return ::ReadFile(h, buffer, length, n, ov);
    });
}

bool Win32UsbPrinterDriver::WriteFile(FileHandle handle,
                                      const std::uint8_t* data,
                                      std::uint32_t length,
                                      std::uint32_t& count) {
    return StartTransfer(handle, count, [&](HANDLE h, DWORD* n, OVERLAPPED* ov) {
        return ::WriteFile(h, data, length, n, ov);
    });
}

WaitResult Win32UsbPrinterDriver::WaitForHandle(FileHandle handle, std::uint32_t timeoutMs) {
    if (Refused(handle)) {
        return WaitResult::Failed;
    }
    Overlapped* record = OverlappedOf(handle);
    if (record && !record->started) {
        return WaitResult::Signalled;  // nothing pending
    }
    switch (::WaitForSingleObject(H(handle), timeoutMs)) {
        case WAIT_OBJECT_0:
            return WaitResult::Signalled;
        case WAIT_TIMEOUT:
            return WaitResult::TimedOut;
        default:
            return WaitResult::Failed;
    }
}

bool Win32UsbPrinterDriver::GetOverlappedResult(FileHandle handle, std::uint32_t& count) {
    count = 0;
    Overlapped* record = OverlappedOf(handle);
    if (!record) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    DWORD n = 0;
    const BOOL ok = ::GetOverlappedResult(H(handle), &record->ov, &n, FALSE);
    count = n;
    return ok;
}

bool Win32UsbPrinterDriver::CancelIo(FileHandle handle) {
    return !Refused(handle) && ::CancelIo(H(handle));
}

std::uint32_t Win32UsbPrinterDriver::GetLastError() {
    return MapError(::GetLastError());
}

void Win32UsbPrinterDriver::SetLastError(std::uint32_t error) {
    ::SetLastError(error);
}

}  // namespace platform::win32
