#pragma once
// What a windowing system does for the component model: native windows for components, the event loop and
// timers, focus and synthesised keys, and the metrics the portable layout needs (text extents, window frames,
// the work area). Everything else (geometry, alignment, anchors, auto-size, events, modal results) is
// computed in the portable layer, the same for every backend.
//
// Contract for implementations (the headless backend of the sim is the reference):
// - One native control per component kind, made by CreateNative after the parent's native exists and
//   destroyed by DestroyNative before the parent's; UpdateNative brings it up to date with the component's
//   state for the parts named in `what`. A backend reads the component's properties itself.
// - Whatever the user does reaches the model through the component's notification calls (Click, UserClickItem,
//   TypeChar, MouseEntered, Form::FocusMoved ...), each inside Application::Dispatch, which reports handler
//   exceptions; a backend lets FatalError pass and catches nothing else at its own boundary.
// - Timers fire only from RunLoop and ProcessMessages, through Timer::Fire.
// - All calls come from the user-interface thread; none is re-entered from another thread.
// A backend's destructor first frees the forms the application still owns (Application::DestroyForms(false)).

#include <cstdint>
#include <functional>
#include <string>

#include "platform/forms/application.h"
#include "platform/forms/types.h"

namespace platform::forms {

class Control;
class Form;
class Timer;

class Backend {
public:
    Backend() : application_(*this) {}
    virtual ~Backend() = default;
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    Application& application() { return application_; }

    virtual void CreateNative(Control& control) = 0;
    virtual void DestroyNative(Control& control) = 0;
    virtual void UpdateNative(Control& control, Change what) = 0;

    // Runs the event loop until done() returns true; done is asked before the first wait and after every
    // event handled (and may be asked again once it said true). front is the form the user works in: a modal form
    // (modal true: the other windows do not take input meanwhile) or the main form while the application runs.
    virtual void RunLoop(Form& front, bool modal, const std::function<bool()>& done) = 0;
    // Handles the pending events (timers that are due included) without waiting.
    virtual void ProcessMessages() = 0;

    // Starts counting the timer's interval from now (again, when it runs already); StopTimer ends it.
    virtual void StartTimer(Timer& timer) = 0;
    virtual void StopTimer(Timer& timer) = 0;

    // Moves the keyboard focus; the backend reports the move through Form::FocusMoved.
    virtual void SetFocus(Control& control) = 0;
    // A synthesised key press or release (virtual-key code).
    virtual void KeyEvent(std::uint8_t virtualKey, bool keyUp) = 0;
    // The program's windows to the front; form is the one to activate, or null.
    virtual void BringToFront(Form* form) = 0;
    virtual void SetApplicationTitle(const std::wstring& title) = 0;
    // Whether a top-level window of that window class (the name compared without regard to letter case) exists
    // on the desktop, in this program or any other, shown or hidden: how a second start of the program finds
    // the first one. A form's window class is its dialog class name. Does not wait.
    virtual bool TopLevelWindowExists(const std::wstring& className) = 0;

    // The extent of text in font: one line per line break; with wrapWidth above 0 the lines are broken at
    // word boundaries to fit, and cx is the widest line.
    virtual Size MeasureText(const std::wstring& text, const TFont& font, int wrapWidth) = 0;
    // Outer size minus client size of a form with that border style.
    virtual Size FrameSize(TFormBorderStyle style) = 0;
    // The screen area that forms are centred in.
    virtual Rect WorkArea() = 0;

private:
    Application application_;
};

}  // namespace platform::forms
