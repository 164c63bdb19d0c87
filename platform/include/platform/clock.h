#pragma once
// The clock: tick count, local date and time, sleeping.
// In the sim the clock is virtual: it moves only when every thread taking part in the run is waiting on it,
// and then jumps to the earliest wake-up time, so long waits cost nothing and durations are exact.
// All calls are safe from any thread.

#include <cstdint>

namespace platform {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since start-up; wraps at 2^32 like the platform's tick count.
    virtual std::uint32_t TickCount() = 0;
    virtual LocalTime Now() = 0;
    // Blocks the calling thread for ms milliseconds (0 only yields).
    virtual void Sleep(std::uint32_t ms) = 0;
    // One more thread takes part in the run: called by the creator just before the thread starts (so the
    // virtual clock cannot move past it before it runs); the thread itself calls DetachThread as its last
    // clock call. The thread that created the sim clock takes part from the start. No-ops on a real clock.
    virtual void AttachThread() = 0;
    virtual void DetachThread() = 0;
    // Brackets a blocking wait that is not a Sleep (joining a thread), so the virtual clock may move meanwhile.
    virtual void BeginExternalWait() = 0;
    virtual void EndExternalWait() = 0;
};

}  // namespace platform
