#pragma once
// The seven operations of the port library QVP_RW as its module exports them: undecorated names, __stdcall,
// handles pointer-sized. Both the program's binding (port_library_win32.cpp) and the stand-in library that the
// tests build from the virtual printer use these types, so the two cannot drift apart.

#include <cstdint>

namespace platform::win32::qvp {

inline constexpr const wchar_t* kModuleName = L"QVP_RW";

using Handle = std::intptr_t;  // a system file handle; -1 when a port cannot be opened

using USBPrintRefreshFn = std::int32_t(__stdcall*)();
using GetUSBPrintFileNameFn = std::int32_t(__stdcall*)(std::int32_t index, char* buffer, std::uint32_t* length);
using GetUSBHWIDFn = std::int32_t(
    __stdcall*)(std::int32_t index, char* portBuffer, std::uint32_t portLength, char* idBuffer, std::uint32_t idLength);
using OpenPrinterUSBPortFn = Handle(__stdcall*)(std::int32_t port);
using WritePortFn = std::int32_t(__stdcall*)(Handle handle,
                                             const std::uint8_t* data,
                                             std::int32_t length,
                                             std::int32_t timeoutMs);
using ReadPortFn = std::int32_t(__stdcall*)(Handle handle,
                                            std::uint8_t* buffer,
                                            std::int32_t length,
                                            std::int32_t timeoutMs);
using CloseUSBPortFn = void(__stdcall*)(Handle handle);

}  // namespace platform::win32::qvp
