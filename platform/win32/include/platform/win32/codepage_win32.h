#pragma once
// The system's "ANSI" code page conversions.

#include "platform/codepage.h"

namespace platform::win32 {

class Win32CodePage : public CodePage {
public:
    std::uint32_t SystemCodePage() override;
    std::string ToSystem(const std::wstring& text) override;
    std::wstring FromSystem(const std::string& bytes) override;
};

}  // namespace platform::win32
