#pragma once
// Push buttons, bitmap buttons and check boxes.
//
// A button's Click sets its form's ModalResult to the button's own (when that is not mrNone) and then runs
// OnClick, so a button with a modal result ends a modal wait by itself. Enter clicks the default button (or the
// focused button), Esc the cancel button, when they can take the focus.
// A check box runs OnClick whenever Checked changes, by the user or by code.

#include "platform/forms/bitmap.h"
#include "platform/forms/control.h"

namespace platform::forms {

class Button : public Control {
public:
    explicit Button(Component* owner) : Button(owner, ComponentKind::Button) {}

    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }

    void Click() override;

protected:
    Button(Component* owner, ComponentKind kind);
    bool Focusable() const override { return true; }

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
};

class BitBtn : public Button {
public:
    explicit BitBtn(Component* owner) : Button(owner, ComponentKind::BitBtn) {}

    const Bitmap& Glyph() const { return glyph_; }
    // A copy of the picture; an empty bitmap removes it.
    void SetGlyph(const Bitmap& glyph);

private:
    Bitmap glyph_;
};

class CheckBox : public Control {
public:
    explicit CheckBox(Component* owner);

    bool Checked() const { return checked_; }
    // Runs OnClick when the state changes.
    void SetChecked(bool checked);

    // A user click toggles the box.
    void Click() override { SetChecked(!checked_); }

protected:
    bool Focusable() const override { return true; }

private:
    bool checked_ = false;
};

}  // namespace platform::forms
