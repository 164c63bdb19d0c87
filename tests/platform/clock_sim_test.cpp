#include "platform/sim/clock_sim.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace platform::sim {
namespace {

bool SameTime(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second && a.millisecond == b.millisecond;
}

std::string Show(const LocalTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second, t.millisecond);
    return buffer;
}

TEST(SimClockTest, SleepMovesVirtualTimeExactlyAndCostsNoRealTime) {
    SimClock clock;
    const auto realStart = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
        clock.Sleep(120);  // 120000 ms in all
    }
    clock.Sleep(0);
    EXPECT_EQ(clock.Elapsed(), 120000u);
    EXPECT_EQ(clock.TickCount(), 120000u);
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(5));
}

TEST(SimClockTest, SleepZeroDoesNotMoveTime) {
    SimClock clock;
    clock.Sleep(0);
    EXPECT_EQ(clock.Elapsed(), 0u);
}

TEST(SimClockTest, TickCountWrapsAt32Bits) {
    SimClock clock;
    const std::uint32_t start = 0xFFFFFFF0u;
    clock.SetTickCountStart(start);
    EXPECT_EQ(clock.TickCount(), start);
    clock.Sleep(0x20);
    EXPECT_EQ(clock.TickCount(), 0x10u);
    // The program's time-outs subtract tick counts; across the wrap the difference must stay right.
    EXPECT_EQ(static_cast<std::uint32_t>(clock.TickCount() - start), 0x20u);
}

TEST(SimClockTest, CalendarArithmetic) {
    struct Case {
        const char* name;
        LocalTime start;
        std::uint64_t ms;
        LocalTime expected;
    };
    const Case cases[] = {
        {"same day", {2024, 5, 10, 8, 30, 0, 0}, 3'661'001, {2024, 5, 10, 9, 31, 1, 1}},
        {"month end", {2024, 1, 31, 23, 59, 59, 999}, 1, {2024, 2, 1, 0, 0, 0, 0}},
        {"leap day", {2024, 2, 28, 12, 0, 0, 0}, 86'400'000, {2024, 2, 29, 12, 0, 0, 0}},
        {"no leap day", {2023, 2, 28, 12, 0, 0, 0}, 86'400'000, {2023, 3, 1, 12, 0, 0, 0}},
        {"century without leap day", {2100, 2, 28, 0, 0, 0, 0}, 86'400'000, {2100, 3, 1, 0, 0, 0, 0}},
        {"leap century", {2000, 2, 28, 0, 0, 0, 0}, 86'400'000, {2000, 2, 29, 0, 0, 0, 0}},
        {"year end", {2023, 12, 31, 23, 0, 0, 0}, 7'200'000, {2024, 1, 1, 1, 0, 0, 0}},
        {"30-day month", {2024, 4, 30, 22, 0, 0, 0}, 3 * 3'600'000, {2024, 5, 1, 1, 0, 0, 0}},
        {"many days", {2024, 1, 1, 0, 0, 0, 0}, 366ull * 86'400'000, {2025, 1, 1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LocalTime got = AddMilliseconds(c.start, c.ms);
        EXPECT_TRUE(SameTime(got, c.expected)) << Show(got) << " instead of " << Show(c.expected);
    }
}

TEST(SimClockTest, NowFollowsVirtualTimeAcrossAMonthEnd) {
    SimClock clock;
    clock.SetStartTime({2024, 3, 31, 23, 59, 58, 500});
    clock.Sleep(2000);
    const LocalTime now = clock.Now();
    EXPECT_TRUE(SameTime(now, {2024, 4, 1, 0, 0, 0, 500})) << Show(now);
}

struct TwoThreadRun {
    std::vector<std::uint32_t> a, b;
    std::uint64_t end = 0;
};

// A sleeps 50 three times; B, a second participant, sleeps 20 and 30 and leaves. The two meet at 50.
TwoThreadRun RunTwoThreads() {
    SimClock clock;
    TwoThreadRun run;
    clock.AttachThread();
    std::thread b([&] {
        clock.Sleep(20);
        run.b.push_back(clock.TickCount());
        clock.Sleep(30);
        run.b.push_back(clock.TickCount());
        clock.DetachThread();
    });
    for (int i = 0; i < 3; ++i) {
        clock.Sleep(50);
        run.a.push_back(clock.TickCount());
    }
    b.join();
    run.end = clock.Elapsed();
    return run;
}

TEST(SimClockTest, TwoThreadsWakeAtExactTimesEveryRun) {
    for (int repetition = 0; repetition < 100; ++repetition) {
        SCOPED_TRACE(repetition);
        const TwoThreadRun run = RunTwoThreads();
        EXPECT_EQ(run.a, (std::vector<std::uint32_t>{50, 100, 150}));
        EXPECT_EQ(run.b, (std::vector<std::uint32_t>{20, 50}));
        EXPECT_EQ(run.end, 150u);
        if (testing::Test::HasFailure()) {
            break;
        }
    }
}

TEST(SimClockTest, TiedSleepersAllWakeAtTheirTime) {
    SimClock clock;
    constexpr int kWorkers = 4;
    std::vector<std::uint32_t> wakes(kWorkers);
    std::vector<std::thread> workers;
    for (int i = 0; i < kWorkers; ++i) {
        clock.AttachThread();
        workers.emplace_back([&, i] {
            clock.Sleep(70);
            wakes[i] = clock.TickCount();
            clock.DetachThread();
        });
    }
    clock.Sleep(70);
    // Tied sleepers run one after another, so joining them is a wait the clock must know about.
    clock.BeginExternalWait();
    for (auto& w : workers) {
        w.join();
    }
    clock.EndExternalWait();
    EXPECT_EQ(clock.TickCount(), 70u);
    EXPECT_EQ(wakes, std::vector<std::uint32_t>(kWorkers, 70));
}

// The program's own pattern: the creator polls a worker with 50 ms sleeps until it has finished.
TEST(SimClockTest, PollingAnAttachedWorker) {
    for (int repetition = 0; repetition < 100; ++repetition) {
        SCOPED_TRACE(repetition);
        SimClock clock;
        std::atomic<bool> done{false};
        std::uint32_t workerStart = 0xFFFFFFFFu;
        std::uint32_t workerEnd = 0;
        // Attached before the thread runs: the creator's first sleep must not run past the worker's start.
        clock.AttachThread();
        std::thread worker([&] {
            workerStart = clock.TickCount();
            clock.Sleep(120);
            workerEnd = clock.TickCount();
            done.store(true);
            clock.DetachThread();
        });
        int polls = 0;
        while (!done.load()) {
            clock.Sleep(50);
            ++polls;
        }
        worker.join();
        ASSERT_EQ(workerStart, 0u);
        ASSERT_EQ(workerEnd, 120u);
        ASSERT_EQ(polls, 3);
        ASSERT_EQ(clock.Elapsed(), 150u);
        ASSERT_EQ(clock.Participants(), 1);
    }
}

// Regression: a poll that came due at the very moment the worker finished saw it finished in some runs and
// not in others; tied sleepers now wake one at a time, the earlier sleeper first.
TEST(SimClockTest, TiedPollSeesTheFinishedWorkerEveryRun) {
    for (int repetition = 0; repetition < 200; ++repetition) {
        SCOPED_TRACE(repetition);
        SimClock clock;
        std::atomic<bool> done{false};
        clock.AttachThread();
        std::thread worker([&] {
            clock.Sleep(100);  // asleep since 0: due at 100 together with the creator's second poll
            done.store(true);
            clock.DetachThread();
        });
        int polls = 0;
        while (!done.load()) {
            clock.Sleep(50);
            ++polls;
        }
        worker.join();
        ASSERT_EQ(polls, 2);
        ASSERT_EQ(clock.Elapsed(), 100u);
    }
}

TEST(SimClockTest, ExternalWaitLetsSleepersRun) {
    SimClock clock;
    std::uint32_t workerWake = 0;
    clock.AttachThread();
    std::thread worker([&] {
        clock.Sleep(500);
        workerWake = clock.TickCount();
        clock.DetachThread();
    });
    clock.BeginExternalWait();
    worker.join();
    clock.EndExternalWait();
    EXPECT_EQ(workerWake, 500u);
    EXPECT_EQ(clock.Elapsed(), 500u);
    // The waiter runs again: its own next sleep counts from there.
    clock.Sleep(10);
    EXPECT_EQ(clock.Elapsed(), 510u);
}

TEST(SimClockTest, ExternalWaitsAloneDoNotMoveTime) {
    SimClock clock;
    clock.BeginExternalWait();
    EXPECT_EQ(clock.Elapsed(), 0u);
    clock.EndExternalWait();
    EXPECT_EQ(clock.Sleepers(), 0);
    EXPECT_EQ(clock.Elapsed(), 0u);
}

// A busy participant holds time back even while others sleep.
TEST(SimClockTest, BusyParticipantHoldsTimeBack) {
    SimClock clock;
    std::uint32_t wake = 0;
    clock.AttachThread();
    std::thread sleeper([&] {
        clock.Sleep(1000);
        wake = clock.TickCount();
        clock.DetachThread();
    });
    while (clock.Sleepers() == 0) {
        std::this_thread::yield();
    }
    EXPECT_EQ(clock.Elapsed(), 0u);  // the creator is busy: nothing may move
    clock.Sleep(10);                 // now both wait; the earlier wake-up comes first
    EXPECT_EQ(clock.Elapsed(), 10u);
    clock.Sleep(5000);
    sleeper.join();
    EXPECT_EQ(wake, 1000u);
    EXPECT_EQ(clock.Elapsed(), 5010u);
}

}  // namespace
}  // namespace platform::sim
