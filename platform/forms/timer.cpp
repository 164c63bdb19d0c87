#include "platform/forms/timer.h"

#include "platform/forms/backend.h"

namespace platform::forms {

Timer::Timer(Component* owner) : Component(owner, ComponentKind::Timer) {
    Update();
}

Timer::~Timer() {
    if (running_) {
        running_ = false;
        backend().StopTimer(*this);
    }
    DestroyComponents();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    Update();
}

void Timer::SetInterval(std::uint32_t interval) {
    if (interval == interval_) {
        return;
    }
    interval_ = interval;
    Update();
}

void Timer::Update() {
    if (running_) {
        running_ = false;
        backend().StopTimer(*this);
    }
    if (enabled_ && interval_ > 0) {
        running_ = true;
        backend().StartTimer(*this);
    }
}

void Timer::Fire() {
    if (running_ && OnTimer) {
        OnTimer(*this);
    }
}

}  // namespace platform::forms
