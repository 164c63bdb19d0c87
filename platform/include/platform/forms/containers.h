#pragma once
// Controls that hold others: panel, group box and scroll box.
//
// Their align rectangles (the room their aligned children share): a panel's client area less one pixel per
// bevel (outer and inner, bvNone takes none); a group box's less 2 pixels at the left, right and bottom and
// the height of a "0" in its font plus 2 at the top; a scroll box's whole client area.

#include "platform/forms/bitmap.h"
#include "platform/forms/control.h"

namespace platform::forms {

class Panel : public Control {
public:
    explicit Panel(Component* owner);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut bevel);

protected:
    Rect AlignRect() const override;

private:
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
};

class GroupBox : public Control {
public:
    explicit GroupBox(Component* owner) : GroupBox(owner, ComponentKind::GroupBox) {}

protected:
    GroupBox(Component* owner, ComponentKind kind);
    Rect AlignRect() const override;
};

class ScrollBox : public Control {
public:
    explicit ScrollBox(Component* owner);

    // The picture that fills the box's background, tiled; empty: the plain colour.
    const Bitmap& BrushBitmap() const { return brushBitmap_; }
    void SetBrushBitmap(const Bitmap& bitmap);

private:
    Bitmap brushBitmap_;
};

}  // namespace platform::forms
