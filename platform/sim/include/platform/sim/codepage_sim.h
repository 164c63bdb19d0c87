#pragma once
// The sim's system code page: 1252 by default, settable by a test to 936, 950, 932, 65001 or any other code
// page the C library's converters know as "CP<n>". Conversions never fail: characters the code page cannot
// hold become "?", bytes that spell nothing become U+FFFD.

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/codepage.h"

namespace platform::sim {

class SimCodePage : public platform::CodePage {
public:
    SimCodePage() = default;

    void SetSystemCodePage(std::uint32_t codePage) { codePage_ = codePage; }

    std::uint32_t SystemCodePage() override { return codePage_; }
    std::string ToSystem(const std::wstring& text) override;
    std::wstring FromSystem(const std::string& bytes) override;

    // The same conversions for a named code page, whatever the system one is.
    static std::string ToCodePage(std::uint32_t codePage, const std::wstring& text);
    static std::wstring FromCodePage(std::uint32_t codePage, const std::string& bytes);

private:
    std::atomic<std::uint32_t> codePage_{1252};
};

}  // namespace platform::sim
