#include "platform/forms/containers.h"

#include "platform/forms/backend.h"

namespace platform::forms {

Panel::Panel(Component* owner) : Control(owner, ComponentKind::Panel) {}

void Panel::SetBevelOuter(TBevelCut bevel) {
    if (bevel == bevelOuter_) {
        return;
    }
    bevelOuter_ = bevel;
    Changed(Change::Style);
    Realign();
}

void Panel::SetBevelInner(TBevelCut bevel) {
    if (bevel == bevelInner_) {
        return;
    }
    bevelInner_ = bevel;
    Changed(Change::Style);
    Realign();
}

Rect Panel::AlignRect() const {
    const int inset = (bevelOuter_ != bvNone ? 1 : 0) + (bevelInner_ != bvNone ? 1 : 0);
    Rect r = ClientRect();
    return {r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
}

GroupBox::GroupBox(Component* owner, ComponentKind kind) : Control(owner, kind) {}

Rect GroupBox::AlignRect() const {
    Rect r = ClientRect();
    r.left += 2;
    r.right -= 2;
    r.bottom -= 2;
    r.top += backend().MeasureText(L"0", Font(), 0).cy + 2;
    return r;
}

ScrollBox::ScrollBox(Component* owner) : Control(owner, ComponentKind::ScrollBox) {}

void ScrollBox::SetBrushBitmap(const Bitmap& bitmap) {
    brushBitmap_ = bitmap;
    Changed(Change::Image);
}

}  // namespace platform::forms
