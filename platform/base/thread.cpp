#include "platform/thread.h"

#include <system_error>

#include "platform/clock.h"
#include "platform/platform.h"

namespace platform {

Thread::~Thread() {
    WaitFor();
}

void Thread::Start() {
    if (started_) {
        return;
    }
    started_ = true;
    // Attached before the thread exists, so the virtual clock cannot run ahead of a thread that has not yet
    // had its first chance to run.
    clock().AttachThread();
    try {
        thread_ = std::thread(&Thread::Run, this);
    } catch (const std::system_error&) {
        finished_.store(true, std::memory_order_release);
        clock().DetachThread();
    }
}

void Thread::Run() {
    try {
        Execute();
    } catch (...) {
        // An exception ends the thread quietly; the creator sees only Finished.
    }
    // Finished before leaving the clock: a poller woken by our leaving must already see it.
    finished_.store(true, std::memory_order_release);
    clock().DetachThread();
}

void Thread::WaitFor() {
    if (!thread_.joinable()) {
        return;
    }
    if (Finished()) {
        // Only the clock detach is left: no time must pass for the other sleepers while we join.
        thread_.join();
        return;
    }
    clock().BeginExternalWait();
    thread_.join();
    clock().EndExternalWait();
}

}  // namespace platform
