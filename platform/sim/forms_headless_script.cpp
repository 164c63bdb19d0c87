// The scripted user: the steps a test writes and how the backend performs them on a form.
#include "platform/sim/forms_headless.h"

#include <algorithm>

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
    }
}

}  // namespace platform::sim
