#pragma once
// A timer: runs OnTimer every Interval milliseconds while Enabled (the default) and Interval is above 0.
// Counting starts when it is enabled or its interval changes; setting the same value again changes nothing.
// It fires only while the user-interface thread handles window messages (Application::ProcessMessages, a modal
// wait, the application's message loop), never in the middle of other code, and a tick missed meanwhile
// fires once, not once per missed interval.

#include <cstdint>

#include "platform/forms/component.h"

namespace platform::forms {

class Timer : public Component {
public:
    explicit Timer(Component* owner);
    ~Timer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t interval);
    // Whether the backend is counting for it.
    bool Running() const { return running_; }

    NotifyEvent OnTimer;

    // One tick. Called by a backend, inside Application::Dispatch.
    void Fire();

private:
    void Update();

    bool enabled_ = true;
    std::uint32_t interval_ = 1000;
    bool running_ = false;
};

}  // namespace platform::forms
