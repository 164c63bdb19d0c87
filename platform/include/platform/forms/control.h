#pragma once
// A visible component: a place in a parent, geometry, texts, states, a font and the events a user causes.
//
// Geometry is relative to the parent's client area (a form's is the screen, and its Width and Height are its
// outer size). Layout is computed here, the same for every backend:
// - an aligned control (alTop, alBottom, alLeft, alRight, alClient) is placed by its parent: the parent's align
//   rectangle (its client area less borders, bevels or a group box's caption) is handed out to the visible
//   aligned children, first alTop (by Top), then alBottom (lowest first), alLeft (by Left), alRight (rightmost
//   first), and alClient takes what is left; the control keeps its own height (top, bottom) or width (left,
//   right). Hidden aligned controls take no room.
// - a control with alNone keeps the distance to the parent edges in its Anchors whenever the parent's client
//   area changes size: akLeft + akRight stretches it, akRight alone moves it, likewise vertically; neither of
//   the two keeps its centre in proportion. The distances are those of the last time its bounds were set by
//   code, so repeated resizing never drifts.
// A form's or panel's children therefore follow when its height changes: bottom panels stay at the bottom.
//
// Events fire as in the original toolkit: OnClick from a user click or Click(); OnEnter/OnExit when the focus
// moves; OnMouseEnter/OnMouseLeave when the pointer crosses the control; OnKeyPress for each character typed
// into the focused control, which may change the key or drop it (set it to 0).
// User-interface thread only.

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/component.h"

namespace platform::forms {

class Form;

using KeyPressEvent = std::function<void(Component& sender, wchar_t& key)>;

class Control : public Component {
public:
    Control(Component* owner, ComponentKind kind);
    ~Control() override;

    Control* Parent() const { return parent_; }
    // Puts the control on top of the new parent's children (null takes it off any parent).
    void SetParent(Control* parent);
    // Children in z-order, the bottom one first.
    const std::vector<Control*>& Controls() const { return children_; }
    // The form the control sits on (a form is its own); null while it has no parent chain to a form.
    Form* ParentForm();

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    // Negative sizes become 0.
    virtual void SetBounds(int left, int top, int width, int height);
    Rect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    // The client area in the control's own coordinates; its children are placed relative to its origin.
    virtual Rect ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible together with every parent up to a visible form.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Enabled together with every parent: what a user can reach.
    bool EnabledWithParents() const;

    // The control's text: a label's or button's caption, an edit's text, a group box's title.
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    // The font in effect: the control's own, or its parent's while ParentFont is set (the default).
    const TFont& Font() const;
    // Gives the control a font of its own.
    void SetFont(const TFont& font);
    void SetFontBold(bool bold);
    void SetFontColor(TColor color);
    void SetFontUnderline(bool underline);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    void BringToFront();
    void SendToBack();
    // Asks for a repaint (after a picture has changed, for example).
    void Invalidate() { Changed(Change::Image); }

    // Whether the user could put the focus here: a focusable kind, showing and enabled with its parents.
    virtual bool CanFocus() const;
    bool Focused() const;
    // Raises platform::Exception "Cannot focus a disabled or invisible window" when CanFocus is false.
    void SetFocus();

    // Runs OnClick (buttons: sets the form's ModalResult first).
    virtual void Click();

    NotifyEvent OnClick;
    NotifyEvent OnMouseEnter;
    NotifyEvent OnMouseLeave;
    NotifyEvent OnEnter;
    NotifyEvent OnExit;
    KeyPressEvent OnKeyPress;

    // The native counterpart. Created for a whole form when it is first shown, and for a control that joins a
    // parent that has one; destroyed with the control.
    bool HandleAllocated() const { return handleAllocated_; }
    void HandleNeeded();

    // Called by a backend for what the user did to the native control, inside Application::Dispatch.
    void MouseEntered();
    void MouseLeft();
    // A character typed while the control has the focus: OnKeyPress sees it first; returns the character that
    // reaches the control (0: dropped).
    wchar_t KeyPressed(wchar_t key);

protected:
    // Tells the backend what changed (nothing happens before the native exists).
    void Changed(Change what);
    // The part of the client area that aligned children share.
    virtual Rect AlignRect() const { return ClientRect(); }
    // Hooks for the kinds: the text or the font in effect changed.
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    // Places the aligned and anchored children after a change of this control's client area or of a child.
    void Realign();
    // Sets the bounds as the layout decides (no new anchor distances).
    void ApplyBounds(int left, int top, int width, int height);
    virtual bool Focusable() const { return false; }

private:
    struct AnchorBase {
        bool valid = false;
        Rect bounds;
        int parentWidth = 0;
        int parentHeight = 0;
    };

    void RecordAnchorBase();
    Rect AnchoredBounds(int parentWidth, int parentHeight) const;
    void ParentFontChanged();
    void RealignParent();
    void DestroyHandle();
    void RemoveChild(Control* child);

    Control* parent_ = nullptr;
    std::vector<Control*> children_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    AnchorBase anchorBase_;
    bool visible_ = true;
    bool enabled_ = true;
    std::wstring caption_;
    std::wstring hint_;
    bool showHint_ = false;
    TFont font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    TCursor cursor_ = crDefault;
    bool handleAllocated_ = false;
    bool realigning_ = false;
    bool realignAgain_ = false;
};

}  // namespace platform::forms
