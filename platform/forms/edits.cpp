#include "platform/forms/edits.h"

namespace platform::forms {

Edit::Edit(Component* owner, ComponentKind kind) : Control(owner, kind) {
    SetColor(clWindow);
}

void Edit::TextChanged() {
    if (OnChange) {
        OnChange(*this);
    }
}

bool Edit::TypeChar(wchar_t key) {
    key = KeyPressed(key);
    if (key == 0) {
        return false;
    }
    std::wstring text = Text();
    if (key == L'\b') {
        if (!text.empty()) {
            text.pop_back();
        }
    } else {
        text.push_back(key);
    }
    SetText(text);
    return true;
}

}  // namespace platform::forms
