#pragma once
// A window of the program. Each dialog class derives from Form, builds its components in its constructor
// from its layout table (see design.h), which binds them to its fields and handlers; its own events bind
// through its FormDesign. It is made by MakeForm (or Application::CreateForm), which runs
// OnCreate once the whole object exists, and freed through its FormPtr, which runs OnDestroy while it still
// does; deleting a form any other way skips OnDestroy.
//
// Life of a form, as in the original toolkit:
// - Show (Visible := true): the native windows are made at the first show; OnShow runs (an exception there
//   is reported by the application and the form is shown anyway; the form is not visible yet, so SetFocus
//   there raises, as in the original toolkit); then the form is placed by its Position
//   (poScreenCenter: the backend's work area; poMainFormCenter: the application's main form, or the screen when
//   there is none or it is this form) and, when nothing has the focus, the first control that can take it
//   gets it.
// - ShowModal: raises platform::Exception "Cannot make a visible window modal" for a visible form; otherwise
//   ModalResult := mrNone, Show, and the backend's event loop runs until ModalResult is set (a button's modal
//   result, Close, or mrCancel when the application terminates). Then OnClose runs with caHide; caNone there,
//   or an exception (reported), resets ModalResult and the wait goes on. The form hides and ShowModal returns
//   the result.
// - Close: on a modal form ModalResult := mrCancel. Otherwise OnClose runs with caHide; unless it says
//   caNone, the main form terminates the application and any other form hides.
// Width and Height are the outer size; the client area is smaller by the backend's frame for the border style.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/forms/binding.h"
#include "platform/forms/control.h"

namespace platform::forms {

// The virtual-key codes the component model acts on itself.
inline constexpr std::uint8_t kKeyTab = 0x09;
inline constexpr std::uint8_t kKeyReturn = 0x0D;
inline constexpr std::uint8_t kKeyShift = 0x10;
inline constexpr std::uint8_t kKeyControl = 0x11;
inline constexpr std::uint8_t kKeyEscape = 0x1B;
inline constexpr std::uint8_t kKeyLeft = 0x25;
inline constexpr std::uint8_t kKeyUp = 0x26;
inline constexpr std::uint8_t kKeyRight = 0x27;
inline constexpr std::uint8_t kKeyDown = 0x28;

using CloseEvent = std::function<void(Component& sender, TCloseAction& action)>;

// The form's own properties in a window layout.
struct FormDesign {
    const wchar_t* caption = L"";
    int clientWidth = 0;
    int clientHeight = 0;
    int left = 0;  // screen position, used with poDesigned
    int top = 0;
    TPosition position = poDesigned;
    TFormBorderStyle borderStyle = bsSizeable;
    TBorderIcons borderIcons = biSystemMenu | biMinimize | biMaximize;
    TFormStyle formStyle = fsNormal;
    TCursor cursor = crDefault;
    const wchar_t* fontName = L"Tahoma";
    int fontSize = 8;
    // The window's own handlers (`.OnShow = &TfrmSetItem::FormShow`), bound when the window has been built,
    // before OnCreate runs; a method of another window class is a layout error (FatalError).
    Handler<NotifyEvent> OnCreate{};
    Handler<NotifyEvent> OnShow{};
    Handler<CloseEvent> OnClose{};
    Handler<NotifyEvent> OnDestroy{};
};

class Form : public Control {
public:
    // className is the dialog's class name (TfrmSetItem), by which scripted users and dumps know it.
    Form(std::wstring className, const FormDesign& design);
    ~Form() override;

    const std::wstring& ClassName() const { return className_; }

    Rect ClientRect() const override;
    void SetClientWidth(int width);
    void SetClientHeight(int height);

    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);

    void SetVisible(bool visible) override;
    void Close();
    TModalResult ShowModal();
    bool Modal() const { return modal_; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }

    Control* ActiveControl() const { return activeControl_; }

    NotifyEvent OnCreate;
    NotifyEvent OnShow;
    NotifyEvent OnDestroy;
    CloseEvent OnClose;

    // Run by MakeForm / CreateForm and by FormPtr's deleter (each at most once). AfterConstruction binds the
    // design's handlers and then runs OnCreate.
    void AfterConstruction();
    void BeforeDestruction();

    // Called by a backend: the focus moved to control (null: to nothing on this form). Runs OnExit of the
    // control that had it and OnEnter of the new one.
    void FocusMoved(Control* control);
    // Called when a control of this form goes away, so that nothing points at it.
    void ControlGone(Control* control);
    // Called by a backend for the keys that move the focus, as the system's dialog manager moves it: Tab
    // (backwards with Shift) to the next control that can take the focus, in the layout's order and round
    // from the last to the first, a radio group counting as one stop; an arrow key in the focused radio group
    // to the next button (Right, Down) or the previous one (Left, Up), round within the group, selecting it.
    // False when the key moves nothing (the focused control then gets it).
    bool NavigationKey(std::uint8_t virtualKey, bool shift);
    // Called by a backend for Esc (27) and Enter (13) in a dialog: Esc clicks a cancel button, Enter the focused
    // button or else a default button, when that button can take the focus. False when no button took the key
    // (the focused control then gets it as a key press).
    bool DialogKey(wchar_t key);

private:
    friend class Application;
    void PlaceByPosition();
    void FocusFirst();
    bool CloseModal();

    void BindDesignHandlers();

    std::wstring className_;
    Handler<NotifyEvent> designOnCreate_;
    Handler<NotifyEvent> designOnShow_;
    Handler<CloseEvent> designOnClose_;
    Handler<NotifyEvent> designOnDestroy_;
    TPosition position_;
    TFormStyle formStyle_;
    TFormBorderStyle borderStyle_;
    TBorderIcons borderIcons_;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    Control* activeControl_ = nullptr;
    bool created_ = false;
    bool destroying_ = false;
};

struct FormDeleter {
    void operator()(Form* form) const;
};
template <class T>
using FormPtr = std::unique_ptr<T, FormDeleter>;

// Makes a form and runs its OnCreate (an exception there is reported by the application).
template <class T, class... A>
FormPtr<T> MakeForm(A&&... args) {
    FormPtr<T> form(new T(std::forward<A>(args)...));
    form->AfterConstruction();
    return form;
}

}  // namespace platform::forms
