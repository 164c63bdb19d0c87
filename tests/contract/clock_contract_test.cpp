// The clock: a sleep moves the tick count by at least its length, and the local time is a valid date.
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform_under_test.h"

namespace contract {
namespace {

using ClockContract = ContractTest;

TEST_F(ClockContract, SleepMovesTheTickCount) {
    auto& clock = platform::clock();
    const std::uint32_t start = clock.TickCount();
    clock.Sleep(50);
    // Unsigned difference, as the program's time-outs take it, so a wrap in between does no harm. A real tick
    // count moves in steps of up to 16 ms, so it may show a step less than was slept.
    const std::uint32_t elapsed = clock.TickCount() - start;
    EXPECT_GE(elapsed, 50u - 16u);
    EXPECT_LT(elapsed, 5000u);
}

TEST_F(ClockContract, NowIsAValidLocalTime) {
    const platform::LocalTime t = platform::clock().Now();
    EXPECT_GE(t.year, 2000);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);
    EXPECT_GE(t.day, 1);
    EXPECT_LE(t.day, 31);
    EXPECT_LT(t.hour, 24);
    EXPECT_LT(t.minute, 60);
    EXPECT_LT(t.second, 60);
    EXPECT_LT(t.millisecond, 1000);
}

}  // namespace
}  // namespace contract
