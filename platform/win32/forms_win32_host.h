#pragma once
// Inside the win32 forms backend: the native window of each control, the GDI objects they share, timers and
// the routing of window messages back to the components. Shared by forms_win32.cpp (loop, timers, keys,
// focus), forms_win32_controls.cpp (making and updating the windows, child notifications) and
// forms_win32_paint.cpp (fonts, metrics, painting).

#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Owns one GDI object (font, bitmap, brush) and deletes it once.
template <class T>
class UniqueGdi {
public:
    UniqueGdi() = default;
    explicit UniqueGdi(T object) : object_(object) {}
    UniqueGdi(const UniqueGdi&) = delete;
    UniqueGdi& operator=(const UniqueGdi&) = delete;
    UniqueGdi(UniqueGdi&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    UniqueGdi& operator=(UniqueGdi&& other) noexcept {
        if (this != &other) {
            reset(other.object_);
            other.object_ = nullptr;
        }
        return *this;
    }
    ~UniqueGdi() { reset(); }
    T get() const { return object_; }
    void reset(T object = nullptr) {
        if (object_) {
            ::DeleteObject(object_);
        }
        object_ = object;
    }

private:
    T object_ = nullptr;
};
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueBrush = UniqueGdi<HBRUSH>;

// Owns a window and destroys it once (its child windows go with it).
class UniqueWindow {
public:
    UniqueWindow() = default;
    explicit UniqueWindow(HWND hwnd) : hwnd_(hwnd) {}
    UniqueWindow(const UniqueWindow&) = delete;
    UniqueWindow& operator=(const UniqueWindow&) = delete;
    ~UniqueWindow() { reset(); }
    HWND get() const { return hwnd_; }
    void reset(HWND hwnd = nullptr) {
        if (hwnd_ && ::IsWindow(hwnd_)) {
            ::DestroyWindow(hwnd_);
        }
        hwnd_ = hwnd;
    }

private:
    HWND hwnd_ = nullptr;
};

class FormsHost;

// The window procedure of the hidden window that receives the timers' ticks.
LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The window procedure of the application's window (its taskbar button).
LRESULT CALLBACK ApplicationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The property under which each of our windows finds its Native, and a subclassed one its original procedure.
inline constexpr const wchar_t* kNativeProp = L"Corventa.Native";
inline constexpr const wchar_t* kProcProp = L"Corventa.Proc";

// The native side of one control.
struct Native {
    FormsHost* host = nullptr;
    // Null from the moment the control starts going away: messages sent while its window is destroyed are
    // then left to the system.
    forms::Control* control = nullptr;
    forms::ComponentKind kind = forms::ComponentKind::Panel;
    UniqueWindow window;
    UniqueWindow tooltip;      // a form's hint window, shared by its controls; goes before the form's window
    std::vector<HWND> radios;  // a radio group's buttons, children of its window
    UniqueBitmap glyph;        // a bitmap button's glyph
    UniqueBitmap brushBitmap;  // a scroll box's background picture
    UniqueBrush brush;
    bool multiSelect = false;  // the list box style the window was made with
    bool extendedSelect = true;
    bool tracking = false;  // TrackMouseEvent asked for the leave message
    int updating = 0;       // notifications caused by our own updates are not the user's
    HWND hwnd() const { return window.get(); }
};

class FormsHost {
public:
    explicit FormsHost(forms::Backend& backend);
    ~FormsHost();

    forms::Backend& backend() { return backend_; }

    // forms_win32_controls.cpp
    void Create(forms::Control& control);
    void Destroy(forms::Control& control);
    void Update(Native& native, forms::Change what);
    forms::Size FrameSize(forms::TFormBorderStyle style) const;
    forms::Size Measure(const std::wstring& text, const forms::TFont& font, int wrapWidth);

    // forms_win32.cpp
    void RunLoop(forms::Form& front, bool modal, const std::function<bool()>& done);
    void ProcessMessages();
    void StartTimer(forms::Timer& timer);
    void StopTimer(forms::Timer& timer);
    void Focus(forms::Control& control);

    // The application's window, which owns the forms and carries the taskbar button with the application's
    // title; made with the first form's window, shown until the backend goes.
    HWND MakeApplicationWindow();
    HWND ApplicationWindow() const { return applicationWindow_.get(); }
    void SetApplicationTitle(const std::wstring& title);
    void FormActivated(HWND form);
    HWND LastActiveForm() const { return lastActive_; }

    Native* Find(const forms::Control& control) const;
    static Native* FromWindow(HWND hwnd);

    // An event for the component model; an exception that escapes Dispatch is kept for the loop.
    template <class F>
    void Event(F&& f) {
        try {
            backend_.application().Dispatch(std::forward<F>(f));
        } catch (...) {
            if (!pending_) {
                pending_ = std::current_exception();
            }
        }
    }
    void RethrowPending();

    // Message handling shared by our window procedures and the subclassed system controls; true when the
    // message was handled and result set. A typed character may come back changed in wParam.
    bool CommonMessage(Native& native, UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result);
    // The messages a container receives about its children.
    bool ChildNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void MovePointer(forms::Control* control);

    // Painting helpers.
    HFONT Font(const forms::TFont& font);
    HBRUSH Brush(forms::TColor color);
    static COLORREF ToColorRef(forms::TColor color);
    // Fills area of hdc with container's background; origin is the container's client origin in hdc.
    void PaintBackground(Native& container, HDC hdc, POINT origin, const RECT& area);
    void PaintContainer(Native& native, HDC hdc);
    void PaintLabel(Native& native, HDC hdc);
    // A device-dependent copy of the picture, or null when its bytes do not make a whole bitmap.
    static HBITMAP MakeBitmap(const forms::Bitmap& bitmap);

    HINSTANCE module() const { return module_; }
    // Our own SetWindowPos on a form is running: its position messages are not the user's.
    bool Placing() const { return placing_ > 0; }

private:
    friend LRESULT CALLBACK TimerWindowProc(HWND, UINT, WPARAM, LPARAM);

    bool PreTranslate(const MSG& msg);
    void Handle(MSG& msg);
    void TimerTick(UINT_PTR id);

    // forms_win32_controls.cpp
    void RegisterClasses();
    std::wstring FormClass(const std::wstring& className);
    HWND MakeWindow(Native& native, forms::Control& control);
    void Subclass(HWND hwnd);
    void ApplyBounds(Native& native);
    void ApplyItems(Native& native);
    void ApplySelection(Native& native);
    void ApplyState(Native& native);
    void ApplyStyle(Native& native);
    void ApplyFont(Native& native);
    void ApplyImage(Native& native);
    void ApplyOrder(Native& native);
    void ApplyHint(Native& native);
    void MakeRadios(Native& native);
    void LayoutRadios(Native& native);
    void FitComboHeight(Native& native);
    void RebuildList(Native& native);
    void DrawBitButton(Native& native, const DRAWITEMSTRUCT& item);

    forms::Backend& backend_;
    HINSTANCE module_ = nullptr;
    bool classesRegistered_ = false;
    std::set<std::wstring> formClasses_;
    std::unordered_map<const forms::Control*, std::unique_ptr<Native>> natives_;
    std::map<std::tuple<std::wstring, int, bool, bool, bool>, UniqueFont> fonts_;
    std::map<COLORREF, UniqueBrush> brushes_;
    UniqueWindow timerWindow_;
    UniqueWindow applicationWindow_;
    HWND lastActive_ = nullptr;
    std::map<forms::Timer*, UINT_PTR> timerIds_;
    std::map<UINT_PTR, forms::Timer*> timersById_;
    UINT_PTR nextTimerId_ = 0;
    std::set<UINT_PTR> firedInPass_;
    bool inProcessMessages_ = false;
    forms::Control* hovered_ = nullptr;
    std::exception_ptr pending_;
    int placing_ = 0;
    int destroying_ = 0;
};

}  // namespace platform::win32
