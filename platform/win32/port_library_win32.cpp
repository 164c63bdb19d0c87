#include "platform/win32/port_library_win32.h"

#include "platform/types.h"
#include "platform/win32/qvp_rw_abi.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

constexpr const char* kOperationNames[] = {
    "USBPrintRefresh", "GetUSBPrintFileName", "GetUSBHWID", "OpenPrinterUSBPort", "WritePort",
    "ReadPort",        "CloseUSBPort",
};

template <typename Fn>
Fn As(void* entry) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace

Win32PortLibrary::~Win32PortLibrary() {
    if (module_) {
        ::FreeLibrary(static_cast<HMODULE>(module_));
    }
}

void* Win32PortLibrary::Bind(Operation operation) {
    if (void* entry = entries_[operation].load(std::memory_order_acquire)) {
        return entry;
    }
    std::lock_guard lock(mutex_);
    if (!module_) {
        module_ = ::LoadLibraryW(qvp::kModuleName);
        if (!module_) {
            throw ExternalException(kDelayLoadModuleNotFound, L"QVP_RW.dll not found");
        }
    }
    auto* entry = reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module_), kOperationNames[operation]));
    if (!entry) {
        std::wstring name;
        for (const char* c = kOperationNames[operation]; *c; ++c) {
            name += static_cast<wchar_t>(*c);
        }
        throw ExternalException(kDelayLoadProcNotFound, name + L" not found in QVP_RW.dll");
    }
    entries_[operation].store(entry, std::memory_order_release);
    return entry;
}

std::int32_t Win32PortLibrary::USBPrintRefresh() {
    return As<qvp::USBPrintRefreshFn>(Bind(kUSBPrintRefresh))();
}

std::int32_t Win32PortLibrary::GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& length) {
    return As<qvp::GetUSBPrintFileNameFn>(Bind(kGetUSBPrintFileName))(index, buffer, &length);
}

std::int32_t Win32PortLibrary::GetUSBHWID(std::int32_t index,
                                          char* portBuffer,
                                          std::uint32_t portLength,
                                          char* idBuffer,
                                          std::uint32_t idLength) {
    return As<qvp::GetUSBHWIDFn>(Bind(kGetUSBHWID))(index, portBuffer, portLength, idBuffer, idLength);
}

FileHandle Win32PortLibrary::OpenPrinterUSBPort(std::int32_t port) {
    return As<qvp::OpenPrinterUSBPortFn>(Bind(kOpenPrinterUSBPort))(port);
}

std::int32_t Win32PortLibrary::WritePort(FileHandle handle,
                                         const std::uint8_t* data,
                                         std::int32_t length,
                                         std::int32_t timeoutMs) {
    return As<qvp::WritePortFn>(Bind(kWritePort))(handle, data, length, timeoutMs);
}

std::int32_t Win32PortLibrary::ReadPort(FileHandle handle,
                                        std::uint8_t* buffer,
                                        std::int32_t length,
                                        std::int32_t timeoutMs) {
    return As<qvp::ReadPortFn>(Bind(kReadPort))(handle, buffer, length, timeoutMs);
}

void Win32PortLibrary::CloseUSBPort(FileHandle handle) {
    As<qvp::CloseUSBPortFn>(Bind(kCloseUSBPort))(handle);
}

}  // namespace platform::win32
