// The backend's own work: native windows, timers on the virtual clock, event loops and message pumps. The
// scripted user lives in forms_headless_script.cpp, the text metrics in forms_headless_metrics.cpp.
#include "platform/sim/forms_headless.h"

#include <algorithm>

#include "platform/forms/timer.h"
#include "platform/sim/clock_sim.h"
#include "platform/text.h"

namespace platform::sim {

using namespace platform::forms;

HeadlessForms::HeadlessForms(SimClock& clock, SimMessageBoxes& boxes) : clock_(clock), boxes_(boxes) {
    boxes_.SetHandler([this](const ShownBox& box) { return AnswerBox(box); });
}

HeadlessForms::~HeadlessForms() {
    boxes_.SetHandler(nullptr);
    // The platform is going away; the forms the application still owns go without their destroy handlers.
    application().DestroyForms(false);
}

void HeadlessForms::CreateNative(Control& control) {
    natives_.insert(&control);
}

bool HeadlessForms::TopLevelWindowExists(const std::wstring& className) {
    for (const Control* control : natives_) {
        if (control->Kind() == ComponentKind::Form && !control->Parent() &&
            SameText(static_cast<const Form*>(control)->ClassName(), className)) {
            return true;
        }
    }
    return std::any_of(otherWindows_.begin(), otherWindows_.end(),
                       [&](const std::wstring& other) { return SameText(other, className); });
}

void HeadlessForms::CloseOtherProgramWindow(const std::wstring& className) {
    const auto it = std::find_if(otherWindows_.begin(), otherWindows_.end(),
                                 [&](const std::wstring& other) { return SameText(other, className); });
    if (it != otherWindows_.end()) {
        otherWindows_.erase(it);
    }
}

void HeadlessForms::DestroyNative(Control& control) {
    natives_.erase(&control);
    if (keyboardForm_ == &control) {
        keyboardForm_ = nullptr;
    }
    if (hovered_ == &control) {
        hovered_ = nullptr;
    }
}

void HeadlessForms::UpdateNative(Control& control, Change) {
    if (!natives_.count(&control)) {
        throw FatalError("forms backend: update of a control without a native window: " + WideToUtf8(control.Name()));
    }
}

std::uint64_t HeadlessForms::Now() const {
    return clock_.Elapsed();
}

void HeadlessForms::SleepUntil(std::uint64_t when) {
    const std::uint64_t now = Now();
    if (when > now) {
        clock_.Sleep(static_cast<std::uint32_t>(std::min<std::uint64_t>(when - now, 0xFFFFFFFEu)));
    }
}

void HeadlessForms::StartTimer(Timer& timer) {
    timers_[&timer] = {Now() + timer.Interval(), ++timerOrder_};
}

void HeadlessForms::StopTimer(Timer& timer) {
    timers_.erase(&timer);
}

Timer* HeadlessForms::NextDue(std::uint64_t by) const {
    Timer* best = nullptr;
    const TimerState* bestState = nullptr;
    for (const auto& [timer, state] : timers_) {
        if (state.due > by || !timer->OnTimer) {
            continue;
        }
        if (!best || state.due < bestState->due || (state.due == bestState->due && state.order < bestState->order)) {
            best = timer;
            bestState = &state;
        }
    }
    return best;
}

std::optional<std::uint64_t> HeadlessForms::EarliestDue() const {
    std::optional<std::uint64_t> earliest;
    for (const auto& [timer, state] : timers_) {
        if (timer->OnTimer && (!earliest || state.due < *earliest)) {
            earliest = state.due;
        }
    }
    return earliest;
}

bool HeadlessForms::FireOneDue() {
    const std::uint64_t now = Now();
    Timer* timer = NextDue(now);
    if (!timer) {
        return false;
    }
    // The next tick is set before the handler runs: it may pump messages, restart the timer or free it.
    TimerState& state = timers_[timer];
    const std::uint64_t interval = std::max<std::uint64_t>(timer->Interval(), 1);
    state.due += ((now - state.due) / interval + 1) * interval;
    application().Dispatch([timer] { timer->Fire(); });
    return true;
}

void HeadlessForms::ProcessMessages() {
    // Each timer that is due now fires once; what falls due meanwhile waits for the next call.
    const std::uint64_t now = Now();
    std::vector<std::pair<std::pair<std::uint64_t, std::uint64_t>, Timer*>> due;
    for (const auto& [timer, state] : timers_) {
        if (state.due <= now && timer->OnTimer) {
            due.push_back({{state.due, state.order}, timer});
        }
    }
    std::sort(due.begin(), due.end());
    for (const auto& entry : due) {
        Timer* timer = entry.second;
        auto it = timers_.find(timer);
        if (it == timers_.end() || it->second.due > Now() || it->second.order != entry.first.second) {
            continue;  // stopped, restarted or freed by an earlier handler
        }
        const std::uint64_t interval = std::max<std::uint64_t>(timer->Interval(), 1);
        it->second.due += ((Now() - it->second.due) / interval + 1) * interval;
        application().Dispatch([timer] { timer->Fire(); });
    }
    PerformPumpStep();
}

void HeadlessForms::WhenModal(const std::wstring& className, UserScript script) {
    scripts_[className].push_back(std::move(script));
}

std::vector<std::wstring> HeadlessForms::Unfinished() const {
    std::vector<std::wstring> out = leftovers_;
    for (const auto& [className, queue] : scripts_) {
        for (const UserScript& script : queue) {
            out.push_back(className + L": script of " + IntToStr(static_cast<std::int64_t>(script.Actions().size())) +
                          L" actions never used");
        }
    }
    return out;
}

std::vector<std::wstring> HeadlessForms::TakeUnfinished() {
    std::vector<std::wstring> out = Unfinished();
    leftovers_.clear();
    scripts_.clear();
    return out;
}

void HeadlessForms::KeyEvent(std::uint8_t virtualKey, bool keyUp) {
    if (keyUp) {
        keysDown_.erase(virtualKey);
        return;
    }
    keysDown_.insert(virtualKey);
    // A key typed goes to the form that has the keyboard focus, as the dialog keys do on the real system.
    Form* form = keyboardForm_;
    if (!form || !form->Showing()) {
        return;
    }
    if (virtualKey == kKeyEscape || virtualKey == kKeyReturn) {
        const wchar_t key = virtualKey == kKeyEscape ? L'\x1B' : L'\r';
        application().Dispatch([&] {
            if (!form->DialogKey(key)) {
                if (Control* focused = form->ActiveControl()) {
                    focused->KeyPressed(key);
                }
            }
        });
        return;
    }
    const bool shift = KeyDown(kKeyShift);
    application().Dispatch([&] { form->NavigationKey(virtualKey, shift); });
}

void HeadlessForms::BringToFront(Form*) {
    ++bringToFront_;
}

void HeadlessForms::SetFocus(Control& control) {
    if (Form* form = control.ParentForm()) {
        keyboardForm_ = form;
        form->FocusMoved(&control);
    }
}

void HeadlessForms::RunLoop(Form& front, bool modal, const std::function<bool()>& done) {
    loops_.push_back({front.ClassName(), front.Caption(), modal, Now()});
    const std::size_t record = loops_.size() - 1;

    RunningLoop loop{.front = &front, .done = &done, .lastAction = Now()};
    if (auto it = scripts_.find(front.ClassName()); it != scripts_.end() && !it->second.empty()) {
        loop.script = std::move(it->second.front());
        it->second.pop_front();
        if (it->second.empty()) {
            scripts_.erase(it);
        }
        loop.scripted = true;
    }
    running_.push_back(&loop);
    // The loop stops being the innermost one however it ends, a fatal error included.
    struct Leave {
        std::vector<RunningLoop*>& running;
        ~Leave() { running.pop_back(); }
    } leave{running_};

    while (!done()) {
        if (FireOneDue()) {
            continue;
        }
        const UserScript::Action* action = loop.Next();
        if (action && action->step != UserScript::Step::ExpectBox) {
            if (action->duringPump) {
                Fail(front, L"no message pump came for " + action->Describe());
            }
            ++loop.next;
            Perform(front, *action, done);
            loop.lastAction = Now();
            continue;
        }
        const std::wstring waiting =
            action ? L"the script waits for " + action->Describe()
                   : (loop.scripted ? L"the scripted user has nothing left to do" : L"no scripted user");
        const std::optional<std::uint64_t> due = EarliestDue();
        if (!due) {
            Fail(front, waiting + L" and no timer is running, so nothing can end this " +
                            (modal ? L"modal wait" : L"message loop"));
        }
        if (*due > loop.lastAction + idleLimit_) {
            Fail(front, L"waited " + IntToStr(static_cast<std::int64_t>(idleLimit_)) +
                            L" ms of virtual time since the last scripted action (" + waiting + L")");
        }
        SleepUntil(*due);
    }

    const auto& actions = loop.script.Actions();
    if (loop.next < actions.size()) {
        leftovers_.push_back(front.ClassName() + L": " +
                             IntToStr(static_cast<std::int64_t>(actions.size() - loop.next)) +
                             L" scripted actions left when its loop ended, from " + actions[loop.next].Describe());
    }
    if (hovered_ && hovered_->ParentForm() == &front) {
        hovered_ = nullptr;
    }
    LoopRecord& r = loops_[record];
    r.endMs = Now();
    r.ended = true;
    r.result = front.ModalResult();
}

}  // namespace platform::sim
