#include "platform/forms/form.h"

#include <algorithm>

#include "platform/forms/application.h"
#include "platform/forms/backend.h"
#include "platform/forms/buttons.h"
#include "platform/forms/design.h"
#include "platform/forms/lists.h"
#include "platform/types.h"

namespace platform::forms {

Form::Form(std::wstring className, const FormDesign& design)
    : Control(nullptr, ComponentKind::Form),
      className_(std::move(className)),
      designOnCreate_(design.OnCreate),
      designOnShow_(design.OnShow),
      designOnClose_(design.OnClose),
      designOnDestroy_(design.OnDestroy),
      position_(design.position),
      formStyle_(design.formStyle),
      borderStyle_(design.borderStyle),
      borderIcons_(design.borderIcons) {
    Control::SetVisible(false);
    SetCaption(design.caption ? design.caption : L"");
    TFont font;
    font.name = design.fontName ? design.fontName : L"Tahoma";
    font.size = design.fontSize;
    SetFont(font);
    SetCursor(design.cursor);
    const Size frame = backend().FrameSize(borderStyle_);
    SetBounds(design.left, design.top, design.clientWidth + frame.cx, design.clientHeight + frame.cy);
    backend().application().FormCreated(this);
}

Form::~Form() {
    DestroyComponents();
    backend().application().FormGone(this);
}

Rect Form::ClientRect() const {
    const Size frame = backend().FrameSize(borderStyle_);
    return {0, 0, std::max(Width() - frame.cx, 0), std::max(Height() - frame.cy, 0)};
}

void Form::SetClientWidth(int width) {
    SetWidth(width + backend().FrameSize(borderStyle_).cx);
}

void Form::SetClientHeight(int height) {
    SetHeight(height + backend().FrameSize(borderStyle_).cy);
}

void Form::SetFormStyle(TFormStyle style) {
    if (style == formStyle_) {
        return;
    }
    formStyle_ = style;
    Changed(Change::Style);
}

void Form::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_) {
        return;
    }
    // The outer size stays; the client area follows the new frame.
    borderStyle_ = style;
    Changed(Change::Style);
    Realign();
}

void Form::SetBorderIcons(TBorderIcons icons) {
    if (icons == borderIcons_) {
        return;
    }
    borderIcons_ = icons;
    Changed(Change::Style);
}

void Form::SetVisible(bool visible) {
    if (visible == Visible()) {
        return;
    }
    if (!visible) {
        Control::SetVisible(false);
        return;
    }
    HandleNeeded();
    backend().application().Dispatch([this] {
        if (OnShow) {
            OnShow(*this);
        }
    });
    PlaceByPosition();
    Control::SetVisible(true);
    if (!activeControl_) {
        FocusFirst();
    }
}

void Form::PlaceByPosition() {
    const Rect work = backend().WorkArea();
    Form* main = backend().application().MainForm();
    int left = Left();
    int top = Top();
    if (position_ == poScreenCenter || (position_ == poMainFormCenter && (!main || main == this))) {
        left = work.left + (work.Width() - Width()) / 2;
        top = work.top + (work.Height() - Height()) / 2;
    } else if (position_ == poMainFormCenter) {
        left = std::max(main->Left() + (main->Width() - Width()) / 2, work.left);
        top = std::max(main->Top() + (main->Height() - Height()) / 2, work.top);
    } else {
        return;
    }
    SetBounds(left, top, Width(), Height());
}

namespace {

Control* FirstFocusable(Control& parent) {
    for (Control* child : parent.Controls()) {
        if (child->CanFocus()) {
            return child;
        }
        if (Control* inner = FirstFocusable(*child)) {
            return inner;
        }
    }
    return nullptr;
}

void CollectFocusable(Control& parent, std::vector<Control*>& out) {
    for (Control* child : parent.Controls()) {
        if (child->CanFocus()) {
            out.push_back(child);
        }
        CollectFocusable(*child, out);
    }
}

}  // namespace

bool Form::NavigationKey(std::uint8_t virtualKey, bool shift) {
    if (virtualKey == kKeyTab) {
        std::vector<Control*> order;
        CollectFocusable(*this, order);
        if (order.empty()) {
            return true;
        }
        const auto it = std::find(order.begin(), order.end(), activeControl_);
        std::size_t next = shift ? order.size() - 1 : 0;
        if (it != order.end()) {
            const auto at = static_cast<std::size_t>(it - order.begin());
            next = shift ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
        }
        order[next]->SetFocus();
        return true;
    }
    const bool forward = virtualKey == kKeyRight || virtualKey == kKeyDown;
    if (!forward && virtualKey != kKeyLeft && virtualKey != kKeyUp) {
        return false;
    }
    auto* group = dynamic_cast<RadioGroup*>(activeControl_);
    if (!group || group->Items().empty()) {
        return false;
    }
    // With nothing selected the focus sits on the first button.
    const int count = static_cast<int>(group->Items().size());
    const int at = std::max(group->ItemIndex(), 0);
    group->UserClickItem((at + (forward ? 1 : count - 1)) % count);
    return true;
}

void Form::FocusFirst() {
    if (Control* first = FirstFocusable(*this)) {
        backend().SetFocus(*first);
    }
}

void Form::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    TCloseAction action = caHide;
    if (OnClose) {
        OnClose(*this, action);
    }
    if (action == caNone) {
        return;
    }
    Application& app = backend().application();
    if (app.MainForm() == this) {
        app.Terminate();
    } else {
        Hide();
    }
}

bool Form::CloseModal() {
    TCloseAction action = caHide;
    try {
        if (OnClose) {
            OnClose(*this, action);
        }
    } catch (const FatalError&) {
        throw;
    } catch (const std::exception& error) {
        modalResult_ = mrNone;
        backend().application().HandleException(error);
        return false;
    }
    if (action == caNone) {
        modalResult_ = mrNone;
        return false;
    }
    return true;
}

TModalResult Form::ShowModal() {
    if (Visible() || modal_) {
        throw platform::Exception(L"Cannot make a visible window modal");
    }
    modal_ = true;
    modalResult_ = mrNone;
    // Whatever ends the wait, even an exception, the form leaves the modal state hidden.
    struct Restore {
        Form& form;
        ~Restore() {
            form.modal_ = false;
            form.Control::SetVisible(false);
        }
    } restore{*this};
    Show();
    Application& app = backend().application();
    bool ended = false;
    backend().RunLoop(*this, true, [this, &app, &ended] {
        if (!ended && app.Terminated()) {
            modalResult_ = mrCancel;
            ended = true;
        } else if (!ended) {
            ended = modalResult_ != mrNone && CloseModal();
        }
        return ended;
    });
    return modalResult_;
}

void Form::BindDesignHandlers() {
    // The form's constructor runs before the window class's, so its methods are bound only now.
    auto bind = [this](const auto& handler, const char* event) {
        if (!handler) {
            return decltype(handler.Bind(*this))();
        }
        auto bound = handler.Bind(*this);
        if (!bound) {
            ThrowLayoutError(*this, std::string(event) + " is a method of another window class", ClassName());
        }
        return bound;
    };
    NotifyEvent onCreate = bind(designOnCreate_, "OnCreate");
    NotifyEvent onShow = bind(designOnShow_, "OnShow");
    CloseEvent onClose = bind(designOnClose_, "OnClose");
    NotifyEvent onDestroy = bind(designOnDestroy_, "OnDestroy");
    if (onCreate) {
        OnCreate = std::move(onCreate);
    }
    if (onShow) {
        OnShow = std::move(onShow);
    }
    if (onClose) {
        OnClose = std::move(onClose);
    }
    if (onDestroy) {
        OnDestroy = std::move(onDestroy);
    }
}

void Form::AfterConstruction() {
    if (created_) {
        return;
    }
    created_ = true;
    BindDesignHandlers();
    backend().application().Dispatch([this] {
        if (OnCreate) {
            OnCreate(*this);
        }
    });
}

void Form::BeforeDestruction() {
    if (destroying_) {
        return;
    }
    destroying_ = true;
    backend().application().Dispatch([this] {
        if (OnDestroy) {
            OnDestroy(*this);
        }
    });
}

void Form::FocusMoved(Control* control) {
    if (control == activeControl_) {
        return;
    }
    Control* old = activeControl_;
    activeControl_ = control;
    if (old && old->OnExit) {
        old->OnExit(*old);
    }
    if (control && control->OnEnter) {
        control->OnEnter(*control);
    }
}

void Form::ControlGone(Control* control) {
    for (Control* c = activeControl_; c; c = c->Parent()) {
        if (c == control) {
            activeControl_ = nullptr;
            return;
        }
    }
}

namespace {

Button* FindDialogButton(Control& parent, bool cancel) {
    for (Control* child : parent.Controls()) {
        if (auto* button = dynamic_cast<Button*>(child);
            button && (cancel ? button->Cancel() : button->Default()) && button->CanFocus()) {
            return button;
        }
        if (Button* inner = FindDialogButton(*child, cancel)) {
            return inner;
        }
    }
    return nullptr;
}

}  // namespace

bool Form::DialogKey(wchar_t key) {
    if (key != L'\x1B' && key != L'\r') {
        return false;
    }
    const bool cancel = key == L'\x1B';
    Button* target = nullptr;
    if (!cancel) {
        target = dynamic_cast<Button*>(activeControl_);
    }
    if (!target) {
        target = FindDialogButton(*this, cancel);
    }
    if (!target) {
        return false;
    }
    target->Click();
    return true;
}

void FormDeleter::operator()(Form* form) const {
    if (!form) {
        return;
    }
    form->BeforeDestruction();
    delete form;
}

}  // namespace platform::forms
