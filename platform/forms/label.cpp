#include "platform/forms/label.h"

#include "platform/forms/backend.h"

namespace platform::forms {

Label::Label(Component* owner) : Control(owner, ComponentKind::Label) {}

void Label::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_) {
        return;
    }
    autoSize_ = autoSize;
    AdjustBounds();
}

void Label::SetWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_) {
        return;
    }
    wordWrap_ = wordWrap;
    Changed(Change::Style);
    AdjustBounds();
}

void Label::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_) {
        return;
    }
    alignment_ = alignment;
    Changed(Change::Style);
}

void Label::AdjustBounds() {
    if (!autoSize_) {
        return;
    }
    // An empty text is measured as a blank, so that the label keeps the height of one line.
    const std::wstring& text = Caption().empty() ? std::wstring(L" ") : Caption();
    const Size extent = backend().MeasureText(text, Font(), wordWrap_ ? Width() : 0);
    int left = Left();
    if (alignment_ == taRightJustify) {
        left += Width() - extent.cx;
    }
    SetBounds(left, Top(), extent.cx, extent.cy);
}

}  // namespace platform::forms
