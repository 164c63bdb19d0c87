#include "platform/win32/forms_win32.h"

#include <algorithm>

#include "forms_win32_host.h"

namespace platform::win32 {

using namespace platform::forms;

// ---- Win32Forms: the backend interface, forwarded ----

Win32Forms::Win32Forms() : host_(std::make_unique<FormsHost>(*this)) {}

Win32Forms::~Win32Forms() {
    application().DestroyForms(false);
    host_.reset();
}

void Win32Forms::CreateNative(Control& control) {
    host_->Create(control);
}

void Win32Forms::DestroyNative(Control& control) {
    host_->Destroy(control);
}

void Win32Forms::UpdateNative(Control& control, Change what) {
    if (Native* native = host_->Find(control)) {
        host_->Update(*native, what);
    }
}

void Win32Forms::RunLoop(Form& front, bool modal, const std::function<bool()>& done) {
    host_->RunLoop(front, modal, done);
}

void Win32Forms::ProcessMessages() {
    host_->ProcessMessages();
}

void Win32Forms::StartTimer(Timer& timer) {
    host_->StartTimer(timer);
}

void Win32Forms::StopTimer(Timer& timer) {
    host_->StopTimer(timer);
}

void Win32Forms::SetFocus(Control& control) {
    host_->Focus(control);
}

// Into the system's input stream, as a keyboard would type it: the key reaches the focused window through the
// message loop, and the key state (GetKeyState) follows.
void Win32Forms::KeyEvent(std::uint8_t virtualKey, bool keyUp) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = keyUp ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

void Win32Forms::BringToFront(Form* form) {
    if (!form) {
        form = application().MainForm();
    }
    Native* native = form ? host_->Find(*form) : nullptr;
    if (!native) {
        return;
    }
    if (HWND app = host_->ApplicationWindow(); app && ::IsIconic(app)) {
        ::ShowWindow(app, SW_RESTORE);
    }
    if (::IsIconic(native->hwnd())) {
        ::ShowWindow(native->hwnd(), SW_RESTORE);
    }
    ::SetForegroundWindow(native->hwnd());
}

void Win32Forms::SetApplicationTitle(const std::wstring& title) {
    host_->SetApplicationTitle(title);
}

// FindWindowW searches the top-level windows of every program, hidden ones included, and compares class names
// without regard to case.
bool Win32Forms::TopLevelWindowExists(const std::wstring& className) {
    return ::FindWindowW(className.c_str(), nullptr) != nullptr;
}

void* Win32Forms::ApplicationWindow() const {
    return host_->ApplicationWindow();
}

Size Win32Forms::MeasureText(const std::wstring& text, const TFont& font, int wrapWidth) {
    return host_->Measure(text, font, wrapWidth);
}

Size Win32Forms::FrameSize(TFormBorderStyle style) {
    return host_->FrameSize(style);
}

Rect Win32Forms::WorkArea() {
    RECT r{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
        return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    return {r.left, r.top, r.right, r.bottom};
}

void* Win32Forms::NativeHandle(const Control& control) const {
    Native* native = host_->Find(control);
    return native ? native->hwnd() : nullptr;
}

Rect Win32Forms::NativeBounds(const Control& control) const {
    Native* native = host_->Find(control);
    if (!native) {
        return {};
    }
    RECT r{};
    ::GetWindowRect(native->hwnd(), &r);
    if (control.Kind() != ComponentKind::Form) {
        ::MapWindowPoints(HWND_DESKTOP, ::GetParent(native->hwnd()), reinterpret_cast<POINT*>(&r), 2);
    }
    return {r.left, r.top, r.right, r.bottom};
}

Rect Win32Forms::NativeClientRect(const Control& control) const {
    Native* native = host_->Find(control);
    if (!native) {
        return {};
    }
    RECT r{};
    ::GetClientRect(native->hwnd(), &r);
    return {r.left, r.top, r.right, r.bottom};
}

// ---- FormsHost: loop, timers, keys, focus, pointer ----

namespace {

HINSTANCE OwnModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&OwnModule), &module);
    return module;
}

}  // namespace

FormsHost::FormsHost(Backend& backend) : backend_(backend), module_(OwnModule()) {}

FormsHost::~FormsHost() {
    for (const auto& [id, timer] : timersById_) {
        ::KillTimer(timerWindow_.get(), id);
    }
    // Windows of forms that outlive the backend go without telling their (gone) components.
    for (auto& [control, native] : natives_) {
        native->control = nullptr;
    }
    ++destroying_;
    natives_.clear();
}

Native* FormsHost::Find(const Control& control) const {
    auto it = natives_.find(&control);
    return it == natives_.end() ? nullptr : it->second.get();
}

Native* FormsHost::FromWindow(HWND hwnd) {
    return hwnd ? static_cast<Native*>(::GetPropW(hwnd, kNativeProp)) : nullptr;
}

void FormsHost::RethrowPending() {
    if (pending_) {
        std::exception_ptr error = pending_;
        pending_ = nullptr;
        std::rethrow_exception(error);
    }
}

void FormsHost::RunLoop(Form& front, bool modal, const std::function<bool()>& done) {
    // A modal form takes the input: the program's other windows are disabled until it is done, and enabled
    // again before it hides, so that the system activates one of them and not another program's window.
    struct Reenable {
        std::vector<HWND> windows;
        ~Reenable() {
            for (HWND hwnd : windows) {
                if (::IsWindow(hwnd)) {
                    ::EnableWindow(hwnd, TRUE);
                }
            }
        }
    } reenable;
    if (modal) {
        for (Form* form : backend_.application().Forms()) {
            Native* native = form == &front ? nullptr : Find(*form);
            if (native && ::IsWindowVisible(native->hwnd()) && ::IsWindowEnabled(native->hwnd())) {
                ::EnableWindow(native->hwnd(), FALSE);
                reenable.windows.push_back(native->hwnd());
            }
        }
    }
    while (!done()) {
        MSG msg{};
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            backend_.application().Terminate();
            continue;
        }
        Handle(msg);
        RethrowPending();
    }
}

void FormsHost::ProcessMessages() {
    // A timer that falls due again while this pass runs waits for the next pass, so a short interval cannot
    // keep the pass from ending.
    const bool outer = !inProcessMessages_;
    inProcessMessages_ = true;
    if (outer) {
        firedInPass_.clear();
    }
    struct Leave {
        FormsHost& host;
        bool outer;
        ~Leave() {
            if (outer) {
                host.inProcessMessages_ = false;
            }
        }
    } leave{*this, outer};
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_TIMER && msg.hwnd == timerWindow_.get() && firedInPass_.count(msg.wParam)) {
            break;
        }
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            break;
        }
        if (msg.message == WM_QUIT) {
            backend_.application().Terminate();
            continue;
        }
        Handle(msg);
        RethrowPending();
    }
}

void FormsHost::Handle(MSG& msg) {
    const bool dialogKey =
        msg.message == WM_KEYDOWN && (msg.wParam == VK_TAB || msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN);
    if (dialogKey && PreTranslate(msg)) {
        return;
    }
    // The rest of the dialog keyboard (arrow keys within a group of WS_GROUP, mnemonics) is the system's.
    // Esc and Enter that no button took go to the focused control as typed keys.
    if (!dialogKey) {
        HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        Native* form = FromWindow(root);
        if (form && form->kind == ComponentKind::Form && ::IsDialogMessageW(root, &msg)) {
            return;
        }
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

// Tab moves the focus through the form's controls in the layout's order (the system's dialog manager would
// follow the z-order, which here puts the later controls on top); Esc and Enter go to the form as dialog keys
// first. True when the key was used up.
bool FormsHost::PreTranslate(const MSG& msg) {
    const auto key = static_cast<UINT>(msg.wParam);
    Native* native = nullptr;
    for (HWND hwnd = msg.hwnd; hwnd && !native; hwnd = ::GetParent(hwnd)) {
        native = FromWindow(hwnd);
    }
    if (!native || !native->control) {
        return false;
    }
    Form* form = native->control->ParentForm();
    if (!form) {
        return false;
    }
    if (key == VK_TAB) {
        if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) {
            return false;
        }
        const bool shift = ::GetKeyState(VK_SHIFT) < 0;
        Event([&] { form->NavigationKey(kKeyTab, shift); });
        return true;
    }
    // An open drop-down list closes on these keys itself.
    if (native->kind == ComponentKind::ComboBox && ::SendMessageW(native->hwnd(), CB_GETDROPPEDSTATE, 0, 0)) {
        return false;
    }
    bool used = false;
    Event([&] { used = form->DialogKey(key == VK_ESCAPE ? L'\x1B' : L'\r'); });
    return used;
}

void FormsHost::Focus(Control& control) {
    Native* native = Find(control);
    if (native) {
        HWND target = native->hwnd();
        if (native->kind == ComponentKind::RadioGroup && !native->radios.empty()) {
            const auto* radio = static_cast<const RadioGroup*>(&control);
            const int index = radio->ItemIndex();
            target = native->radios[index >= 0 && static_cast<std::size_t>(index) < native->radios.size()
                                        ? static_cast<std::size_t>(index)
                                        : 0];
        }
        ::SetFocus(target);
    }
    // The window's focus message has told the form already, unless the system refused the focus.
    if (Form* form = control.ParentForm()) {
        form->FocusMoved(&control);
    }
}

void FormsHost::StartTimer(Timer& timer) {
    StopTimer(timer);
    if (!timerWindow_.get()) {
        RegisterClasses();
        timerWindow_.reset(
            ::CreateWindowExW(0, L"CorventaTimers", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module_, nullptr));
        ::SetWindowLongPtrW(timerWindow_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    // A fresh id for every start: a tick of the old count still in the queue finds no timer.
    const UINT_PTR id = ++nextTimerId_;
    if (!::SetTimer(timerWindow_.get(), id, std::max<UINT>(timer.Interval(), USER_TIMER_MINIMUM), nullptr)) {
        return;
    }
    timerIds_[&timer] = id;
    timersById_[id] = &timer;
}

void FormsHost::StopTimer(Timer& timer) {
    auto it = timerIds_.find(&timer);
    if (it == timerIds_.end()) {
        return;
    }
    ::KillTimer(timerWindow_.get(), it->second);
    timersById_.erase(it->second);
    timerIds_.erase(it);
}

void FormsHost::TimerTick(UINT_PTR id) {
    auto it = timersById_.find(id);
    if (it == timersById_.end()) {
        return;
    }
    if (inProcessMessages_) {
        firedInPass_.insert(id);
    }
    Timer* timer = it->second;
    Event([timer] { timer->Fire(); });
}

LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (auto* host = reinterpret_cast<FormsHost*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            host->TimerTick(wParam);
            return 0;
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void FormsHost::MovePointer(Control* control) {
    if (control == hovered_) {
        return;
    }
    Control* old = hovered_;
    hovered_ = control;
    Event([&] {
        if (old) {
            old->MouseLeft();
        }
        if (control && control == hovered_) {
            control->MouseEntered();
        }
    });
}

namespace {

LPCWSTR CursorId(TCursor cursor) {
    switch (cursor) {
        case crArrow:
            return IDC_ARROW;
        case crHourGlass:
            return IDC_WAIT;
        case crHandPoint:
            return IDC_HAND;
        case crIBeam:
            return IDC_IBEAM;
        case crDefault:
            break;
    }
    return nullptr;
}

}  // namespace

bool FormsHost::CommonMessage(Native& native, UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result) {
    Control* control = native.control;
    if (!control) {
        return false;
    }
    switch (message) {
        case WM_MOUSEMOVE:
            if (!native.tracking) {
                TRACKMOUSEEVENT track{static_cast<DWORD>(sizeof(track)), TME_LEAVE, native.hwnd(), 0};
                native.tracking = ::TrackMouseEvent(&track) != FALSE;
            }
            MovePointer(control);
            return false;
        case WM_MOUSELEAVE:
            native.tracking = false;
            if (hovered_ == control) {
                MovePointer(nullptr);
            }
            return false;
        case WM_SETFOCUS:
            if (destroying_ == 0 && control->CanFocus()) {
                if (Form* form = control->ParentForm()) {
                    Event([&] { form->FocusMoved(control); });
                }
            }
            return false;
        case WM_CHAR: {
            // The key filter sees each typed character first and may change or drop it.
            if (native.kind == ComponentKind::Form) {
                return false;
            }
            wchar_t key = static_cast<wchar_t>(wParam);
            Event([&] { key = control->KeyPressed(key); });
            if (key == 0) {
                result = 0;
                return true;
            }
            wParam = static_cast<WPARAM>(key);  // passed on as the filter left it
            return false;
        }
        case WM_SETCURSOR: {
            if (LOWORD(lParam) != HTCLIENT || reinterpret_cast<HWND>(wParam) != native.hwnd()) {
                return false;
            }
            TCursor cursor = control->Cursor();
            // A label has no window in the original toolkit and shows its parent's cursor.
            if (cursor == crDefault && native.kind == ComponentKind::Label && control->Parent()) {
                cursor = control->Parent()->Cursor();
            }
            if (LPCWSTR id = CursorId(cursor)) {
                ::SetCursor(::LoadCursorW(nullptr, id));
                result = TRUE;
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace platform::win32
