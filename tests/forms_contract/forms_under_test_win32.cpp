// The win32 backend under test: a fresh Win32Platform per test, its forms as real windows. What the user sees is
// read from the windows; what the user does is sent to them as the system would: mouse-button messages at the
// control (or at the list entry or radio button), message boxes answered by pressing their buttons.
#include <vector>

#include "forms_under_test.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace forms_contract {
namespace {

using namespace platform::forms;

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[512] = {};
    const int n = ::GetWindowTextW(hwnd, buffer, 512);
    return std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

int DialogId(platform::MsgResult answer) {
    switch (answer) {
        case platform::MsgResult::OK:
            return IDOK;
        case platform::MsgResult::Cancel:
            return IDCANCEL;
        case platform::MsgResult::Yes:
            return IDYES;
        case platform::MsgResult::No:
            return IDNO;
        case platform::MsgResult::Retry:
            return IDRETRY;
        case platform::MsgResult::Abort:
            return IDABORT;
        case platform::MsgResult::Ignore:
            return IDIGNORE;
    }
    return IDOK;
}

BOOL CALLBACK TakeBox(HWND hwnd, LPARAM out) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A message box of this thread: the system's dialog class.
HWND FindBox() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), TakeBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

class Win32UnderTest : public FormsUnderTest {
public:
    const char* Name() const override { return "win32"; }

    Rect Bounds(const Control& control) override { return forms().NativeBounds(control); }
    Rect ClientRect(const Form& form) override { return forms().NativeClientRect(form); }
    bool Visible(const Control& control) override { return ::IsWindowVisible(Hwnd(control)) != FALSE; }
    bool Enabled(const Control& control) override { return ::IsWindowEnabled(Hwnd(control)) != FALSE; }
    std::optional<std::wstring> Text(const Control& control) override {
        switch (control.Kind()) {
            case ComponentKind::Form:
            case ComponentKind::Button:
            case ComponentKind::BitBtn:
            case ComponentKind::CheckBox:
            case ComponentKind::Edit:
            case ComponentKind::MaskEdit:
                return WindowText(Hwnd(control));
            default:
                return std::nullopt;
        }
    }
    int Selection(const Control& control) override {
        HWND hwnd = Hwnd(control);
        switch (control.Kind()) {
            case ComponentKind::ListBox:
                return static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
            case ComponentKind::ComboBox:
                return static_cast<int>(::SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
            case ComponentKind::TrackBar:
                return static_cast<int>(::SendMessageW(hwnd, TBM_GETPOS, 0, 0));
            case ComponentKind::CheckBox:
                return ::SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
            case ComponentKind::RadioGroup:
                for (int i = 0; HWND radio = ::GetDlgItem(hwnd, i + 1); ++i) {
                    if (::SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                        return i;
                    }
                }
                return -1;
            default:
                return -1;
        }
    }
    const Control* Focused(const Form& form) override { return Holding(form, ::GetFocus()); }
    std::wstring TaskbarTitle() override { return WindowText(static_cast<HWND>(forms().ApplicationWindow())); }
    bool HasTaskbarButton() override {
        // The system's rule for a taskbar button: a visible top-level window that no window owns, no tool window.
        auto* app = static_cast<HWND>(forms().ApplicationWindow());
        return app && ::IsWindowVisible(app) && !::GetWindow(app, GW_OWNER) &&
               !(::GetWindowLongPtrW(app, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    }

    void Click(Control& control, int item) override {
        HWND target = Hwnd(control);
        RECT area{};
        ::GetClientRect(target, &area);
        if (control.Kind() == ComponentKind::RadioGroup && item >= 0) {
            target = ::GetDlgItem(target, item + 1);
            ::GetClientRect(target, &area);
        } else if (control.Kind() == ComponentKind::ListBox && item >= 0) {
            ::SendMessageW(target, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&area));
        }
        const LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
        ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(target, WM_LBUTTONUP, 0, at);
        Pump(50);
    }

    // A timer of the program looks for the box while its loop runs, reads it and presses the button.
    void AnswerNextBox(platform::MsgResult answer) override {
        answerer_ = std::make_unique<Timer>(nullptr);
        answerer_->SetInterval(100);
        answerer_->OnTimer = [this, answer](Component& timer) {
            HWND box = FindBox();
            if (!box) {
                return;
            }
            static_cast<Timer&>(timer).SetEnabled(false);
            SeenBox seen{WindowText(box), {}};
            for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                wchar_t cls[16] = {};
                ::GetClassNameW(child, cls, 16);
                if (std::wstring(cls) == L"Static" && !WindowText(child).empty()) {
                    seen.text = WindowText(child);
                }
            }
            last_ = seen;
            ::SendMessageW(::GetDlgItem(box, DialogId(answer)), BM_CLICK, 0, 0);
        };
    }
    std::optional<SeenBox> LastBox() override { return last_; }

private:
    platform::win32::Win32Forms& forms() { return platform_.forms(); }
    HWND Hwnd(const Control& control) { return static_cast<HWND>(forms().NativeHandle(control)); }
    const Control* Holding(const Control& parent, HWND focus) {
        for (const Control* child : parent.Controls()) {
            HWND own = Hwnd(*child);
            if (own && (own == focus || (child->Kind() == ComponentKind::RadioGroup && ::GetParent(focus) == own))) {
                return child;
            }
            if (const Control* inner = Holding(*child, focus)) {
                return inner;
            }
        }
        return nullptr;
    }

    platform::win32::Win32Platform platform_;
    std::unique_ptr<Timer> answerer_;
    std::optional<SeenBox> last_;
};

}  // namespace

std::unique_ptr<FormsUnderTest> MakeFormsUnderTest() {
    return std::make_unique<Win32UnderTest>();
}

}  // namespace forms_contract
