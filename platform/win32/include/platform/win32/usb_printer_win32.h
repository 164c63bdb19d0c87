#pragma once
// The USB printer class driver through the file API: device paths opened with CreateFileW, the status
// request with DeviceIoControl, overlapped ReadFile/WriteFile.
//
// Each overlapped handle this class opens has one OVERLAPPED record with its own event, kept here until the
// handle is closed, so that a transfer can run on after the call that started it (the interface allows one per
// handle at a time); a wait on the handle waits on that event. A cancel or a close ends the record's transfer
// and waits until the system has finished with the record, since a cancelled request may still complete
// after the cancel call; either leaves the last-error value as it found it when it succeeds. Handles from
// elsewhere (the port library) have no record: their transfers run as on a handle opened without overlapped,
// a wait waits on the handle itself, and CancelIo and CloseHandle work on them directly.

#include <map>
#include <memory>
#include <mutex>

#include "platform/usb_printer.h"

namespace platform::win32 {

class Win32UsbPrinterDriver : public UsbPrinterDriver {
public:
    Win32UsbPrinterDriver();
    ~Win32UsbPrinterDriver() override;
    Win32UsbPrinterDriver(const Win32UsbPrinterDriver&) = delete;
    Win32UsbPrinterDriver& operator=(const Win32UsbPrinterDriver&) = delete;

    FileHandle OpenDevice(const std::wstring& devicePath, bool overlapped) override;
    bool CloseHandle(FileHandle handle) override;
    bool DeviceIoControl(FileHandle handle,
                         std::uint32_t code,
                         std::uint8_t* output,
                         std::uint32_t outputSize,
                         std::uint32_t& bytesReturned) override;
    bool ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t length, std::uint32_t& count) override;
    bool WriteFile(FileHandle handle, const std::uint8_t* data, std::uint32_t length, std::uint32_t& count) override;
    WaitResult WaitForHandle(FileHandle handle, std::uint32_t timeoutMs) override;
    bool GetOverlappedResult(FileHandle handle, std::uint32_t& count) override;
    bool CancelIo(FileHandle handle) override;
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t error) override;

private:
    struct Overlapped;  // wraps the system's OVERLAPPED
    // The handle's record; null when the handle was not opened overlapped here.
    Overlapped* OverlappedOf(FileHandle handle);
    // Cancels the record's transfer if it still runs and waits until it has ended, so that the record may be
    // reused or freed. Blocks until the system has finished with the request. False when the cancel could
    // not be requested (last-error set).
    static bool EndTransfer(FileHandle handle, Overlapped& record);
    // Starts a read or a write (call gets the handle, the count and the OVERLAPPED record or null), on the
    // handle's own record when it was opened overlapped; count is what completed at once.
    template <typename Call>
    bool StartTransfer(FileHandle handle, std::uint32_t& count, Call call);

    std::mutex mutex_;
    std::map<FileHandle, std::unique_ptr<Overlapped>> overlapped_;
};

}  // namespace platform::win32
