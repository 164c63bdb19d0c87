#pragma once
// 8-bit text in the system code page (the platform's "ANSI" code page). Non-blocking, any thread.
// Characters the code page cannot hold become "?"; bytes that spell nothing become U+FFFD or are dropped.

#include <cstdint>
#include <string>

namespace platform {

class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::uint32_t SystemCodePage() = 0;
    virtual std::string ToSystem(const std::wstring& text) = 0;
    virtual std::wstring FromSystem(const std::string& bytes) = 0;
};

}  // namespace platform
