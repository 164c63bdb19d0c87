#pragma once
// QVP_RW, the printer maker's USB port library. The module is loaded by name at the first call of any of
// its operations, and each operation is looked up by name at its own first call. When the module or the
// operation cannot be found, that call throws platform::ExternalException with kDelayLoadModuleNotFound or
// kDelayLoadProcNotFound, and the next call tries to load again; nothing else throws.
//
// Texts in the buffers are zero-terminated 8-bit text in the system code page. Handles are the platform's
// file handles (usb_printer.h): the worker may CancelIo one, a dialog may close one with CloseHandle.
// Every call runs on the calling thread (the user-interface thread or the exchange worker) and blocks it
// briefly, except where a wait is said. Failures show in the result and set the calling thread's last-error
// value (UsbPrinterDriver::GetLastError).

#include <cstdint>

#include "platform/usb_printer.h"

namespace platform {

inline constexpr std::uint32_t kDelayLoadModuleNotFound = 0xC06D007E;
inline constexpr std::uint32_t kDelayLoadProcNotFound = 0xC06D007F;

class PortLibrary {
public:
    virtual ~PortLibrary() = default;

    // Lists the USB printers afresh; indexes 0 to count - 1 address them in the calls below. Blocks briefly.
    virtual std::int32_t USBPrintRefresh() = 0;
    // The device path of printer index into buffer (at most length bytes, terminator included). length is
    // left as it is. Non-zero on success; an index outside the list leaves the buffer untouched.
    virtual std::int32_t GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& length) = 0;
    // The spooler port name ("USB001") and the IEEE 1284 device id ("MFG:...;MDL:...;") of printer index.
    virtual std::int32_t GetUSBHWID(std::int32_t index,
                                    char* portBuffer,
                                    std::uint32_t portLength,
                                    char* idBuffer,
                                    std::uint32_t idLength) = 0;

    // Opens port number port (the printer's index + 1). kInvalidFileHandle (-1) when it cannot be opened.
    virtual FileHandle OpenPrinterUSBPort(std::int32_t port) = 0;
    // Writes length bytes, waiting up to timeoutMs. The count written, -2 on failure.
    virtual std::int32_t WritePort(FileHandle handle,
                                   const std::uint8_t* data,
                                   std::int32_t length,
                                   std::int32_t timeoutMs) = 0;
    // Reads up to length reply bytes, waiting up to timeoutMs for the first of them (through the platform
    // clock). The count read; when nothing came in time: 0 with last-error kErrorTimeout (1460). A successful
    // read leaves the last-error value as it was.
    virtual std::int32_t ReadPort(FileHandle handle,
                                  std::uint8_t* buffer,
                                  std::int32_t length,
                                  std::int32_t timeoutMs) = 0;
    virtual void CloseUSBPort(FileHandle handle) = 0;
};

}  // namespace platform
