#include "platform/sim/forms_headless.h"

#include <algorithm>

#include "platform/forms/dump.h"
#include "platform/forms/edits.h"
#include "platform/forms/lists.h"
#include "platform/forms/timer.h"
#include "platform/forms/track_bar.h"
#include "platform/sim/clock_sim.h"
#include "platform/text.h"

namespace platform::sim {

using namespace platform::forms;

namespace {

constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkLeftControl = 0xA2;
constexpr std::uint8_t kVkRightControl = 0xA3;

bool IsWide(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7A3) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
           (u >= 0xFFE0 && u <= 0xFFE6) || u >= 0x20000;
}

int Units(wchar_t c, bool bold) {
    if (c == L'\t') {
        return 8 * (7 + (bold ? 1 : 0));
    }
    return (IsWide(c) ? 12 : 7) + (bold ? 1 : 0);
}

int Scaled(std::int64_t units, int points) {
    return static_cast<int>((units * points + 4) / 9);
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Widths in units of the lines one source line breaks into at wrapWidth pixels.
std::vector<std::int64_t> WrapLine(const std::wstring& line, bool bold, int points, int wrapWidth) {
    std::vector<std::int64_t> out;
    std::int64_t current = 0;
    bool lineHasText = false;
    std::size_t i = 0;
    while (i < line.size()) {
        std::int64_t gap = 0;
        while (i < line.size() && IsBlank(line[i])) {
            gap += Units(line[i++], bold);
        }
        if (i == line.size()) {
            current += gap;  // trailing blanks of the source line count, as on one line
            break;
        }
        std::int64_t word = 0;
        if (IsWide(line[i])) {
            word = Units(line[i++], bold);
        } else {
            while (i < line.size() && !IsBlank(line[i]) && !IsWide(line[i])) {
                word += Units(line[i++], bold);
            }
        }
        if (!lineHasText) {
            current += gap + word;
            lineHasText = true;
        } else if (Scaled(current + gap + word, points) <= wrapWidth) {
            current += gap + word;
        } else {
            out.push_back(current);
            current = word;
        }
    }
    out.push_back(current);
    return out;
}

std::string Narrow(const std::wstring& text) {
    return WideToUtf8(text);
}

}  // namespace

// ---- UserScript ----

UserScript& UserScript::Click(std::wstring name) {
    actions_.push_back({.step = Step::Click, .name = std::move(name)});
    return *this;
}

UserScript& UserScript::Pick(std::wstring name, int index) {
    actions_.push_back({.step = Step::Pick, .name = std::move(name), .index = index});
    return *this;
}

UserScript& UserScript::Type(std::wstring name, std::wstring text) {
    actions_.push_back({.step = Step::Type, .name = std::move(name), .text = std::move(text)});
    return *this;
}

UserScript& UserScript::PressEsc() {
    actions_.push_back({.step = Step::PressEsc});
    return *this;
}

UserScript& UserScript::PressEnter() {
    actions_.push_back({.step = Step::PressEnter});
    return *this;
}

UserScript& UserScript::Wait(std::uint32_t ms) {
    actions_.push_back({.step = Step::Wait, .ms = ms});
    return *this;
}

UserScript& UserScript::Ctrl(bool held) {
    actions_.push_back({.step = Step::Ctrl, .held = held});
    return *this;
}

UserScript& UserScript::Hover(std::wstring name) {
    actions_.push_back({.step = Step::Hover, .name = std::move(name)});
    return *this;
}

UserScript& UserScript::CloseBox() {
    actions_.push_back({.step = Step::CloseBox});
    return *this;
}

UserScript& UserScript::Inspect(std::function<void(Form&)> inspect) {
    actions_.push_back({.step = Step::Inspect, .inspect = std::move(inspect)});
    return *this;
}

std::wstring UserScript::Action::Describe() const {
    switch (step) {
        case Step::Click:
            return L"Click(" + name + L")";
        case Step::Pick:
            return L"Pick(" + name + L", " + IntToStr(index) + L")";
        case Step::Type:
            return L"Type(" + name + L", \"" + text + L"\")";
        case Step::PressEsc:
            return L"PressEsc()";
        case Step::PressEnter:
            return L"PressEnter()";
        case Step::Wait:
            return L"Wait(" + IntToStr(ms) + L")";
        case Step::Ctrl:
            return std::wstring(L"Ctrl(") + (held ? L"true" : L"false") + L")";
        case Step::Hover:
            return L"Hover(" + name + L")";
        case Step::CloseBox:
            return L"CloseBox()";
        case Step::Inspect:
            return L"Inspect()";
    }
    return L"?";
}

// ---- HeadlessForms ----

HeadlessForms::HeadlessForms(SimClock& clock) : clock_(clock) {}

HeadlessForms::~HeadlessForms() {
    // The platform is going away; the forms the application still owns go without their destroy handlers.
    application().DestroyForms(false);
}

void HeadlessForms::CreateNative(Control& control) {
    natives_.insert(&control);
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
        throw FatalError("forms backend: update of a control without a native window: " + Narrow(control.Name()));
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

bool HeadlessForms::CtrlHeld() const {
    return KeyDown(kVkControl) || KeyDown(kVkLeftControl) || KeyDown(kVkRightControl);
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

Size HeadlessForms::MeasureText(const std::wstring& text, const TFont& font, int wrapWidth) {
    return Measure(text, font, wrapWidth);
}

Size HeadlessForms::Measure(const std::wstring& text, const TFont& font, int wrapWidth) {
    const int points = std::max(font.size, 1);
    const int lineHeight = Scaled(13, points);
    int widest = 0;
    int lines = 0;
    for (const std::wstring& line : platform::SplitLines(text)) {
        std::vector<std::int64_t> widths;
        if (wrapWidth > 0) {
            widths = WrapLine(line, font.bold, points, wrapWidth);
        } else {
            std::int64_t units = 0;
            for (wchar_t c : line) {
                units += Units(c, font.bold);
            }
            widths.push_back(units);
        }
        for (std::int64_t units : widths) {
            widest = std::max(widest, Scaled(units, points));
            ++lines;
        }
    }
    return {widest, lines * lineHeight};
}

Size HeadlessForms::FrameSize(TFormBorderStyle style) {
    switch (style) {
        case bsNone:
            return {0, 0};
        case bsSingle:
        case bsDialog:
            return {6, 29};
        case bsSizeable:
            return {8, 31};
        case bsToolWindow:
            return {6, 23};
        case bsSizeToolWin:
            return {8, 25};
    }
    return {0, 0};
}

void HeadlessForms::Fail(Form& front, const std::wstring& what) const {
    throw FatalError(Narrow(front.ClassName() + L": " + what + L"\n" + DumpForm(front)));
}

void HeadlessForms::MovePointer(Control* control) {
    if (control == hovered_) {
        return;
    }
    Control* old = hovered_;
    hovered_ = control;
    if (old) {
        old->MouseLeft();
    }
    if (control && control == hovered_) {
        control->MouseEntered();
    }
}

void HeadlessForms::Focus(Control& control) {
    if (control.CanFocus()) {
        control.SetFocus();
    }
}

Control& HeadlessForms::Reachable(Form& front, const UserScript::Action& action) {
    auto* control = dynamic_cast<Control*>(front.FindComponent(action.name));
    if (!control) {
        Fail(front, L"the scripted user finds no control named " + action.name + L" for " + action.Describe());
    }
    if (!control->Showing() || !control->EnabledWithParents()) {
        Fail(front, L"the scripted user cannot reach " + action.name + L" (" +
                        (control->Showing() ? L"disabled" : L"not showing") + L") for " + action.Describe());
    }
    return *control;
}

void HeadlessForms::Perform(Form& front, const UserScript::Action& action, const std::function<bool()>& done) {
    using Step = UserScript::Step;
    switch (action.step) {
        case Step::Click: {
            Control& control = Reachable(front, action);
            if (dynamic_cast<ListBox*>(&control) || dynamic_cast<ComboBox*>(&control) ||
                dynamic_cast<RadioGroup*>(&control) || dynamic_cast<TrackBar*>(&control)) {
                Fail(front, L"a list or track bar is picked, not clicked: " + action.Describe());
            }
            application().Dispatch([&] {
                MovePointer(&control);
                Focus(control);
                control.Click();
            });
            return;
        }
        case Step::Pick: {
            Control& control = Reachable(front, action);
            auto inRange = [&](std::size_t count) {
                if (action.index < 0 || static_cast<std::size_t>(action.index) >= count) {
                    Fail(front, L"no entry " + IntToStr(action.index) + L" to pick: " + action.Describe());
                }
            };
            if (auto* list = dynamic_cast<ListBox*>(&control)) {
                inRange(list->Items().size());
                application().Dispatch([&] {
                    MovePointer(list);
                    Focus(*list);
                    list->UserClickItem(action.index, CtrlHeld());
                });
            } else if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
                inRange(combo->Items().size());
                application().Dispatch([&] {
                    MovePointer(combo);
                    Focus(*combo);
                    combo->UserSelectItem(action.index);
                });
            } else if (auto* radio = dynamic_cast<RadioGroup*>(&control)) {
                inRange(radio->Items().size());
                application().Dispatch([&] {
                    MovePointer(radio);
                    Focus(*radio);
                    radio->UserClickItem(action.index);
                });
            } else if (auto* track = dynamic_cast<TrackBar*>(&control)) {
                if (action.index < track->Min() || action.index > track->Max()) {
                    Fail(front, L"position outside the track bar: " + action.Describe());
                }
                application().Dispatch([&] {
                    MovePointer(track);
                    Focus(*track);
                    track->SetPosition(action.index);
                });
            } else {
                Fail(front, L"nothing to pick in " + action.name);
            }
            return;
        }
        case Step::Type: {
            Control& control = Reachable(front, action);
            auto* edit = dynamic_cast<Edit*>(&control);
            if (!edit) {
                Fail(front, L"only an edit takes typing: " + action.Describe());
            }
            application().Dispatch([&] {
                MovePointer(edit);
                Focus(*edit);
                for (wchar_t c : action.text) {
                    edit->TypeChar(c);
                }
            });
            return;
        }
        case Step::PressEsc:
        case Step::PressEnter: {
            const wchar_t key = action.step == Step::PressEsc ? L'\x1B' : L'\r';
            application().Dispatch([&] {
                if (!front.DialogKey(key)) {
                    if (Control* focused = front.ActiveControl()) {
                        focused->KeyPressed(key);
                    }
                }
            });
            return;
        }
        case Step::Wait: {
            const std::uint64_t deadline = Now() + action.ms;
            while (Now() < deadline && !done()) {
                if (FireOneDue()) {
                    continue;
                }
                const std::optional<std::uint64_t> due = EarliestDue();
                SleepUntil(due && *due < deadline ? *due : deadline);
            }
            return;
        }
        case Step::Ctrl:
            KeyEvent(kVkControl, !action.held);
            return;
        case Step::Hover: {
            Control* control = nullptr;
            if (!action.name.empty()) {
                control = &Reachable(front, action);
            }
            application().Dispatch([&] { MovePointer(control); });
            return;
        }
        case Step::CloseBox:
            if (!(front.BorderIcons() & biSystemMenu)) {
                Fail(front, L"the form has no close button");
            }
            application().Dispatch([&] { front.Close(); });
            return;
        case Step::Inspect:
            if (action.inspect) {
                action.inspect(front);
            }
            return;
    }
}

void HeadlessForms::RunLoop(Form& front, bool modal, const std::function<bool()>& done) {
    loops_.push_back({front.ClassName(), front.Caption(), modal, Now()});
    const std::size_t record = loops_.size() - 1;

    UserScript script;
    bool scripted = false;
    if (auto it = scripts_.find(front.ClassName()); it != scripts_.end() && !it->second.empty()) {
        script = std::move(it->second.front());
        it->second.pop_front();
        if (it->second.empty()) {
            scripts_.erase(it);
        }
        scripted = true;
    }
    std::size_t next = 0;
    std::uint64_t lastAction = Now();

    while (!done()) {
        if (FireOneDue()) {
            continue;
        }
        if (next < script.Actions().size()) {
            Perform(front, script.Actions()[next++], done);
            lastAction = Now();
            continue;
        }
        const std::optional<std::uint64_t> due = EarliestDue();
        if (!due) {
            Fail(front, std::wstring(scripted ? L"the scripted user has nothing left to do" : L"no scripted user") +
                            L" and no timer is running, so nothing can end this " +
                            (modal ? L"modal wait" : L"message loop"));
        }
        if (*due > lastAction + idleLimit_) {
            Fail(front, L"waited " + IntToStr(static_cast<std::int64_t>(idleLimit_)) +
                            L" ms of virtual time with nothing scripted left");
        }
        SleepUntil(*due);
    }

    if (next < script.Actions().size()) {
        leftovers_.push_back(front.ClassName() + L": " +
                             IntToStr(static_cast<std::int64_t>(script.Actions().size() - next)) +
                             L" scripted actions left when its loop ended, from " + script.Actions()[next].Describe());
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
