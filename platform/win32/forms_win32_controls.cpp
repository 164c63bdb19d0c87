// The native windows of the controls: making them, bringing them up to date with their components,
// painting our own kinds, and the notifications the system controls send to their parents.
#include <algorithm>

#include "forms_win32_host.h"

namespace platform::win32 {

using namespace platform::forms;

namespace {

constexpr const wchar_t* kContainerClass = L"CorventaContainer";
constexpr const wchar_t* kLabelClass = L"CorventaLabel";
constexpr const wchar_t* kTimerClass = L"CorventaTimers";
constexpr const wchar_t* kApplicationClass = L"CorventaApplication";
// Room for the open list of a drop-down list below its closed field.
constexpr int kDropDownHeight = 200;

// A hint tool of owner's hint window for the control window. The size is the older layout's: the common
// controls that a program without a version-6 manifest gets refuse the newer, larger one (lpReserved), and
// every version takes the older.
TTTOOLINFOW ToolInfo(HWND owner, HWND control) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return tool;
}

struct WinStyle {
    DWORD style = 0;
    DWORD ex = 0;
};

// The frame of a form: what decides its outer size for a given client size.
WinStyle FrameStyles(TFormBorderStyle border) {
    switch (border) {
        case bsNone:
            return {WS_POPUP, 0};
        case bsSingle:
            return {WS_POPUP | WS_CAPTION, 0};
        case bsSizeable:
            return {WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0};
        case bsDialog:
            return {WS_POPUP | WS_CAPTION | DS_MODALFRAME, WS_EX_DLGMODALFRAME};
        case bsToolWindow:
            return {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW};
        case bsSizeToolWin:
            return {WS_POPUP | WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW};
    }
    return {WS_POPUP, 0};
}

WinStyle FormStyles(const Form& form) {
    WinStyle s = FrameStyles(form.BorderStyle());
    s.style |= WS_CLIPCHILDREN;
    s.ex |= WS_EX_CONTROLPARENT;
    const TBorderIcons icons = form.BorderIcons();
    if ((icons & biSystemMenu) && form.BorderStyle() != bsNone) {
        s.style |= WS_SYSMENU;
        const bool minMax = form.BorderStyle() == bsSingle || form.BorderStyle() == bsSizeable;
        if (minMax && (icons & biMinimize)) {
            s.style |= WS_MINIMIZEBOX;
        }
        if (minMax && (icons & biMaximize)) {
            s.style |= WS_MAXIMIZEBOX;
        }
        if ((icons & biHelp) && !(s.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
            s.ex |= WS_EX_CONTEXTHELP;
        }
    }
    if (form.FormStyle() == fsStayOnTop) {
        s.ex |= WS_EX_TOPMOST;
    }
    return s;
}

bool IsContainer(ComponentKind kind) {
    return kind == ComponentKind::Form || kind == ComponentKind::Panel || kind == ComponentKind::GroupBox ||
           kind == ComponentKind::RadioGroup || kind == ComponentKind::ScrollBox;
}

std::wstring WindowText(HWND hwnd) {
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::clamp(got, 0, length)));
    return text;
}

// The component state of one of our own windows: attached when the window is created (its creation
// parameter), then found again by every message.
Native* NativeOfWindow(HWND hwnd, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetPropW(hwnd, kNativeProp, create->lpCreateParams);
    }
    return FormsHost::FromWindow(hwnd);
}

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Native* native = NativeOfWindow(hwnd, message, lParam);
    if (!native || !native->control) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    FormsHost& host = *native->host;
    LRESULT result = 0;
    if (host.CommonMessage(*native, message, wParam, lParam, result) ||
        host.ChildNotification(message, wParam, lParam, result)) {
        return result;
    }
    Control& control = *native->control;
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            ::GetClientRect(hwnd, &client);
            host.PaintBackground(*native, reinterpret_cast<HDC>(wParam), {0, 0}, client);
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC hdc = ::BeginPaint(hwnd, &ps);
            host.PaintContainer(*native, hdc);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SYSCOMMAND:
            // The program minimizes as a whole, to its taskbar button: its forms hide with the window they
            // belong to.
            if (native->kind == ComponentKind::Form && (wParam & 0xFFF0) == SC_MINIMIZE && host.ApplicationWindow()) {
                ::ShowWindow(host.ApplicationWindow(), SW_MINIMIZE);
                return 0;
            }
            break;
        case WM_ACTIVATE:
            if (native->kind == ComponentKind::Form && LOWORD(wParam) != WA_INACTIVE) {
                host.FormActivated(hwnd);
            }
            break;
        case WM_CLOSE:
            if (native->kind == ComponentKind::Form) {
                auto& form = static_cast<Form&>(control);
                host.Event([&] { form.Close(); });
                return 0;
            }
            break;
        case WM_SETFOCUS:
            // An activated form gives the focus back to the control that had it.
            if (native->kind == ComponentKind::Form) {
                if (Control* active = static_cast<Form&>(control).ActiveControl()) {
                    if (Native* inner = host.Find(*active); inner && ::IsWindowVisible(inner->hwnd())) {
                        ::SetFocus(inner->radios.empty() ? inner->hwnd() : inner->radios.front());
                    }
                }
            }
            return 0;
        case WM_WINDOWPOSCHANGED:
            // The user moved or sized the form: the component follows, and with it the layout.
            if (native->kind == ComponentKind::Form && !host.Placing() && !::IsIconic(hwnd)) {
                RECT r{};
                ::GetWindowRect(hwnd, &r);
                if (r.left != control.Left() || r.top != control.Top() || r.right - r.left != control.Width() ||
                    r.bottom - r.top != control.Height()) {
                    host.Event([&] { control.SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); });
                }
            }
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Native* native = NativeOfWindow(hwnd, message, lParam);
    if (!native || !native->control) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    FormsHost& host = *native->host;
    LRESULT result = 0;
    if (host.CommonMessage(*native, message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // painted with the text, from the parent's background
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC hdc = ::BeginPaint(hwnd, &ps);
            host.PaintLabel(*native, hdc);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONUP: {
            Control& control = *native->control;
            host.Event([&] { control.Click(); });
            return 0;
        }
        case WM_NCHITTEST:
            return HTCLIENT;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The system's controls, subclassed for the pointer, the focus and the key filter.
LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kProcProp));
    Native* native = FormsHost::FromWindow(hwnd);
    if (!original) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        ::RemovePropW(hwnd, kProcProp);
        ::RemovePropW(hwnd, kNativeProp);
        return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
    }
    if (native && native->control) {
        LRESULT result = 0;
        if (native->host->CommonMessage(*native, message, wParam, lParam, result)) {
            return result;
        }
    }
    return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
}

}  // namespace

// ---- classes and frames ----

void FormsHost::RegisterClasses() {
    if (classesRegistered_) {
        return;
    }
    classesRegistered_ = true;
    INITCOMMONCONTROLSEX common{static_cast<DWORD>(sizeof(common)), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&common);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.hInstance = module_;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpfnWndProc = ContainerProc;
    wc.lpszClassName = kContainerClass;
    ::RegisterClassExW(&wc);
    wc.lpfnWndProc = LabelProc;
    wc.lpszClassName = kLabelClass;
    ::RegisterClassExW(&wc);
    wc.lpfnWndProc = TimerWindowProc;
    wc.lpszClassName = kTimerClass;
    ::RegisterClassExW(&wc);
    wc.lpfnWndProc = ApplicationWindowProc;
    wc.lpszClassName = kApplicationClass;
    wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ::RegisterClassExW(&wc);
}

// The program's taskbar button: the system gives one to each visible top-level window that no other window
// owns and that is no tool window. The forms are owned (by this window, dialogs by the main form), so the button
// stays while the main form hides and a dialog shows. The window is shown with no size: all it shows is its
// title, the application's, on the taskbar.
HWND FormsHost::MakeApplicationWindow() {
    if (!applicationWindow_.get()) {
        RegisterClasses();
        const Rect work = backend_.WorkArea();
        applicationWindow_.reset(
            ::CreateWindowExW(WS_EX_APPWINDOW, kApplicationClass, backend_.application().Title().c_str(),
                              WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, (work.left + work.right) / 2,
                              (work.top + work.bottom) / 2, 0, 0, nullptr, nullptr, module_, nullptr));
        ::SetWindowLongPtrW(applicationWindow_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::ShowWindow(applicationWindow_.get(), SW_SHOWNA);
    }
    return applicationWindow_.get();
}

void FormsHost::SetApplicationTitle(const std::wstring& title) {
    if (applicationWindow_.get()) {
        ::SetWindowTextW(applicationWindow_.get(), title.c_str());
    }
}

void FormsHost::FormActivated(HWND form) {
    lastActive_ = form;
}

// The taskbar button activates the application's window: the form the user worked in last takes over.
LRESULT CALLBACK ApplicationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<FormsHost*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (host && message == WM_SETFOCUS) {
        HWND last = host->LastActiveForm();
        if (last && ::IsWindow(last) && ::IsWindowVisible(last) && ::IsWindowEnabled(last)) {
            ::SetActiveWindow(last);
            return 0;
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// Each form's window class is named after its dialog class, so that another start of the program finds it.
std::wstring FormsHost::FormClass(const std::wstring& className) {
    RegisterClasses();
    if (formClasses_.insert(className).second) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.hInstance = module_;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
        wc.lpfnWndProc = ContainerProc;
        wc.lpszClassName = className.c_str();
        ::RegisterClassExW(&wc);
    }
    return className;
}

Size FormsHost::FrameSize(TFormBorderStyle style) const {
    const WinStyle s = FrameStyles(style);
    RECT r{0, 0, 0, 0};
    ::AdjustWindowRectEx(&r, s.style, FALSE, s.ex);
    return {r.right - r.left, r.bottom - r.top};
}

// ---- making and destroying ----

HWND FormsHost::MakeWindow(Native& native, Control& control) {
    HWND parent = nullptr;
    if (control.Parent()) {
        Native* up = Find(*control.Parent());
        parent = up ? up->hwnd() : nullptr;
    }
    const std::wstring& text = control.Caption();
    // Each control is a group of its own for the dialog manager's arrow keys; only a radio group's buttons
    // (children of its window) make one group together.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_GROUP | (control.Visible() ? WS_VISIBLE : 0) |
                  (control.Enabled() ? 0 : WS_DISABLED);
    DWORD ex = 0;
    const wchar_t* cls = nullptr;
    int height = control.Height();
    switch (control.Kind()) {
        case ComponentKind::Form: {
            auto& form = static_cast<Form&>(control);
            const WinStyle s = FormStyles(form);
            // Dialogs stay above the main form; the main form (and any form made before it) belongs to the
            // application's window, which carries the taskbar button.
            Form* main = backend_.application().MainForm();
            Native* owner = main && main != &form ? Find(*main) : nullptr;
            const std::wstring formClass = FormClass(form.ClassName());
            return ::CreateWindowExW(s.ex, formClass.c_str(), text.c_str(), s.style, control.Left(), control.Top(),
                                     control.Width(), control.Height(), owner ? owner->hwnd() : MakeApplicationWindow(),
                                     nullptr, module_, &native);
        }
        case ComponentKind::Panel:
        case ComponentKind::GroupBox:
        case ComponentKind::RadioGroup:
        case ComponentKind::ScrollBox:
            cls = kContainerClass;
            style |= WS_CLIPCHILDREN;
            ex |= WS_EX_CONTROLPARENT;
            return ::CreateWindowExW(ex, cls, L"", style, control.Left(), control.Top(), control.Width(), height,
                                     parent, nullptr, module_, &native);
        case ComponentKind::Label:
            return ::CreateWindowExW(0, kLabelClass, L"", style, control.Left(), control.Top(), control.Width(), height,
                                     parent, nullptr, module_, &native);
        case ComponentKind::Button:
            cls = L"BUTTON";
            style |= WS_TABSTOP | (static_cast<Button&>(control).Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ComponentKind::BitBtn:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_OWNERDRAW;
            break;
        case ComponentKind::CheckBox:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_AUTOCHECKBOX;
            break;
        case ComponentKind::ListBox: {
            auto& list = static_cast<ListBox&>(control);
            cls = L"LISTBOX";
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS;
            if (list.MultiSelect()) {
                style |= list.ExtendedSelect() ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
            }
            native.multiSelect = list.MultiSelect();
            native.extendedSelect = list.ExtendedSelect();
            ex |= WS_EX_CLIENTEDGE;
            break;
        }
        case ComponentKind::ComboBox:
            cls = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            height += kDropDownHeight;
            break;
        case ComponentKind::Edit:
        case ComponentKind::MaskEdit:
            cls = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            ex |= WS_EX_CLIENTEDGE;
            break;
        case ComponentKind::TrackBar:
            cls = TRACKBAR_CLASSW;
            style |= WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS;
            break;
        case ComponentKind::Timer:
            return nullptr;
    }
    const bool hasText = control.Kind() == ComponentKind::Button || control.Kind() == ComponentKind::BitBtn ||
                         control.Kind() == ComponentKind::CheckBox || control.Kind() == ComponentKind::Edit ||
                         control.Kind() == ComponentKind::MaskEdit;
    HWND hwnd = ::CreateWindowExW(ex, cls, hasText ? text.c_str() : L"", style, control.Left(), control.Top(),
                                  control.Width(), height, parent, nullptr, module_, nullptr);
    if (hwnd) {
        ::SetPropW(hwnd, kNativeProp, &native);
        Subclass(hwnd);
    }
    return hwnd;
}

void FormsHost::Subclass(HWND hwnd) {
    const LONG_PTR original = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    ::SetPropW(hwnd, kProcProp, reinterpret_cast<HANDLE>(original));
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
}

void FormsHost::Create(Control& control) {
    RegisterClasses();
    auto owned = std::make_unique<Native>();
    Native& native = *owned;
    native.host = this;
    native.control = &control;
    native.kind = control.Kind();
    natives_[&control] = std::move(owned);
    ++native.updating;
    native.window.reset(MakeWindow(native, control));
    if (!native.hwnd()) {
        --native.updating;
        natives_.erase(&control);
        throw platform::Exception(L"Error creating window");
    }
    // Later controls lie on top of earlier ones, as in the layout's order.
    if (native.kind != ComponentKind::Form) {
        ::SetWindowPos(native.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    --native.updating;
    Update(native, Change::Font | Change::Items | Change::Selection | Change::State | Change::Image | Change::Style);
}

void FormsHost::Destroy(Control& control) {
    auto it = natives_.find(&control);
    if (it == natives_.end()) {
        return;
    }
    std::unique_ptr<Native> native = std::move(it->second);
    natives_.erase(it);
    if (control.ShowHint() && native->kind != ComponentKind::Form) {
        Form* form = control.ParentForm();
        if (Native* owner = form ? Find(*form) : nullptr; owner && owner->tooltip.get()) {
            TTTOOLINFOW tool = ToolInfo(owner->hwnd(), native->hwnd());
            ::SendMessageW(owner->tooltip.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    native->control = nullptr;
    if (hovered_ == &control) {
        hovered_ = nullptr;
    }
    // The system moves the focus while the window goes; that is not the user's doing.
    ++destroying_;
    native->tooltip.reset();
    native->window.reset();
    --destroying_;
}

// ---- bringing the window up to date ----

void FormsHost::Update(Native& native, Change what) {
    Control& control = *native.control;
    HWND hwnd = native.hwnd();
    ++native.updating;
    struct Done {
        Native& n;
        ~Done() { --n.updating; }
    } done{native};
    if (Has(what, Change::Style)) {
        ApplyStyle(native);
        ApplyHint(native);
        hwnd = native.hwnd();
    }
    if (Has(what, Change::Font)) {
        ApplyFont(native);
    }
    if (Has(what, Change::Bounds)) {
        ApplyBounds(native);
    }
    if (Has(what, Change::Text)) {
        switch (native.kind) {
            case ComponentKind::Form:
            case ComponentKind::Button:
            case ComponentKind::BitBtn:
            case ComponentKind::CheckBox:
            case ComponentKind::Edit:
            case ComponentKind::MaskEdit:
                // The user's own typing comes back as the same text: leave the caret where it is.
                if (WindowText(hwnd) != control.Caption()) {
                    ::SetWindowTextW(hwnd, control.Caption().c_str());
                }
                break;
            default:
                ::InvalidateRect(hwnd, nullptr, TRUE);
                break;
        }
    }
    if (Has(what, Change::Items)) {
        ApplyItems(native);
    }
    if (Has(what, Change::Selection)) {
        ApplySelection(native);
    }
    if (Has(what, Change::State)) {
        ApplyState(native);
    }
    if (Has(what, Change::Image)) {
        ApplyImage(native);
    }
    if (Has(what, Change::Enabled)) {
        ::EnableWindow(hwnd, control.Enabled());
        for (HWND radio : native.radios) {
            ::EnableWindow(radio, control.Enabled());
        }
        // Labels inside show the state of their parents too.
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    if (Has(what, Change::Order)) {
        ApplyOrder(native);
    }
    if (Has(what, Change::Visible)) {
        if (native.kind == ComponentKind::Form) {
            ::ShowWindow(hwnd, control.Visible() ? SW_SHOW : SW_HIDE);
        } else {
            ::ShowWindow(hwnd, control.Visible() ? SW_SHOWNA : SW_HIDE);
        }
    }
}

void FormsHost::ApplyBounds(Native& native) {
    Control& control = *native.control;
    if (native.kind == ComponentKind::Form) {
        ++placing_;
        ::SetWindowPos(native.hwnd(), nullptr, control.Left(), control.Top(), control.Width(), control.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
        --placing_;
        return;
    }
    const int height = native.kind == ComponentKind::ComboBox ? control.Height() + kDropDownHeight : control.Height();
    ::MoveWindow(native.hwnd(), control.Left(), control.Top(), control.Width(), height, TRUE);
    if (native.kind == ComponentKind::ComboBox) {
        FitComboHeight(native);
    } else if (native.kind == ComponentKind::RadioGroup) {
        LayoutRadios(native);
    }
}

// The closed height of a drop-down list is its selection field plus the frame; the field is sized to give
// the component's height. Some systems report the field's height otherwise than they take it, so the size is
// corrected from what the window then measures, not from what it reports.
void FormsHost::FitComboHeight(Native& native) {
    HWND hwnd = native.hwnd();
    const int want = native.control->Height();
    int field = static_cast<int>(::SendMessageW(hwnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        const int closed = r.bottom - r.top;
        if (closed == want || field + want - closed <= 0) {
            return;
        }
        field += want - closed;
        ::SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

void FormsHost::ApplyFont(Native& native) {
    Control& control = *native.control;
    HFONT font = Font(control.Font());
    if (native.kind != ComponentKind::Form && !IsContainer(native.kind) && native.kind != ComponentKind::Label) {
        ::SendMessageW(native.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    for (HWND radio : native.radios) {
        ::SendMessageW(radio, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (native.kind == ComponentKind::ComboBox) {
        FitComboHeight(native);
    } else if (native.kind == ComponentKind::RadioGroup) {
        LayoutRadios(native);
    }
    ::InvalidateRect(native.hwnd(), nullptr, TRUE);
}

void FormsHost::ApplyItems(Native& native) {
    HWND hwnd = native.hwnd();
    switch (native.kind) {
        case ComponentKind::ListBox: {
            ::SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
            for (const std::wstring& item : static_cast<ListBox&>(*native.control).Items()) {
                ::SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
            break;
        }
        case ComponentKind::ComboBox: {
            ::SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
            for (const std::wstring& item : static_cast<ComboBox&>(*native.control).Items()) {
                ::SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
            break;
        }
        case ComponentKind::RadioGroup:
            MakeRadios(native);
            break;
        default:
            break;
    }
}

void FormsHost::MakeRadios(Native& native) {
    for (HWND radio : native.radios) {
        ::DestroyWindow(radio);
    }
    native.radios.clear();
    auto& group = static_cast<RadioGroup&>(*native.control);
    HFONT font = Font(group.Font());
    for (std::size_t i = 0; i < group.Items().size(); ++i) {
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0);
        HWND radio = ::CreateWindowExW(0, L"BUTTON", group.Items()[i].c_str(), style, 0, 0, 0, 0, native.hwnd(),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), module_, nullptr);
        if (!radio) {
            continue;
        }
        ::SetPropW(radio, kNativeProp, &native);
        Subclass(radio);
        ::SendMessageW(radio, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        native.radios.push_back(radio);
    }
    LayoutRadios(native);
}

// The buttons share the box below its caption in columns, filled top to bottom, the spare height split
// above and below.
void FormsHost::LayoutRadios(Native& native) {
    auto& group = static_cast<RadioGroup&>(*native.control);
    const int count = static_cast<int>(native.radios.size());
    if (count == 0) {
        return;
    }
    HDC dc = ::GetDC(native.hwnd());
    HGDIOBJ old = ::SelectObject(dc, Font(group.Font()));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(native.hwnd(), dc);
    const int columns = std::max(group.Columns(), 1);
    const int perColumn = (count + columns - 1) / columns;
    const int buttonWidth = std::max((group.Width() - 10) / columns, 0);
    const int lineHeight = static_cast<int>(metrics.tmHeight);
    const int room = std::max(group.Height() - lineHeight - 5, 0);
    const int buttonHeight = room / perColumn;
    const int topMargin = lineHeight + 1 + (room % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        ::MoveWindow(native.radios[static_cast<std::size_t>(i)], (i / perColumn) * buttonWidth + 8,
                     (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight, TRUE);
    }
}

void FormsHost::ApplySelection(Native& native) {
    HWND hwnd = native.hwnd();
    switch (native.kind) {
        case ComponentKind::ListBox: {
            auto& list = static_cast<ListBox&>(*native.control);
            if (!native.multiSelect) {
                ::SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(list.ItemIndex()), 0);
                break;
            }
            const int count = static_cast<int>(list.Items().size());
            for (int i = 0; i < count; ++i) {
                ::SendMessageW(hwnd, LB_SETSEL, list.Selected(i), i);
            }
            if (list.ItemIndex() >= 0) {
                ::SendMessageW(hwnd, LB_SETCARETINDEX, static_cast<WPARAM>(list.ItemIndex()), FALSE);
            }
            break;
        }
        case ComponentKind::ComboBox:
            ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(static_cast<ComboBox&>(*native.control).ItemIndex()),
                           0);
            break;
        case ComponentKind::RadioGroup: {
            // The tab stop is on the selected button (the first when none is), where the focus enters the group.
            const int index = static_cast<RadioGroup&>(*native.control).ItemIndex();
            for (std::size_t i = 0; i < native.radios.size(); ++i) {
                const bool selected = static_cast<int>(i) == index;
                ::SendMessageW(native.radios[i], BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
                const LONG_PTR style = ::GetWindowLongPtrW(native.radios[i], GWL_STYLE) & ~LONG_PTR{WS_TABSTOP};
                const bool stop = selected || (index < 0 && i == 0);
                ::SetWindowLongPtrW(native.radios[i], GWL_STYLE, style | (stop ? WS_TABSTOP : 0));
            }
            break;
        }
        default:
            break;
    }
}

void FormsHost::ApplyState(Native& native) {
    if (native.kind == ComponentKind::CheckBox) {
        ::SendMessageW(native.hwnd(), BM_SETCHECK,
                       static_cast<CheckBox&>(*native.control).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    } else if (native.kind == ComponentKind::TrackBar) {
        ::SendMessageW(native.hwnd(), TBM_SETPOS, TRUE, static_cast<TrackBar&>(*native.control).Position());
    }
}

void FormsHost::ApplyStyle(Native& native) {
    Control& control = *native.control;
    HWND hwnd = native.hwnd();
    switch (native.kind) {
        case ComponentKind::Form: {
            const WinStyle s = FormStyles(static_cast<Form&>(control));
            const LONG_PTR keep = ::GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
            ::SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(s.style) | keep);
            ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, static_cast<LONG_PTR>(s.ex & ~WS_EX_TOPMOST));
            ++placing_;
            ::SetWindowPos(hwnd, (s.ex & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            --placing_;
            break;
        }
        case ComponentKind::Button:
            ::SendMessageW(hwnd, BM_SETSTYLE,
                           static_cast<Button&>(control).Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
            break;
        case ComponentKind::ListBox: {
            auto& list = static_cast<ListBox&>(control);
            if (list.MultiSelect() != native.multiSelect || list.ExtendedSelect() != native.extendedSelect) {
                RebuildList(native);
            }
            int tabs = list.TabWidth();
            ::SendMessageW(native.hwnd(), LB_SETTABSTOPS, tabs > 0 ? 1 : 0,
                           tabs > 0 ? reinterpret_cast<LPARAM>(&tabs) : 0);
            ::InvalidateRect(native.hwnd(), nullptr, TRUE);
            break;
        }
        case ComponentKind::TrackBar: {
            auto& track = static_cast<TrackBar&>(control);
            ::SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, track.Min());
            ::SendMessageW(hwnd, TBM_SETRANGEMAX, TRUE, track.Max());
            ::SendMessageW(hwnd, TBM_SETPAGESIZE, 0, track.PageSize());
            ::SendMessageW(hwnd, TBM_SETPOS, TRUE, track.Position());
            break;
        }
        case ComponentKind::RadioGroup:
            LayoutRadios(native);
            ::InvalidateRect(hwnd, nullptr, TRUE);
            break;
        default:
            ::InvalidateRect(hwnd, nullptr, TRUE);
            break;
    }
}

// A list box cannot change between single and multiple selection: it is made anew in the other mode.
void FormsHost::RebuildList(Native& native) {
    Control& control = *native.control;
    const bool hadFocus = ::GetFocus() == native.hwnd();
    native.window.reset();
    native.window.reset(MakeWindow(native, control));
    if (!native.hwnd()) {
        return;
    }
    ApplyOrder(native);
    ::SendMessageW(native.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(control.Font())), FALSE);
    ApplyItems(native);
    ApplySelection(native);
    if (hadFocus) {
        ::SetFocus(native.hwnd());
    }
}

void FormsHost::ApplyImage(Native& native) {
    if (native.kind == ComponentKind::BitBtn) {
        native.glyph.reset(MakeBitmap(static_cast<BitBtn&>(*native.control).Glyph()));
    } else if (native.kind == ComponentKind::ScrollBox) {
        native.brush.reset();
        native.brushBitmap.reset(MakeBitmap(static_cast<ScrollBox&>(*native.control).BrushBitmap()));
        if (native.brushBitmap.get()) {
            native.brush.reset(::CreatePatternBrush(native.brushBitmap.get()));
        }
    }
    ::InvalidateRect(native.hwnd(), nullptr, TRUE);
}

// A control's hint shows in its form's hint window while ShowHint is set and the hint is not empty.
void FormsHost::ApplyHint(Native& native) {
    Control& control = *native.control;
    Form* form = native.kind == ComponentKind::Form ? nullptr : control.ParentForm();
    Native* owner = form ? Find(*form) : nullptr;
    if (!owner) {
        return;
    }
    const bool wanted = control.ShowHint() && !control.Hint().empty();
    if (!owner->tooltip.get()) {
        if (!wanted) {
            return;
        }
        owner->tooltip.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                               CW_USEDEFAULT, CW_USEDEFAULT, owner->hwnd(), nullptr, module_, nullptr));
        ::SendMessageW(owner->tooltip.get(), TTM_SETMAXTIPWIDTH, 0, 400);
    }
    TTTOOLINFOW tool = ToolInfo(owner->hwnd(), native.hwnd());
    ::SendMessageW(owner->tooltip.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (wanted) {
        std::wstring text = control.Hint();
        tool.lpszText = text.data();
        ::SendMessageW(owner->tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// The native z-order among siblings follows the layout's: the last child on top.
void FormsHost::ApplyOrder(Native& native) {
    Control* parent = native.control->Parent();
    if (!parent) {
        return;
    }
    for (Control* sibling : parent->Controls()) {
        if (Native* other = Find(*sibling)) {
            ::SetWindowPos(other->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

// ---- what the system controls tell their parents ----

bool FormsHost::ChildNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND: {
            auto* child = reinterpret_cast<HWND>(lParam);
            Native* native = FromWindow(child);
            if (!native || !native->control || native->updating) {
                return false;
            }
            Control& control = *native->control;
            const UINT code = HIWORD(wParam);
            switch (native->kind) {
                case ComponentKind::Button:
                case ComponentKind::BitBtn:
                    if (code == BN_CLICKED) {
                        Event([&] { control.Click(); });
                    }
                    break;
                case ComponentKind::CheckBox:
                    if (code == BN_CLICKED) {
                        const bool checked = ::SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
                        Event([&] { static_cast<CheckBox&>(control).SetChecked(checked); });
                    }
                    break;
                case ComponentKind::RadioGroup:
                    if (code == BN_CLICKED) {
                        const int index = ::GetDlgCtrlID(child) - 1;
                        Event([&] { static_cast<RadioGroup&>(control).UserClickItem(index); });
                    }
                    break;
                case ComponentKind::ListBox:
                    if (code == LBN_SELCHANGE) {
                        const bool multi = native->multiSelect;
                        const int index =
                            static_cast<int>(::SendMessageW(child, multi ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
                        if (index >= 0) {
                            const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
                            Event([&] { static_cast<ListBox&>(control).UserClickItem(index, ctrl); });
                        }
                    }
                    break;
                case ComponentKind::ComboBox:
                    if (code == CBN_SELCHANGE) {
                        const int index = static_cast<int>(::SendMessageW(child, CB_GETCURSEL, 0, 0));
                        if (index >= 0) {
                            Event([&] { static_cast<ComboBox&>(control).UserSelectItem(index); });
                        }
                    }
                    break;
                case ComponentKind::Edit:
                case ComponentKind::MaskEdit:
                    if (code == EN_CHANGE) {
                        const std::wstring text = WindowText(child);
                        Event([&] { static_cast<Edit&>(control).SetText(text); });
                    }
                    break;
                default:
                    return false;
            }
            result = 0;
            return true;
        }
        case WM_HSCROLL: {
            Native* native = FromWindow(reinterpret_cast<HWND>(lParam));
            if (!native || !native->control || native->updating || native->kind != ComponentKind::TrackBar) {
                return false;
            }
            auto& track = static_cast<TrackBar&>(*native->control);
            const int position = static_cast<int>(::SendMessageW(native->hwnd(), TBM_GETPOS, 0, 0));
            Event([&] { track.SetPosition(position); });
            result = 0;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN: {
            Native* native = FromWindow(reinterpret_cast<HWND>(lParam));
            if (!native || !native->control || message == WM_CTLCOLORBTN) {
                return false;
            }
            auto* dc = reinterpret_cast<HDC>(wParam);
            const Control& control = *native->control;
            ::SetTextColor(dc, ToColorRef(control.Font().color));
            ::SetBkColor(dc, ToColorRef(control.Color()));
            result = reinterpret_cast<LRESULT>(Brush(control.Color()));
            return true;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            Native* native = item ? FromWindow(item->hwndItem) : nullptr;
            if (!native || !native->control || native->kind != ComponentKind::BitBtn) {
                return false;
            }
            DrawBitButton(*native, *item);
            result = TRUE;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace platform::win32
