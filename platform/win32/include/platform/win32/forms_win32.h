#pragma once
// The forms backend on real windows: one native window per control (the system's button, list, combo, edit
// and track bar controls; our own window classes for forms, containers and labels), the system's message
// loop and timers, fonts from the form's design (Tahoma 8 by default) and text measured with them.
//
// Geometry comes from the portable layout: every native window is placed exactly where the component says
// (a form's outer rectangle on the screen, a control's rectangle in its parent's client area), and a form's
// frame is the system's frame for its border style, so that its client area is the component's ClientRect.
// A drop-down list is the one control whose closed height the system derives from its font; its selection
// field is sized so that the closed height is the component's Height.
//
// Everything runs on the user-interface thread that made the backend. Each user action reaches the component
// model inside Application::Dispatch; a forms::FatalError raised there is held at the window procedure and
// raised again from RunLoop or ProcessMessages, so that it never unwinds through the system's code.

#include <memory>

#include "platform/forms/backend.h"

namespace platform::win32 {

class FormsHost;

class Win32Forms : public forms::Backend {
public:
    Win32Forms();
    ~Win32Forms() override;

    void CreateNative(forms::Control& control) override;
    void DestroyNative(forms::Control& control) override;
    void UpdateNative(forms::Control& control, forms::Change what) override;
    void RunLoop(forms::Form& front, bool modal, const std::function<bool()>& done) override;
    void ProcessMessages() override;
    void StartTimer(forms::Timer& timer) override;
    void StopTimer(forms::Timer& timer) override;
    void SetFocus(forms::Control& control) override;
    void KeyEvent(std::uint8_t virtualKey, bool keyUp) override;
    void BringToFront(forms::Form* form) override;
    void SetApplicationTitle(const std::wstring& title) override;
    bool TopLevelWindowExists(const std::wstring& className) override;
    forms::Size MeasureText(const std::wstring& text, const forms::TFont& font, int wrapWidth) override;
    forms::Size FrameSize(forms::TFormBorderStyle style) override;
    forms::Rect WorkArea() override;

    // The application's window (an HWND: the taskbar button, owner of the forms), or null before the first form
    // has a window; for checks.
    void* ApplicationWindow() const;
    // The control's native window (an HWND), or null while it has none; for checks and screenshots.
    void* NativeHandle(const forms::Control& control) const;
    // The native window's rectangle in the same coordinates as the component's BoundsRect (the screen for a
    // form, the parent's client area otherwise), and its client rectangle; empty while there is no window.
    forms::Rect NativeBounds(const forms::Control& control) const;
    forms::Rect NativeClientRect(const forms::Control& control) const;

private:
    std::unique_ptr<FormsHost> host_;
};

}  // namespace platform::win32
