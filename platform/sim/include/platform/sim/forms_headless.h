#pragma once
// The headless forms backend: no pixels, no native windows, fixed metrics, timers on the virtual clock, and a
// scripted user that the test attaches per form class.
//
// Metrics (fixed, so that layouts come out the same on every machine):
// - Text: each character is 7 units wide, a wide (CJK, full-width) character 12; bold adds 1 unit per
//   character; a tab counts as 8 blanks. A line is (units x points + 4) / 9 pixels wide, so the units are
//   pixels at 9 pt, and (13 x points + 4) / 9 pixels high (13 at 9 pt, 12 at 8 pt). Lines break at CR LF, LF
//   or CR. With a wrap width, words (runs between blanks) and single wide characters are put on a line while
//   they fit; the blanks at a break are dropped; a word wider than the width stands alone on its line.
// - Window frames (outer minus client size): bsNone 0 x 0; bsSingle and bsDialog 3-pixel borders and a
//   23-pixel caption (6 x 29); bsSizeable 4-pixel borders (8 x 31); bsToolWindow 3 and a 17-pixel caption
//   (6 x 23); bsSizeToolWin 4 and 17 (8 x 25).
// - Work area: 1024 x 768 at 0, 0.
//
// Timers count on the sim clock and fire, in order of due time (then of starting), only while messages are
// handled: in ProcessMessages (each timer that is due fires once) and in event loops.
//
// Event loops (a modal form, or the main form while the application runs): the loop takes the next script
// attached to the form's class and, until the form is done, fires due timers, then performs the next
// scripted action; with nothing scripted left, or when the next step is a message box still to come, it sleeps
// on the clock until the next timer is due. A loop with nothing scripted left and no timer running, or that
// has waited longer than the idle limit (default one hour of virtual time) since its last scripted action,
// raises forms::FatalError with a dump of the form instead of hanging.
//
// The scripted user acts only on controls of its own form that it could reach (showing and enabled with their
// parents); anything else raises forms::FatalError. Each action runs as one event (Application::Dispatch):
// - Click(name): the pointer moves onto the control, the focus too when it can take it, then it is clicked
//   (a check box toggles; a button sets the form's modal result before OnClick).
// - Pick(name, index): list box entry (a plain click, or with Ctrl held a toggle in a multi-select list),
//   drop-down entry, radio button, or track bar position; the pointer and the focus move there first.
// - Type(name, text): focus to the edit, then each character through OnKeyPress at the end of its text
//   ("\b" removes the last one).
// - PressEsc / PressEnter: as the keys in a dialog: Esc clicks the cancel button, Enter the focused button or
//   the default button (when they can take the focus); otherwise the focused control gets the key press.
// - Wait(ms): that much virtual time passes, timers firing meanwhile (less when the form is done first).
// - Ctrl(held): the Ctrl key goes down or up (as a synthesised Ctrl key does).
// - Hover(name): the pointer moves onto the control ("" moves it off every control).
// - CloseBox(): the title bar's close button (only on a form with a system menu).
// - Inspect(fn): test code sees the form at that point (assertions, not an event).
// Keys synthesised through KeyEvent go to the form that last took the focus: Tab, Shift-Tab and the arrow keys
// as Form::NavigationKey says, Esc and Enter as PressEsc and PressEnter.
// The pointer position crosses controls with OnMouseLeave / OnMouseEnter; it is simply forgotten, with no
// event, when its control goes away or its form's loop ends.
//
// Message boxes are steps of the same script:
// - ExpectBox(text, answer) / ExpectBox(ExpectedBox): the next box shown while this loop is the innermost one
//   running must be this one (the whole text, or a part of it with ExpectedBox::part; caption, icon and
//   buttons when given), and gets that answer. A box is matched when it shows, whichever action, timer or
//   pump shows it; a loop whose next step is a box waits for it with timers firing, as with nothing left.
//   A different box, or none before the form is done (reported by Unfinished), fails.
// - A box the innermost loop's script does not expect goes on to the sim's own queue of expected boxes and
//   its opt-out (SimMessageBoxes); a box nobody expects raises forms::FatalError naming it.
// - AnswerAnyBox(answer) is the script's explicit opt-out: while its loop is the innermost one, a box that
//   nothing expects gets `answer` where the box offers it, else its default. It is a setting, not a step.
//
// Steps during a message pump: DuringNextPump() marks the step added next to be performed inside the next
// Application::ProcessMessages that its loop (the innermost running one) sees after the step before it, as a
// user clicks while the program polls a worker thread and handles messages. Each pump performs at most one
// such step, after its due timers. A loop that reaches a marked step itself (no pump came) fails.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/forms/backend.h"
#include "platform/forms/form.h"
#include "platform/sim/message_box_sim.h"

namespace platform::sim {

class SimClock;

class UserScript {
public:
    enum class Step { Click, Pick, Type, PressEsc, PressEnter, Wait, Ctrl, Hover, CloseBox, Inspect, ExpectBox };
    struct Action {
        Step step = Step::Click;
        std::wstring name{};
        int index = 0;
        std::wstring text{};
        std::uint32_t ms = 0;
        bool held = false;
        std::function<void(forms::Form&)> inspect{};
        ExpectedBox box{};
        bool duringPump = false;
        std::wstring Describe() const;
        std::wstring DescribeStep() const;
    };

    UserScript& Click(std::wstring name);
    UserScript& Pick(std::wstring name, int index);
    UserScript& Type(std::wstring name, std::wstring text);
    UserScript& PressEsc();
    UserScript& PressEnter();
    UserScript& Wait(std::uint32_t ms);
    UserScript& Ctrl(bool held);
    UserScript& Hover(std::wstring name);
    UserScript& CloseBox();
    UserScript& Inspect(std::function<void(forms::Form&)> inspect);
    UserScript& ExpectBox(ExpectedBox box);
    UserScript& ExpectBox(std::wstring text, MsgResult answer = MsgResult::OK);
    // The step added next runs during a message pump (see the header comment).
    UserScript& DuringNextPump();
    UserScript& AnswerAnyBox(std::optional<MsgResult> answer = std::nullopt);

    const std::vector<Action>& Actions() const { return actions_; }
    bool AnswersAnyBox() const { return answerAny_; }
    // The answer the opt-out gives that box.
    MsgResult AnyBoxAnswer(const ShownBox& box) const;

private:
    UserScript& Add(Action action);

    std::vector<Action> actions_;
    bool nextDuringPump_ = false;
    bool answerAny_ = false;
    std::optional<MsgResult> anyAnswer_;
};

// One event loop as it happened.
struct LoopRecord {
    std::wstring className;
    std::wstring caption;  // when the loop began
    bool modal = true;
    std::uint64_t startMs = 0;  // virtual time of the sim clock
    std::uint64_t endMs = 0;
    bool ended = false;
    forms::TModalResult result = forms::mrNone;
};

class HeadlessForms : public forms::Backend {
public:
    // Takes the boxes' handler slot for the scripted user.
    HeadlessForms(SimClock& clock, SimMessageBoxes& boxes);
    ~HeadlessForms() override;

    // forms::Backend
    void CreateNative(forms::Control& control) override;
    void DestroyNative(forms::Control& control) override;
    void UpdateNative(forms::Control& control, forms::Change what) override;
    void RunLoop(forms::Form& front, bool modal, const std::function<bool()>& done) override;
    void ProcessMessages() override;
    void StartTimer(forms::Timer& timer) override;
    void StopTimer(forms::Timer& timer) override;
    void SetFocus(forms::Control& control) override;
    void KeyEvent(std::uint8_t virtualKey, bool keyUp) override;
    void BringToFront(forms::Form* form) override;
    void SetApplicationTitle(const std::wstring& title) override { title_ = title; }
    // A form whose window exists, or a window that another program has open.
    bool TopLevelWindowExists(const std::wstring& className) override;
    forms::Size MeasureText(const std::wstring& text, const forms::TFont& font, int wrapWidth) override;
    forms::Size FrameSize(forms::TFormBorderStyle style) override;
    forms::Rect WorkArea() override { return {0, 0, 1024, 768}; }

    // The text rule of the header comment.
    static forms::Size Measure(const std::wstring& text, const forms::TFont& font, int wrapWidth);

    // Attaches a script to the next event loop of a form of that class: its next modal wait, or the message
    // loop it runs as the main form (scripts queue per class).
    void WhenModal(const std::wstring& className, UserScript script);
    // Scripts never used, and loops that ended with actions left, one line each; empty when all went to plan.
    std::vector<std::wstring> Unfinished() const;
    // Unfinished, then forgets it: for a test that means to leave scripts unfinished.
    std::vector<std::wstring> TakeUnfinished();
    void SetIdleLimit(std::uint32_t ms) { idleLimit_ = ms; }
    // A top-level window of another program on the desktop (another running copy's main window), until it is
    // closed; one close per open.
    void OpenOtherProgramWindow(const std::wstring& className) { otherWindows_.push_back(className); }
    void CloseOtherProgramWindow(const std::wstring& className);

    const std::vector<LoopRecord>& Loops() const { return loops_; }
    bool KeyDown(std::uint8_t virtualKey) const { return keysDown_.count(virtualKey) != 0; }
    bool CtrlHeld() const;
    const forms::Control* Hovered() const { return hovered_; }
    std::size_t BringToFrontCount() const { return bringToFront_; }
    const std::wstring& ApplicationTitle() const { return title_; }
    bool HasNative(const forms::Control& control) const { return natives_.count(&control) != 0; }
    std::size_t RunningTimers() const { return timers_.size(); }

private:
    struct TimerState {
        std::uint64_t due = 0;
        std::uint64_t order = 0;
    };
    // An event loop that is running, the innermost last.
    struct RunningLoop {
        forms::Form* front = nullptr;
        const std::function<bool()>* done = nullptr;
        UserScript script{};
        bool scripted = false;
        std::size_t next = 0;  // the step to perform or match next
        std::uint64_t lastAction = 0;
        const UserScript::Action* Next() const;
    };

    std::uint64_t Now() const;
    void SleepUntil(std::uint64_t when);
    // The timer to fire next among those due at or before `by`; null when none.
    forms::Timer* NextDue(std::uint64_t by) const;
    bool FireOneDue();
    std::optional<std::uint64_t> EarliestDue() const;
    // Performs the innermost loop's next step when it is marked for a pump.
    void PerformPumpStep();
    std::optional<MsgResult> AnswerBox(const ShownBox& box);
    void Perform(forms::Form& front, const UserScript::Action& action, const std::function<bool()>& done);
    forms::Control& Reachable(forms::Form& front, const UserScript::Action& action);
    void MovePointer(forms::Control* control);
    void Focus(forms::Control& control);
    [[noreturn]] void Fail(forms::Form& front, const std::wstring& what) const;

    SimClock& clock_;
    SimMessageBoxes& boxes_;
    std::vector<RunningLoop*> running_;
    std::map<forms::Timer*, TimerState> timers_;
    std::uint64_t timerOrder_ = 0;
    std::map<std::wstring, std::deque<UserScript>> scripts_;
    std::vector<std::wstring> leftovers_;
    std::vector<LoopRecord> loops_;
    std::set<std::uint8_t> keysDown_;
    std::set<const forms::Control*> natives_;
    forms::Control* hovered_ = nullptr;
    forms::Form* keyboardForm_ = nullptr;  // where typed keys go: the form that last took the focus
    std::size_t bringToFront_ = 0;
    std::wstring title_;
    std::vector<std::wstring> otherWindows_;
    std::uint32_t idleLimit_ = 3'600'000;
};

}  // namespace platform::sim
