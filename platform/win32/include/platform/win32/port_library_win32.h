#pragma once
// QVP_RW bound at run time: the module is loaded by name (LoadLibraryW) at the first call of any operation,
// each operation looked up (GetProcAddress) at its own first call. A failed load or look-up throws
// ExternalException and binds nothing, so the next call tries again; what has bound stays bound for the life
// of this object.

#include <atomic>
#include <mutex>

#include "platform/port_library.h"

namespace platform::win32 {

class Win32PortLibrary : public PortLibrary {
public:
    Win32PortLibrary() = default;
    ~Win32PortLibrary() override;
    Win32PortLibrary(const Win32PortLibrary&) = delete;
    Win32PortLibrary& operator=(const Win32PortLibrary&) = delete;

    std::int32_t USBPrintRefresh() override;
    std::int32_t GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& length) override;
    std::int32_t GetUSBHWID(std::int32_t index,
                            char* portBuffer,
                            std::uint32_t portLength,
                            char* idBuffer,
                            std::uint32_t idLength) override;
    FileHandle OpenPrinterUSBPort(std::int32_t port) override;
    std::int32_t WritePort(FileHandle handle,
                           const std::uint8_t* data,
                           std::int32_t length,
                           std::int32_t timeoutMs) override;
    std::int32_t ReadPort(FileHandle handle,
                          std::uint8_t* buffer,
                          std::int32_t length,
                          std::int32_t timeoutMs) override;
    void CloseUSBPort(FileHandle handle) override;

private:
    enum Operation {
        kUSBPrintRefresh,
        kGetUSBPrintFileName,
        kGetUSBHWID,
        kOpenPrinterUSBPort,
        kWritePort,
        kReadPort,
        kCloseUSBPort,
        kOperationCount
    };
    // The operation's entry point; throws when the module or the operation cannot be found.
    void* Bind(Operation operation);

    std::mutex mutex_;
    void* module_ = nullptr;  // the loaded module (HMODULE)
    std::atomic<void*> entries_[kOperationCount] = {};
};

}  // namespace platform::win32
