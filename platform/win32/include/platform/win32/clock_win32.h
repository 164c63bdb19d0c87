#pragma once
// The system clock: tick count, local time and sleeping on the calling thread. Real time, so the thread
// bookkeeping that the virtual clock needs does nothing here.

#include "platform/clock.h"

namespace platform::win32 {

class Win32Clock : public Clock {
public:
    std::uint32_t TickCount() override;
    LocalTime Now() override;
    void Sleep(std::uint32_t ms) override;
    void AttachThread() override {}
    void DetachThread() override {}
    void BeginExternalWait() override {}
    void EndExternalWait() override {}
};

}  // namespace platform::win32
