#pragma once
// The virtual clock. Time stands still while any thread taking part in the run is busy; when every one of
// them is blocked in the clock (sleeping, or in an external wait such as a join), time jumps to the earliest
// wake-up and the sleeper due then wakes. Sleepers due at the same moment wake one at a time, the one that
// went to sleep first (in virtual time) first, each after the one before it has blocked again or left the run:
// so two threads never race at a tie (a poll that comes due just as the worker finishes sees the same thing
// every run). Nothing else moves time, so a run's durations are exact and repeatable, and long waits cost
// nothing.
//
// Participants: the thread that creates the clock, plus one per AttachThread until its DetachThread. A thread
// that is not a participant must not Sleep on this clock: it would count as blocked in a participant's place.
// An external wait counts as blocked from BeginExternalWait to EndExternalWait; keep it to waits that end
// without time moving on (joining a thread that is about to end), or time may jump for the other sleepers
// while the waiter wakes.
//
// When every participant waits externally and nobody sleeps, nothing moves: the threads stay blocked as they
// would on a real deadlock (no busy loop).

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>

#include "platform/clock.h"

namespace platform::sim {

class SimClock : public Clock {
public:
    SimClock();

    std::uint32_t TickCount() override;
    LocalTime Now() override;
    void Sleep(std::uint32_t ms) override;
    void AttachThread() override;
    void DetachThread() override;
    void BeginExternalWait() override;
    void EndExternalWait() override;

    // Test controls. The tick count is start + elapsed (mod 2^32); the default start is 0.
    void SetTickCountStart(std::uint32_t start);
    // Now() is this date and time plus the elapsed virtual time; default 2024-01-15 09:00:00.000.
    void SetStartTime(const LocalTime& start);
    // Virtual milliseconds since the clock was made.
    std::uint64_t Elapsed() const;
    int Participants() const;
    // Threads currently sleeping in the clock.
    int Sleepers() const;

private:
    void AdvanceIfAllBlocked();  // mutex_ held

    // A sleeper's place in the wake-up order: due time, then the virtual time it went to sleep, then arrival.
    struct Sleeper {
        std::uint64_t wakeAt;
        std::uint64_t since;
        std::uint64_t seq;
        auto operator<=>(const Sleeper&) const = default;
    };

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::uint64_t elapsed_ = 0;
    std::uint32_t tickStart_ = 0;
    LocalTime start_;
    int participants_ = 1;
    int blocked_ = 0;
    std::uint64_t nextSeq_ = 0;
    std::set<Sleeper> sleepers_;
    // The sleeper released to run and not yet resumed (at most one at a time).
    std::optional<std::uint64_t> released_;
};

// Calendar arithmetic for the clock: t plus ms milliseconds (across days, months and leap years).
LocalTime AddMilliseconds(const LocalTime& t, std::uint64_t ms);

}  // namespace platform::sim
