#pragma once
// The system's own per-thread state: the thread id and the last-error value that every Win32 call shares.

#include "platform/thread_state.h"

namespace platform::win32 {

class Win32ThreadState : public ThreadState {
public:
    std::uint32_t CurrentThreadId() override;
    void SetLastError(std::uint32_t error) override;
    std::uint32_t GetLastError() override;
};

}  // namespace platform::win32
