#include "platform/sim/thread_state_sim.h"

namespace platform::sim {

SimThreadState::Entry& SimThreadState::Mine() {
    auto [it, added] = threads_.try_emplace(std::this_thread::get_id());
    if (added) {
        it->second.id = nextId_++;
    }
    return it->second;
}

std::uint32_t SimThreadState::CurrentThreadId() {
    std::lock_guard lock(mutex_);
    return Mine().id;
}

void SimThreadState::SetLastError(std::uint32_t error) {
    std::lock_guard lock(mutex_);
    Mine().lastError = error;
}

std::uint32_t SimThreadState::GetLastError() {
    std::lock_guard lock(mutex_);
    return Mine().lastError;
}

}  // namespace platform::sim
