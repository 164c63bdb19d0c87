#pragma once
// The USB printer class driver as the program reaches it: device paths opened as files, the status request,
// overlapped transfers waited on through the file handle itself, and the thread's last-error value.
//
// Handles are the platform's file handles, shared with the port library (port_library.h): a handle that the
// library's OpenPrinterUSBPort gives may be passed to CancelIo and CloseHandle here.
//
// Every call runs on the calling thread. Failures show in the result and in the calling thread's last-error
// value (platform error codes below); no call throws.

#include <cstdint>
#include <string>

namespace platform {

// A system file handle. kInvalidFileHandle (-1) is what a failed open gives; 0 is never a valid handle either.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kInvalidFileHandle = -1;
inline bool IsValidFileHandle(FileHandle h) {
    return h != kInvalidFileHandle && h != 0;
}

// The platform's error codes that the program looks at or that the sim reports.
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorInvalidFunction = 1;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorInvalidHandle = 6;
inline constexpr std::uint32_t kErrorInvalidAccess = 12;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kErrorOperationAborted = 995;
inline constexpr std::uint32_t kErrorIoIncomplete = 996;
inline constexpr std::uint32_t kErrorIoPending = 997;
inline constexpr std::uint32_t kErrorDeviceNotConnected = 1167;
inline constexpr std::uint32_t kErrorTimeout = 1460;

// The class driver's status request: no input, one status byte out.
inline constexpr std::uint32_t kIoctlUsbprintGetLptStatus = 0x220030;

enum class WaitResult { Signalled, TimedOut, Failed };

class UsbPrinterDriver {
public:
    virtual ~UsbPrinterDriver() = default;

    // Opens a device path ("\\?\usb#...") as the platform's file-open call does: reading and writing, shared
    // for reading and writing, existing only, normal attributes; overlapped selects overlapped transfers.
    // Blocks briefly. kInvalidFileHandle on failure (last-error kErrorFileNotFound for an unknown or unplugged
    // device). Not named after that call, whose name the platform's headers turn into a macro.
    virtual FileHandle OpenDevice(const std::wstring& devicePath, bool overlapped) = 0;
    // True when closed; false (kErrorInvalidHandle) for a handle that is not open. A transfer still running ends
    // first, as by CancelIo. A close that succeeds leaves the last-error value as it was, so that a caller who
    // closes after a failed transfer still reads that failure.
    virtual bool CloseHandle(FileHandle handle) = 0;

    // A control request on a device handle. For kIoctlUsbprintGetLptStatus: output receives one status byte
    // and bytesReturned 1. Blocks briefly. False on failure (kErrorInvalidFunction for an unknown code,
    // kErrorInsufficientBuffer for no room, kErrorInvalidHandle, kErrorDeviceNotConnected).
    virtual bool DeviceIoControl(FileHandle handle,
                                 std::uint32_t code,
                                 std::uint8_t* output,
                                 std::uint32_t outputSize,
                                 std::uint32_t& bytesReturned) = 0;

    // Transfers. On a handle opened without overlapped they complete before returning. On an overlapped handle
    // a transfer that cannot complete at once returns false with last-error kErrorIoPending: it then runs on,
    // one per handle at a time, until it completes or CancelIo ends it, and the buffer must stay valid (and the
    // bytes stay unread by the caller) until then. count is what completed at once (0 when pending).
    virtual bool ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t length, std::uint32_t& count) = 0;
    virtual bool WriteFile(FileHandle handle, const std::uint8_t* data, std::uint32_t length, std::uint32_t& count) = 0;

    // Waits on the handle itself until its pending transfer completes or timeoutMs pass. Blocks the calling
    // thread (through the platform clock). Signalled also when nothing is pending; Failed for a bad handle.
    virtual WaitResult WaitForHandle(FileHandle handle, std::uint32_t timeoutMs) = 0;
    // The outcome of the handle's last transfer, without waiting: true with the count of a completed one;
    // false with kErrorIoIncomplete while it still runs (count: the bytes moved so far) or with its error.
    virtual bool GetOverlappedResult(FileHandle handle, std::uint32_t& count) = 0;
    // Ends the handle's pending transfers; bytes the device still has queued for the host stay queued for the
    // next read. Blocks until a cancelled transfer that ReadFile or WriteFile started has ended (its outcome,
    // kErrorOperationAborted most often, then shows in GetOverlappedResult); leaves the last-error value as it
    // was. False (kErrorInvalidHandle) for a handle that is not open.
    virtual bool CancelIo(FileHandle handle) = 0;

    // The calling thread's last-error value, shared with every platform call that sets one.
    virtual std::uint32_t GetLastError() = 0;
    virtual void SetLastError(std::uint32_t error) = 0;
};

}  // namespace platform
