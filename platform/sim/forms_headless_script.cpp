// The scripted user: the steps a test writes and how the backend performs them on a form.
#include "platform/sim/forms_headless.h"

#include <algorithm>
#include <utility>

#include "platform/forms/dump.h"
#include "platform/forms/edits.h"
#include "platform/forms/lists.h"
#include "platform/forms/track_bar.h"
#include "platform/text.h"

namespace platform::sim {

using namespace platform::forms;

namespace {

constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkLeftControl = 0xA2;
constexpr std::uint8_t kVkRightControl = 0xA3;

}  // namespace

UserScript& UserScript::Add(Action action) {
    action.duringPump = std::exchange(nextDuringPump_, false);
    actions_.push_back(std::move(action));
    return *this;
}

UserScript& UserScript::Click(std::wstring name) {
    return Add({.step = Step::Click, .name = std::move(name)});
}

UserScript& UserScript::Pick(std::wstring name, int index) {
    return Add({.step = Step::Pick, .name = std::move(name), .index = index});
}

UserScript& UserScript::Type(std::wstring name, std::wstring text) {
    return Add({.step = Step::Type, .name = std::move(name), .text = std::move(text)});
}

UserScript& UserScript::PressEsc() {
    return Add({.step = Step::PressEsc});
}

UserScript& UserScript::PressEnter() {
    return Add({.step = Step::PressEnter});
}

UserScript& UserScript::Wait(std::uint32_t ms) {
    return Add({.step = Step::Wait, .ms = ms});
}

UserScript& UserScript::Ctrl(bool held) {
    return Add({.step = Step::Ctrl, .held = held});
}

UserScript& UserScript::Hover(std::wstring name) {
    return Add({.step = Step::Hover, .name = std::move(name)});
}

UserScript& UserScript::CloseBox() {
    return Add({.step = Step::CloseBox});
}

UserScript& UserScript::Inspect(std::function<void(Form&)> inspect) {
    return Add({.step = Step::Inspect, .inspect = std::move(inspect)});
}

UserScript& UserScript::ExpectBox(ExpectedBox box) {
    return Add({.step = Step::ExpectBox, .box = std::move(box)});
}

UserScript& UserScript::ExpectBox(std::wstring text, MsgResult answer) {
    return ExpectBox(ExpectedBox{.text = std::move(text), .answer = answer});
}

UserScript& UserScript::DuringNextPump() {
    nextDuringPump_ = true;
    return *this;
}

UserScript& UserScript::AnswerAnyBox(std::optional<MsgResult> answer) {
    answerAny_ = true;
    anyAnswer_ = answer;
    return *this;
}

MsgResult UserScript::AnyBoxAnswer(const ShownBox& box) const {
    if (anyAnswer_ && SimMessageBoxes::Offers(box.buttons, *anyAnswer_)) {
        return *anyAnswer_;
    }
    return SimMessageBoxes::DefaultAnswer(box.buttons);
}

std::wstring UserScript::Action::Describe() const {
    return (duringPump ? L"DuringNextPump()." : L"") + DescribeStep();
}

std::wstring UserScript::Action::DescribeStep() const {
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
        case Step::ExpectBox:
            return box.Describe();
    }
    return L"?";
}

bool HeadlessForms::CtrlHeld() const {
    return KeyDown(kVkControl) || KeyDown(kVkLeftControl) || KeyDown(kVkRightControl);
}

void HeadlessForms::Fail(Form& front, const std::wstring& what) const {
    throw FatalError(WideToUtf8(front.ClassName() + L": " + what + L"\n" + DumpForm(front)));
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
        case Step::ExpectBox:
            return;  // matched when the box shows (AnswerBox), never performed
    }
}

const UserScript::Action* HeadlessForms::RunningLoop::Next() const {
    return next < script.Actions().size() ? &script.Actions()[next] : nullptr;
}

std::optional<MsgResult> HeadlessForms::AnswerBox(const ShownBox& box) {
    if (running_.empty()) {
        return std::nullopt;
    }
    RunningLoop& loop = *running_.back();
    const UserScript::Action* next = loop.Next();
    if (next && next->step == UserScript::Step::ExpectBox) {
        if (const auto why = next->box.Mismatch(box)) {
            Fail(*loop.front, L"message box " + box.Describe() + L" shown where the script expects " +
                                  next->box.Describe() + L": " + *why);
        }
        ++loop.next;
        loop.lastAction = Now();
        return next->box.answer;
    }
    // The sim's own queue comes before the opt-out.
    if (loop.script.AnswersAnyBox() && boxes_.PendingExpected() == 0) {
        return loop.script.AnyBoxAnswer(box);
    }
    return std::nullopt;
}

void HeadlessForms::PerformPumpStep() {
    if (running_.empty()) {
        return;
    }
    RunningLoop& loop = *running_.back();
    const UserScript::Action* next = loop.Next();
    if (!next || !next->duringPump || next->step == UserScript::Step::ExpectBox) {
        return;
    }
    ++loop.next;
    Perform(*loop.front, *next, *loop.done);
    loop.lastAction = Now();
}

}  // namespace platform::sim
