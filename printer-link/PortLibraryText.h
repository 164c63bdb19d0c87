#pragma once
// Texts that the port library leaves in the caller's buffers: zero-terminated 8-bit text in the system code
// page.

#include <cstddef>
#include <string>

// The text up to the first zero byte; a buffer without one is taken whole, never read past its size.
std::wstring PortLibraryText(const char* buffer, std::size_t size);
