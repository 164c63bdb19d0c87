#include "platform/sim/clock_sim.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <thread>

namespace platform::sim {

namespace {
constexpr std::int64_t kMsPerDay = 86'400'000;
}  // namespace

LocalTime AddMilliseconds(const LocalTime& t, std::uint64_t ms) {
    using namespace std::chrono;
    const sys_days startDay{year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)}};
    const std::int64_t msOfDay =
        ((static_cast<std::int64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
    const std::int64_t total = msOfDay + static_cast<std::int64_t>(ms);
    const sys_days resultDay = startDay + days{total / kMsPerDay};
    std::int64_t rest = total % kMsPerDay;

    const year_month_day ymd{resultDay};
    LocalTime r;
    r.year = static_cast<int>(ymd.year());
    r.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    r.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    r.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    r.second = static_cast<int>(rest % 60);
    rest /= 60;
    r.minute = static_cast<int>(rest % 60);
    r.hour = static_cast<int>(rest / 60);
    return r;
}

SimClock::SimClock() {
    start_.year = 2024;
    start_.month = 1;
    start_.day = 15;
    start_.hour = 9;
}

std::uint32_t SimClock::TickCount() {
    std::lock_guard lock(mutex_);
    return static_cast<std::uint32_t>(tickStart_ + elapsed_);
}

LocalTime SimClock::Now() {
    std::lock_guard lock(mutex_);
    return AddMilliseconds(start_, elapsed_);
}

void SimClock::Sleep(std::uint32_t ms) {
    if (ms == 0) {
        std::this_thread::yield();
        return;
    }
    std::unique_lock lock(mutex_);
    const Sleeper me{elapsed_ + ms, elapsed_, nextSeq_++};
    sleepers_.insert(me);
    ++blocked_;
    AdvanceIfAllBlocked();
    wake_.wait(lock, [&] { return released_ == me.seq; });
    released_.reset();
}

void SimClock::AttachThread() {
    std::lock_guard lock(mutex_);
    ++participants_;
}

void SimClock::DetachThread() {
    std::lock_guard lock(mutex_);
    assert(participants_ > 0);
    --participants_;
    AdvanceIfAllBlocked();
}

void SimClock::BeginExternalWait() {
    std::lock_guard lock(mutex_);
    ++blocked_;
    AdvanceIfAllBlocked();
}

void SimClock::EndExternalWait() {
    std::lock_guard lock(mutex_);
    assert(blocked_ > 0);
    --blocked_;
}

void SimClock::SetTickCountStart(std::uint32_t start) {
    std::lock_guard lock(mutex_);
    tickStart_ = start;
}

void SimClock::SetStartTime(const LocalTime& start) {
    std::lock_guard lock(mutex_);
    start_ = start;
}

std::uint64_t SimClock::Elapsed() const {
    std::lock_guard lock(mutex_);
    return elapsed_;
}

int SimClock::Participants() const {
    std::lock_guard lock(mutex_);
    return participants_;
}

int SimClock::Sleepers() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(sleepers_.size());
}

void SimClock::AdvanceIfAllBlocked() {
    // A released sleeper stops counting as blocked at once, so one step always leaves someone running; the
    // next one is released only when that one has blocked again or left.
    if (released_ || blocked_ < participants_ || sleepers_.empty()) {
        return;
    }
    const Sleeper next = *sleepers_.begin();
    sleepers_.erase(sleepers_.begin());
    --blocked_;
    elapsed_ = std::max(elapsed_, next.wakeAt);
    released_ = next.seq;
    wake_.notify_all();
}

}  // namespace platform::sim
