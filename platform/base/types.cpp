#include "platform/types.h"

#include "platform/text.h"

namespace platform {

// what() carries the message as UTF-8 so that a handler that only sees std::exception still shows it.
Exception::Exception(std::wstring message) : std::runtime_error(WideToUtf8(message)), message_(std::move(message)) {}

ExternalException::ExternalException(std::uint32_t code, std::wstring detail)
    : Exception(std::move(detail)), code_(code) {}

}  // namespace platform
