#pragma once
// A worker thread in the program's style: created suspended, started once, polled for Finished, then freed
// by its creator. The thread takes part in the platform clock (so the sim's virtual clock waits for it).

#include <atomic>
#include <thread>

namespace platform {

class Thread {
public:
    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Waits for a started thread to end.
    virtual ~Thread();

    // Starts Execute on a new thread; a second call does nothing.
    void Start();
    // True once Execute has returned (or thrown: an exception ends the thread quietly).
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Blocks until the thread has finished (immediately when never started).
    void WaitFor();

protected:
    virtual void Execute() = 0;

private:
    void Run();
    std::thread thread_;
    std::atomic<bool> finished_{false};
    bool started_ = false;
};

}  // namespace platform
