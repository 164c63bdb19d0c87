#pragma once
// The simulated per-thread state: ids handed out 1, 2, 3, ... in the order in which threads first ask, and
// one last-error value per thread. Thread-safe.

#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

#include "platform/thread_state.h"

namespace platform::sim {

class SimThreadState : public ThreadState {
public:
    std::uint32_t CurrentThreadId() override;
    void SetLastError(std::uint32_t error) override;
    std::uint32_t GetLastError() override;

private:
    struct Entry {
        std::uint32_t id = 0;
        std::uint32_t lastError = 0;
    };
    Entry& Mine();  // with mutex_ held

    std::mutex mutex_;
    std::map<std::thread::id, Entry> threads_;
    std::uint32_t nextId_ = 1;
};

}  // namespace platform::sim
