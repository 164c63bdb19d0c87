#include "platform/win32/usb_printer_win32.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

struct Win32UsbPrinterDriver::Overlapped {
    OVERLAPPED ov{};
    // Signals the end of the record's transfer. The handle's own state cannot tell which of the handle's
    // requests (a transfer, a status request) has ended. Manual-reset: the system resets it as each transfer
    // starts and sets it when the transfer ends, cancelled or not.
    UniqueHandle done;
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
        EndTransfer(handle, *record);
        ::CloseHandle(H(handle));
    }
}

bool Win32UsbPrinterDriver::EndTransfer(FileHandle handle, Overlapped& record) {
    if (!record.started || HasOverlappedIoCompleted(&record.ov)) {
        return true;
    }
    // By the record rather than by thread: the transfer may have been started on another thread, which a
    // plain CancelIo would not reach, and the wait below would then never end.
    const bool requested = ::CancelIoEx(H(handle), &record.ov) || ::GetLastError() == ERROR_NOT_FOUND;
    const DWORD error = ::GetLastError();
    // A cancelled request may still complete, write into the record and set its event after the cancel call
    // returns: the record is the system's until the request has ended, whether or not the cancel took. Its
    // outcome (most often ERROR_OPERATION_ABORTED) stays in the record for GetOverlappedResult.
    DWORD n = 0;
    ::GetOverlappedResult(H(handle), &record.ov, &n, TRUE);
    ::SetLastError(error);
    return requested;
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
        auto record = std::make_unique<Overlapped>();
        record->done.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!record->done.valid()) {
            const DWORD error = ::GetLastError();
            ::CloseHandle(h);
            ::SetLastError(error);
            return kInvalidFileHandle;
        }
        std::lock_guard lock(mutex_);
        overlapped_[handle] = std::move(record);
    }
    return handle;
}

bool Win32UsbPrinterDriver::CloseHandle(FileHandle handle) {
    if (Refused(handle)) {
        return false;
    }
    // A close that succeeds leaves the last-error value alone: the caller closes after a transfer has failed
    // and still reads that failure (ERROR_TIMEOUT after a time-out), which the wait below would overwrite.
    const DWORD error = ::GetLastError();
    std::unique_ptr<Overlapped> record;
    {
        std::lock_guard lock(mutex_);
        auto it = overlapped_.find(handle);
        if (it != overlapped_.end()) {
            record = std::move(it->second);
            overlapped_.erase(it);
        }
    }
    if (record) {
        EndTransfer(handle, *record);  // the record must outlive the transfer that writes into it
    }
    if (!::CloseHandle(H(handle))) {
        return false;
    }
    ::SetLastError(error);
    return true;
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
        ok = ::DeviceIoControl(H(handle), code, nullptr, 0, output, outputSize, nullptr, &ov);
        if (ok || ::GetLastError() == ERROR_IO_PENDING) {
            ok = ::GetOverlappedResult(H(handle), &ov, &n, TRUE);  // the count, also of one that ended at once
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
        if (record->started && !HasOverlappedIoCompleted(&record->ov)) {
            // One transfer per handle at a time: the running one still owns the record.
            ::SetLastError(ERROR_INVALID_ACCESS);
            return false;
        }
        record->ov = OVERLAPPED{};
        record->ov.hEvent = record->done.get();
        record->started = true;
        // An overlapped request's count argument is not to be relied on, even when it ends at once: the count
        // is taken from the record.
        ok = call(H(handle), nullptr, &record->ov);
        if (ok) {
            ok = ::GetOverlappedResult(H(handle), &record->ov, &n, FALSE);
        }
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
    return StartTransfer(handle, count,
                         [&](HANDLE h, DWORD* n, OVERLAPPED* ov) { return ::ReadFile(h, buffer, length, n, ov); });
}

bool Win32UsbPrinterDriver::WriteFile(FileHandle handle,
                                      const std::uint8_t* data,
                                      std::uint32_t length,
                                      std::uint32_t& count) {
    return StartTransfer(handle, count,
                         [&](HANDLE h, DWORD* n, OVERLAPPED* ov) { return ::WriteFile(h, data, length, n, ov); });
}

WaitResult Win32UsbPrinterDriver::WaitForHandle(FileHandle handle, std::uint32_t timeoutMs) {
    if (Refused(handle)) {
        return WaitResult::Failed;
    }
    Overlapped* record = OverlappedOf(handle);
    if (record && !record->started) {
        return WaitResult::Signalled;  // nothing pending
    }
    switch (::WaitForSingleObject(record ? record->done.get() : H(handle), timeoutMs)) {
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
    if (Refused(handle)) {
        return false;
    }
    // As for a close: a cancel that succeeds leaves the caller's last-error value alone.
    const DWORD error = ::GetLastError();
    Overlapped* record = OverlappedOf(handle);
    // Without a record the handle is the port library's: its transfers and their records are the library's own.
    if (!(record ? EndTransfer(handle, *record) : ::CancelIo(H(handle)))) {
        return false;
    }
    ::SetLastError(error);
    return true;
}

std::uint32_t Win32UsbPrinterDriver::GetLastError() {
    return MapError(::GetLastError());
}

void Win32UsbPrinterDriver::SetLastError(std::uint32_t error) {
    ::SetLastError(error);
}

}  // namespace platform::win32
