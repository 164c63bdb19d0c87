#pragma once
// Basic value types shared by every module: bytes, and the program's own exception.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

using Bytes = std::vector<std::uint8_t>;

// The program's exception type. Raised where an operation is documented to raise (the USB port class, the
// sub-group index, menu loading, a missing port-library module); the application's handler catches it at
// event dispatch and shows Message() in a message box.
class Exception : public std::runtime_error {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const { return message_; }

private:
    std::wstring message_;
};

// A failure of an externally loaded module or one of its operations (the platform's delayed-load error).
// Code() is the exception code that "External exception %x" shows.
class ExternalException : public Exception {
public:
    ExternalException(std::uint32_t code, std::wstring detail);
    std::uint32_t Code() const { return code_; }

private:
    std::uint32_t code_;
};

}  // namespace platform
