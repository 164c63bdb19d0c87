#pragma once
// What the platform keeps per thread: the thread's id and its last-error value, the channel through which a
// COM-style call reports why it failed. Non-blocking; each thread sees only its own value.

#include <cstdint>

namespace platform {

inline constexpr std::uint32_t kErrorNotSupported = 50;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;

class ThreadState {
public:
    virtual ~ThreadState() = default;
    // The calling thread's id: non-zero, unique among the threads alive in the process.
    virtual std::uint32_t CurrentThreadId() = 0;
    virtual void SetLastError(std::uint32_t error) = 0;
    // The calling thread's last value set; 0 (success) for a thread that never set one.
    virtual std::uint32_t GetLastError() = 0;
};

}  // namespace platform
