#pragma once
// The forms contract: one table of cases that both forms backends must pass, built once with the headless
// backend (Linux) and once with the win32 backend (mingw, run under Wine with a display). The cases work the
// portable component model; what the user would see (native windows, their texts and states, where the focus
// sits) and what the user does (clicks, keys, answering a message box) go through the backend under test, so
// that a layout, a keyboard rule or a selection that the real windows show otherwise than the model fails.
//
// Each test gets a fresh backend, installed as the current platform. Waits go through the platform clock:
// virtual on the headless side, real under Wine.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/message_box.h"

namespace forms_contract {

// A message box as the user saw it.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
};

class FormsUnderTest {
public:
    virtual ~FormsUnderTest() = default;
    virtual const char* Name() const = 0;

    // The control's native rectangle in the coordinates of its BoundsRect; a form's native client rectangle.
    virtual platform::forms::Rect Bounds(const platform::forms::Control& control) = 0;
    virtual platform::forms::Rect ClientRect(const platform::forms::Form& form) = 0;
    virtual bool Visible(const platform::forms::Control& control) = 0;
    virtual bool Enabled(const platform::forms::Control& control) = 0;
    // Visible: shows on the screen (it and its parents). Enabled: the control itself takes input.
    // The text the native window carries (a form's caption, a button's, an edit's text); nothing for kinds
    // that paint their text themselves.
    virtual std::optional<std::wstring> Text(const platform::forms::Control& control) = 0;
    // What the native control shows selected: the entry of a list, drop-down or radio group (-1: none), a
    // track bar's position, a check box's state (1 checked).
    virtual int Selection(const platform::forms::Control& control) = 0;
    // The control of form that has the keyboard focus (a radio group for one of its buttons), or null.
    virtual const platform::forms::Control* Focused(const platform::forms::Form& form) = 0;
    // The title on the program's taskbar button; whether there is a button at all.
    virtual std::wstring TaskbarTitle() = 0;
    virtual bool HasTaskbarButton() = 0;

    // The user clicks the control (item >= 0: that entry of a list box or that button of a radio group).
    virtual void Click(platform::forms::Control& control, int item = -1) = 0;
    // The next message box is answered by the user pressing that button; LastBox is what it showed.
    virtual void AnswerNextBox(platform::MsgResult answer) = 0;
    virtual std::optional<SeenBox> LastBox() = 0;
};

std::unique_ptr<FormsUnderTest> MakeFormsUnderTest();

// Handles messages for ms milliseconds of the platform clock, timers firing meanwhile.
void Pump(std::uint32_t ms);
// The user presses and releases a key (with Shift held when shift), typed through the backend's key entry
// point, then the program handles what follows.
void PressKey(std::uint8_t virtualKey, bool shift = false);

}  // namespace forms_contract
