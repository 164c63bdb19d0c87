#include "platform/win32/thread_state_win32.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

std::uint32_t Win32ThreadState::CurrentThreadId() {
    return ::GetCurrentThreadId();
}

void Win32ThreadState::SetLastError(std::uint32_t error) {
    ::SetLastError(error);
}

std::uint32_t Win32ThreadState::GetLastError() {
    return ::GetLastError();
}

}  // namespace platform::win32
