#include "platform/win32/clock_win32.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

std::uint32_t Win32Clock::TickCount() {
    return ::GetTickCount();
}

LocalTime Win32Clock::Now() {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

void Win32Clock::Sleep(std::uint32_t ms) {
    ::Sleep(ms);
}

}  // namespace platform::win32
