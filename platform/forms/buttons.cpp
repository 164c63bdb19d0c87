#include "platform/forms/buttons.h"

#include "platform/forms/form.h"

namespace platform::forms {

Button::Button(Component* owner, ComponentKind kind) : Control(owner, kind) {}

void Button::SetDefault(bool isDefault) {
    if (isDefault == default_) {
        return;
    }
    default_ = isDefault;
    Changed(Change::Style);
}

void Button::SetCancel(bool cancel) {
    cancel_ = cancel;
}

void Button::Click() {
    if (modalResult_ != mrNone) {
        if (Form* form = ParentForm()) {
            form->SetModalResult(modalResult_);
        }
    }
    Control::Click();
}

void BitBtn::SetGlyph(const Bitmap& glyph) {
    glyph_ = glyph;
    Changed(Change::Image);
}

CheckBox::CheckBox(Component* owner) : Control(owner, ComponentKind::CheckBox) {}

void CheckBox::SetChecked(bool checked) {
    if (checked == checked_) {
        return;
    }
    checked_ = checked;
    Changed(Change::State);
    Control::Click();
}

}  // namespace platform::forms
