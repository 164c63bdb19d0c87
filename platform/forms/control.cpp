#include "platform/forms/control.h"

#include <algorithm>

#include "platform/forms/backend.h"
#include "platform/forms/form.h"
#include "platform/types.h"

namespace platform::forms {

Control::Control(Component* owner, ComponentKind kind) : Component(owner, kind) {}

Control::~Control() {
    DestroyComponents();
    if (Form* form = ParentForm()) {
        form->ControlGone(this);
    }
    DestroyHandle();
    for (Control* child : children_) {
        child->parent_ = nullptr;
    }
    children_.clear();
    if (parent_) {
        parent_->RemoveChild(this);
    }
}

void Control::RemoveChild(Control* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void Control::SetParent(Control* parent) {
    if (parent == parent_) {
        return;
    }
    for (Control* up = parent; up; up = up->parent_) {
        if (up == this) {
            throw std::logic_error("a control cannot be placed inside itself: " + NarrowName(Name()));
        }
    }
    Control* old = parent_;
    if (old) {
        DestroyHandle();
        if (Form* form = ParentForm()) {
            form->ControlGone(this);
        }
        old->RemoveChild(this);
        parent_ = nullptr;
        if (align_ != alNone) {
            old->Realign();
        }
    }
    parent_ = parent;
    if (!parent_) {
        return;
    }
    parent_->children_.push_back(this);
    RecordAnchorBase();
    if (parentFont_) {
        ParentFontChanged();
    }
    if (parent_->handleAllocated_) {
        HandleNeeded();
    }
    if (align_ != alNone) {
        parent_->Realign();
    }
}

Form* Control::ParentForm() {
    Control* top = this;
    while (top->parent_) {
        top = top->parent_;
    }
    return dynamic_cast<Form*>(top);
}

void Control::SetBounds(int left, int top, int width, int height) {
    ApplyBounds(left, top, std::max(width, 0), std::max(height, 0));
    RecordAnchorBase();
    RealignParent();
}

void Control::ApplyBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_) {
        return;
    }
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Changed(Change::Bounds);
    if (resized) {
        Realign();
    }
}

void Control::RealignParent() {
    if (parent_ && align_ != alNone) {
        parent_->Realign();
    }
}

void Control::SetAlign(TAlign align) {
    if (align == align_) {
        return;
    }
    const TAlign old = align_;
    align_ = align;
    if (align_ == alNone) {
        RecordAnchorBase();
    }
    Changed(Change::Style);
    if (parent_ && (old != alNone || align_ != alNone)) {
        parent_->Realign();
    }
}

void Control::SetAnchors(TAnchors anchors) {
    anchors_ = anchors;
    RecordAnchorBase();
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    visible_ = visible;
    Changed(Change::Visible);
    RealignParent();
}

bool Control::Showing() const {
    if (!visible_) {
        return false;
    }
    if (parent_) {
        return parent_->Showing();
    }
    return Kind() == ComponentKind::Form;
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    Changed(Change::Enabled);
}

bool Control::EnabledWithParents() const {
    return enabled_ && (!parent_ || parent_->EnabledWithParents());
}

void Control::SetCaption(const std::wstring& caption) {
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    Changed(Change::Text);
    TextChanged();
}

void Control::SetHint(const std::wstring& hint) {
    if (hint == hint_) {
        return;
    }
    hint_ = hint;
    Changed(Change::Style);
}

void Control::SetShowHint(bool show) {
    if (show == showHint_) {
        return;
    }
    showHint_ = show;
    Changed(Change::Style);
}

const TFont& Control::Font() const {
    if (parentFont_ && parent_) {
        return parent_->Font();
    }
    return font_;
}

void Control::SetFont(const TFont& font) {
    font_ = font;
    parentFont_ = false;
    ParentFontChanged();
}

void Control::SetFontBold(bool bold) {
    TFont font = Font();
    font.bold = bold;
    SetFont(font);
}

void Control::SetFontColor(TColor color) {
    TFont font = Font();
    font.color = color;
    SetFont(font);
}

void Control::SetFontUnderline(bool underline) {
    TFont font = Font();
    font.underline = underline;
    SetFont(font);
}

void Control::SetParentFont(bool parentFont) {
    if (parentFont == parentFont_) {
        return;
    }
    if (!parentFont) {
        font_ = Font();
    }
    parentFont_ = parentFont;
    ParentFontChanged();
}

// The font in effect changed for this control (its own, or an ancestor's that it uses): tell the kind, the
// backend and every child that follows it.
void Control::ParentFontChanged() {
    FontChanged();
    Changed(Change::Font);
    for (Control* child : children_) {
        if (child->parentFont_) {
            child->ParentFontChanged();
        }
    }
}

void Control::SetColor(TColor color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    Changed(Change::Style);
}

void Control::SetCursor(TCursor cursor) {
    if (cursor == cursor_) {
        return;
    }
    cursor_ = cursor;
    Changed(Change::Style);
}

void Control::BringToFront() {
    if (!parent_) {
        return;
    }
    auto& siblings = parent_->children_;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it != siblings.end()) {
        std::rotate(it, it + 1, siblings.end());
    }
    Changed(Change::Order);
}

void Control::SendToBack() {
    if (!parent_) {
        return;
    }
    auto& siblings = parent_->children_;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it != siblings.end()) {
        std::rotate(siblings.begin(), it, it + 1);
    }
    Changed(Change::Order);
}

bool Control::CanFocus() const {
    return Focusable() && Showing() && EnabledWithParents();
}

bool Control::Focused() const {
    Form* form = const_cast<Control*>(this)->ParentForm();
    return form && form->ActiveControl() == this;
}

void Control::SetFocus() {
    if (!CanFocus()) {
        throw platform::Exception(L"Cannot focus a disabled or invisible window");
    }
    backend().SetFocus(*this);
}

void Control::Click() {
    if (OnClick) {
        OnClick(*this);
    }
}

void Control::HandleNeeded() {
    if (!handleAllocated_) {
        if (!parent_ && Kind() != ComponentKind::Form) {
            return;
        }
        if (parent_ && !parent_->handleAllocated_) {
            parent_->HandleNeeded();  // makes this one too
            return;
        }
        backend().CreateNative(*this);
        handleAllocated_ = true;
    }
    for (Control* child : children_) {
        child->HandleNeeded();
    }
}

void Control::DestroyHandle() {
    for (Control* child : children_) {
        child->DestroyHandle();
    }
    if (handleAllocated_) {
        handleAllocated_ = false;
        backend().DestroyNative(*this);
    }
}

void Control::MouseEntered() {
    if (OnMouseEnter) {
        OnMouseEnter(*this);
    }
}

void Control::MouseLeft() {
    if (OnMouseLeave) {
        OnMouseLeave(*this);
    }
}

wchar_t Control::KeyPressed(wchar_t key) {
    if (OnKeyPress) {
        OnKeyPress(*this, key);
    }
    return key;
}

void Control::Changed(Change what) {
    if (handleAllocated_) {
        backend().UpdateNative(*this, what);
    }
}

}  // namespace platform::forms
