#include "PortLibraryText.h"

#include <cstring>

#include "platform/codepage.h"
#include "platform/platform.h"

std::wstring PortLibraryText(const char* buffer, std::size_t size) {
    const void* end = std::memchr(buffer, '\0', size);
    const std::size_t n = end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer) : size;
    return platform::codePage().FromSystem(std::string(buffer, n));
}
