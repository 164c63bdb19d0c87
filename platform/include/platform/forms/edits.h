#pragma once
// One-line text fields. Text is the control's Caption; OnChange runs whenever the text changes, by the user
// or by code. Typing goes through OnKeyPress first (a filter may drop a key by setting it to 0); a backspace
// (character 8) removes the last character.

#include "platform/forms/control.h"

namespace platform::forms {

class Edit : public Control {
public:
    explicit Edit(Component* owner) : Edit(owner, ComponentKind::Edit) {}

    const std::wstring& Text() const { return Caption(); }
    void SetText(const std::wstring& text) { SetCaption(text); }

    NotifyEvent OnChange;

    // A character the user typed at the end of the text, after OnKeyPress; false when the filter dropped it.
    bool TypeChar(wchar_t key);

protected:
    Edit(Component* owner, ComponentKind kind);
    void TextChanged() override;
    bool Focusable() const override { return true; }
};

// An edit whose input a key filter checks; it enforces no mask of its own.
class MaskEdit : public Edit {
public:
    explicit MaskEdit(Component* owner) : Edit(owner, ComponentKind::MaskEdit) {}
};

}  // namespace platform::forms
