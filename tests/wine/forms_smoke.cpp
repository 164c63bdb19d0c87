// The forms backend on real windows: shows the waiting window and a form with every control kind, checks that
// each native window sits where the portable layout puts it, works the controls through their windows (clicks,
// typed keys, keyboard selection, the pointer, Esc and Enter in modal forms, the close box, a message box),
// hands over for a screenshot, closes everything and exits 0; 1 when a check failed, each failure on its own
// line. The texts are the program's own, loaded from its localisation table as at start-up.
//
// Usage: forms_smoke [--screenshot]   (with it: writes forms_smoke.ready in the working folder once the windows
//                                      show, and waits for forms_smoke.shot there; see forms_smoke.sh)
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "GlobalString.h"
#include "platform/clock.h"
#include "platform/forms/forms.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "uWaiting.h"
#include "wine_checks.h"

using namespace platform::forms;
using namespace wine_checks;

namespace {

const FormDesign kSmokeDesign = {
    .caption = L"Forms smoke test",
    .clientWidth = 464,
    .clientHeight = 330,
    .left = 24,
    .top = 24,
    .borderStyle = bsSingle,
    .borderIcons = biSystemMenu | biMinimize,
};

const ComponentDesign kSmokeLayout[] = {
    {.kind = ComponentKind::Panel, .name = L"pnlBottom", .height = 40, .align = alBottom},
    {.kind = ComponentKind::Button,
     .name = L"btnOk",
     .parent = L"pnlBottom",
     .left = 284,
     .top = 7,
     .width = 80,
     .height = 26,
     .anchors = akTop | akRight,
     .caption = L"OK",
     .hint = L"Closes the form",
     .showHint = true,
     .isDefault = true},
    {.kind = ComponentKind::BitBtn,
     .name = L"btnCancel",
     .parent = L"pnlBottom",
     .left = 372,
     .top = 7,
     .width = 84,
     .height = 26,
     .anchors = akTop | akRight,
     .caption = L"Cancel",
     .cancel = true},
    {.kind = ComponentKind::GroupBox,
     .name = L"grpOptions",
     .left = 8,
     .top = 8,
     .width = 220,
     .height = 96,
     .caption = L"Options"},
    {.kind = ComponentKind::CheckBox,
     .name = L"chkBold",
     .parent = L"grpOptions",
     .left = 10,
     .top = 20,
     .width = 120,
     .height = 17,
     .caption = L"Bold text"},
    {.kind = ComponentKind::Edit,
     .name = L"edtDigits",
     .parent = L"grpOptions",
     .left = 10,
     .top = 42,
     .width = 96,
     .height = 21},
    {.kind = ComponentKind::MaskEdit,
     .name = L"mskValue",
     .parent = L"grpOptions",
     .left = 114,
     .top = 42,
     .width = 96,
     .height = 21,
     .caption = L"12:30"},
    {.kind = ComponentKind::Label,
     .name = L"lblRight",
     .parent = L"grpOptions",
     .left = 10,
     .top = 70,
     .width = 200,
     .height = 16,
     .caption = L"Right-aligned",
     .autoSize = false,
     .alignment = taRightJustify},
    {.kind = ComponentKind::RadioGroup,
     .name = L"rgpMode",
     .left = 236,
     .top = 8,
     .width = 220,
     .height = 96,
     .caption = L"Mode"},
    {.kind = ComponentKind::Label,
     .name = L"lblTitle",
     .left = 8,
     .top = 112,
     .caption = L"Bold navy label",
     .bold = true,
     .fontColor = clNavy},
    {.kind = ComponentKind::Label,
     .name = L"lblWrap",
     .left = 8,
     .top = 130,
     .width = 220,
     .caption = L"A longer text that the label breaks into lines at word boundaries to fit its width.",
     .wordWrap = true},
    {.kind = ComponentKind::Label,
     .name = L"lblCentre",
     .left = 236,
     .top = 112,
     .width = 220,
     .height = 16,
     .caption = L"Centred in red",
     .fontColor = clRed,
     .autoSize = false,
     .alignment = taCenter},
    {.kind = ComponentKind::ListBox,
     .name = L"lstSingle",
     .left = 8,
     .top = 176,
     .width = 140,
     .height = 100,
     .tabWidth = 40},
    {.kind = ComponentKind::ListBox,
     .name = L"lstMulti",
     .left = 156,
     .top = 176,
     .width = 140,
     .height = 100,
     .multiSelect = true},
    {.kind = ComponentKind::ComboBox, .name = L"cmbPick", .left = 304, .top = 136, .width = 152, .height = 21},
    {.kind = ComponentKind::TrackBar,
     .name = L"trkLevel",
     .left = 304,
     .top = 164,
     .width = 152,
     .height = 30,
     .max = 10,
     .pageSize = 2},
    {.kind = ComponentKind::ScrollBox, .name = L"sbxPicture", .left = 304, .top = 200, .width = 152, .height = 76},
    {.kind = ComponentKind::Label,
     .name = L"lblOnPicture",
     .parent = L"sbxPicture",
     .left = 8,
     .top = 8,
     .caption = L"On a picture",
     .bold = true},
};

class TfrmSmoke : public Form {
public:
    TfrmSmoke() : Form(L"TfrmSmoke", kSmokeDesign) {
        CreateComponents(*this, kSmokeLayout);
        Find<BitBtn>(L"btnCancel")->SetGlyph(Bitmap::FromResource(L"SMOKE_GLYPH"));
        Find<ScrollBox>(L"sbxPicture")->SetBrushBitmap(Bitmap::FromResource(L"SMOKE_BRUSH"));
        Find<RadioGroup>(L"rgpMode")->SetItems({L"First", L"Second", L"Third"});
        Find<ListBox>(L"lstSingle")->SetItems({L"Name\tValue", L"Speed\t3", L"Density\t7"});
        Find<ListBox>(L"lstMulti")->SetItems({L"Red", L"Green", L"Blue", L"Black"});
        Find<ComboBox>(L"cmbPick")->SetItems({L"Letter", L"A4", L"Roll 80 mm"});
        Find<ComboBox>(L"cmbPick")->SetItemIndex(0);
        // Digits only, as the dialogs' number fields filter their keys.
        Find<Edit>(L"edtDigits")->OnKeyPress = [](Component&, wchar_t& key) {
            if (key != L'\b' && (key < L'0' || key > L'9')) {
                key = 0;
            }
        };
        for (const wchar_t* name : {L"btnOk", L"chkBold", L"lstSingle", L"cmbPick", L"rgpMode"}) {
            Find<Control>(name)->OnClick = [this, name](Component&) { clicks.push_back(name); };
        }
        Find<TrackBar>(L"trkLevel")->OnChange = [this](Component&) { ++trackChanges; };
        Find<Control>(L"btnOk")->OnMouseEnter = [this](Component&) { ++enters; };
        Find<Control>(L"btnOk")->OnMouseLeave = [this](Component&) { ++leaves; };
    }

    std::vector<std::wstring> clicks;
    int trackChanges = 0;
    int enters = 0;
    int leaves = 0;
};

// A small modal dialog that a timer drives by posting one key to the focused window.
const FormDesign kDialogDesign = {
    .caption = L"Smoke dialog",
    .clientWidth = 240,
    .clientHeight = 80,
    .position = poMainFormCenter,
    .borderStyle = bsDialog,
};

const ComponentDesign kDialogLayout[] = {
    {.kind = ComponentKind::Edit, .name = L"edtName", .left = 8, .top = 8, .width = 224, .height = 21},
    {.kind = ComponentKind::Button,
     .name = L"btnYes",
     .left = 72,
     .top = 44,
     .width = 75,
     .height = 25,
     .caption = L"OK",
     .isDefault = true,
     .modalResult = mrOk},
    {.kind = ComponentKind::Button,
     .name = L"btnNo",
     .left = 156,
     .top = 44,
     .width = 75,
     .height = 25,
     .caption = L"Cancel",
     .cancel = true,
     .modalResult = mrCancel},
    {.kind = ComponentKind::Timer, .name = L"tmrPress", .interval = 300},
};

class TfrmSmokeDialog : public Form {
public:
    explicit TfrmSmokeDialog(UINT message, WPARAM key) : Form(L"TfrmSmokeDialog", kDialogDesign) {
        CreateComponents(*this, kDialogLayout);
        Find<Timer>(L"tmrPress")->OnTimer = [this, message, key](Component& timer) {
            static_cast<Timer&>(timer).SetEnabled(false);
            HWND main = static_cast<HWND>(win32Forms->NativeHandle(*application().MainForm()));
            ownerDisabled = main && !::IsWindowEnabled(main);
            placed =
                win32Forms->NativeBounds(*this) == BoundsRect() && win32Forms->NativeClientRect(*this) == ClientRect();
            HWND target = message == WM_CLOSE ? static_cast<HWND>(win32Forms->NativeHandle(*this)) : ::GetFocus();
            ::PostMessageW(target, message, key, 0);
        };
    }
    platform::win32::Win32Forms* win32Forms = nullptr;
    bool ownerDisabled = false;
    bool placed = false;  // the native window where the layout centred it on the main form
};

void PointAt(platform::win32::Win32Forms& backend, const Control& control) {
    RECT r{};
    ::GetWindowRect(Hwnd(backend, control), &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// The kinds of input a user gives, each through the control's own window.
void WorkControls(Checks& checks, platform::win32::Win32Forms& backend, TfrmSmoke& form) {
    auto* chk = form.Find<CheckBox>(L"chkBold");
    ::SendMessageW(Hwnd(backend, *chk), BM_CLICK, 0, 0);
    checks.Expect(chk->Checked(), "a click checks the check box");

    auto* edit = form.Find<Edit>(L"edtDigits");
    ::SetFocus(Hwnd(backend, *edit));
    for (wchar_t c : std::wstring(L"1x2 3")) {
        ::SendMessageW(Hwnd(backend, *edit), WM_CHAR, c, 1);
    }
    checks.Expect(edit->Text() == L"123", "the key filter keeps the digits typed: \"" + Narrow(edit->Text()) + "\"");
    checks.Expect(form.ActiveControl() == edit, "the focus reaches the form's ActiveControl");
    ::PostMessageW(Hwnd(backend, *edit), WM_KEYDOWN, VK_TAB, 0);
    Pump(50);
    checks.Expect(form.ActiveControl() == form.Find<Control>(L"mskValue") &&
                      ::GetFocus() == Hwnd(backend, *form.Find<Control>(L"mskValue")),
                  "Tab moves the focus to the next control of the layout");

    auto* radio = form.Find<RadioGroup>(L"rgpMode");
    ::SendMessageW(::GetDlgItem(Hwnd(backend, *radio), 2), BM_CLICK, 0, 0);
    checks.Expect(radio->ItemIndex() == 1, "a click on the second radio button selects it");

    auto* list = form.Find<ListBox>(L"lstSingle");
    list->SetItemIndex(0);
    ::SetFocus(Hwnd(backend, *list));
    ::SendMessageW(Hwnd(backend, *list), WM_KEYDOWN, VK_DOWN, 0);
    checks.Expect(list->ItemIndex() == 1,
                  "the down key moves the list's selection: " + std::to_string(list->ItemIndex()));

    auto* multi = form.Find<ListBox>(L"lstMulti");
    multi->SetSelected(0, true);
    multi->SetSelected(2, true);
    checks.Expect(::SendMessageW(Hwnd(backend, *multi), LB_GETSELCOUNT, 0, 0) == 2,
                  "the multi-select list shows the selection set by code");

    auto* combo = form.Find<ComboBox>(L"cmbPick");
    ::SetFocus(Hwnd(backend, *combo));
    ::SendMessageW(Hwnd(backend, *combo), WM_KEYDOWN, VK_DOWN, 0);
    checks.Expect(combo->ItemIndex() == 1, "the down key picks the next entry: " + std::to_string(combo->ItemIndex()));

    auto* track = form.Find<TrackBar>(L"trkLevel");
    ::SetFocus(Hwnd(backend, *track));
    ::SendMessageW(Hwnd(backend, *track), WM_KEYDOWN, VK_RIGHT, 0);
    ::SendMessageW(Hwnd(backend, *track), WM_KEYUP, VK_RIGHT, 0);
    checks.Expect(track->Position() == 1 && form.trackChanges >= 1,
                  "the right key moves the track bar: " + std::to_string(track->Position()));
    track->SetPosition(7);
    checks.Expect(::SendMessageW(Hwnd(backend, *track), TBM_GETPOS, 0, 0) == 7,
                  "the track bar shows the position set by code");

    auto* ok = form.Find<Button>(L"btnOk");
    ::SendMessageW(Hwnd(backend, *ok), BM_CLICK, 0, 0);
    const std::vector<std::wstring> clicks = {L"chkBold", L"rgpMode", L"lstSingle", L"cmbPick", L"btnOk"};
    std::wstring seen;
    for (const std::wstring& c : form.clicks) {
        seen += c + L" ";
    }
    checks.Expect(form.clicks == clicks, "OnClick in order of the input: " + Narrow(seen));

    // The window system may report the warped pointer late or more than once, so each step waits for its
    // state rather than for a count: over the button it is entered, away from it every enter has its leave.
    const auto counts = [&] { return std::to_string(form.enters) + "/" + std::to_string(form.leaves); };
    PointAt(backend, *ok);
    checks.Expect(PumpUntil([&] { return form.enters > form.leaves; }, 3000),
                  "the pointer over the button enters it: " + counts());
    PointAt(backend, *form.Find<Control>(L"lblTitle"));
    checks.Expect(PumpUntil([&] { return form.enters >= 1 && form.enters == form.leaves; }, 3000),
                  "the pointer away from the button leaves it: " + counts());
}

// Every border style: the native frame is the one the layout counts with, so the client areas agree.
void BorderStyles(Checks& checks, platform::win32::Win32Forms& backend) {
    struct Case {
        const char* name;
        TFormBorderStyle style;
    };
    const Case cases[] = {
        {"bsNone", bsNone},     {"bsSingle", bsSingle},         {"bsSizeable", bsSizeable},
        {"bsDialog", bsDialog}, {"bsToolWindow", bsToolWindow}, {"bsSizeToolWin", bsSizeToolWin},
    };
    for (const Case& c : cases) {
        FormDesign design{.caption = L"Frame", .clientWidth = 200, .clientHeight = 90, .left = 600, .top = 40};
        design.borderStyle = c.style;
        auto form = MakeForm<Form>(std::wstring(L"TfrmFrame"), design);
        form->Show();
        Pump(50);
        const Rect client = backend.NativeClientRect(*form);
        checks.Expect(client == Rect{0, 0, 200, 90} && backend.NativeBounds(*form) == form->BoundsRect(),
                      std::string(c.name) + ": native client " + Describe(client) + ", outer " +
                          Describe(backend.NativeBounds(*form)) + ", layout " + Describe(form->BoundsRect()));
    }
}

void ModalForms(Checks& checks, platform::win32::Win32Forms& backend, TfrmSmoke& form) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM key;
        TModalResult want;
    };
    const Case cases[] = {
        {"Esc clicks the cancel button", WM_KEYDOWN, VK_ESCAPE, mrCancel},
        {"Enter clicks the default button", WM_KEYDOWN, VK_RETURN, mrOk},
        {"the close box cancels", WM_CLOSE, 0, mrCancel},
    };
    for (const Case& c : cases) {
        auto dialog = MakeForm<TfrmSmokeDialog>(c.message, c.key);
        dialog->win32Forms = &backend;
        const TModalResult result = dialog->ShowModal();
        checks.Expect(result == c.want, std::string(c.name) + ": result " + std::to_string(result));
        checks.Expect(dialog->ownerDisabled, std::string(c.name) + ": the main form is disabled meanwhile");
        checks.Expect(dialog->placed, std::string(c.name) + ": the dialog sits where its layout puts it");
        checks.Expect(::IsWindowEnabled(Hwnd(backend, form)) != FALSE,
                      std::string(c.name) + ": the main form is enabled again");
        checks.Expect(!::IsWindowVisible(Hwnd(backend, *dialog)), std::string(c.name) + ": the dialog hides");
    }

    // The timed modal use of the waiting window ends by its close timer alone.
    auto waiting = MakeForm<TfrmWaiting>();
    waiting->tmrClose->SetInterval(600);
    const std::uint32_t start = platform::clock().TickCount();
    const TModalResult result = waiting->ShowModal();
    const std::uint32_t took = platform::clock().TickCount() - start;
    checks.Expect(result == mrCancel && took >= 550 && took < 5000,
                  "the modal waiting window closes by its timer after " + std::to_string(took) + " ms");

    // A message box runs its own loop; the program's timers go on meanwhile and one of them answers it.
    Timer answer(&form);
    answer.SetInterval(300);
    answer.OnTimer = [](Component& timer) {
        if (HWND box = ::FindWindowW(L"#32770", L"Smoke box")) {
            static_cast<Timer&>(timer).SetEnabled(false);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    };
    const platform::MsgResult box =
        application().ShowMessageBox(L"A message box.", L"Smoke box", platform::MsgIcon::Information);
    checks.Expect(box == platform::MsgResult::OK, "the message box is answered OK");
}

}  // namespace

int main(int argc, char** argv) {
    const bool screenshot = argc > 1 && std::string(argv[1]) == "--screenshot";
    Checks checks;
    {
        platform::win32::Win32Platform platform;
        platform::win32::Win32Forms& backend = platform.forms();
        std::wstring error;
        checks.Expect(LoadGlobalStrings(L"RESSTRING", &error), "the localisation table loads: " + Narrow(error));

        TfrmSmoke* form = application().CreateForm<TfrmSmoke>();
        auto waiting = MakeForm<TfrmWaiting>();
        form->Show();
        waiting->Show();
        // The dots move on a timer of real time; a busy machine may deliver its first tick late.
        PumpUntil([&] { return waiting->m_nWaitingDot >= 1; }, 5000);
        checks.Expect(waiting->m_nWaitingDot >= 1 && !waiting->lblDot->Caption().empty(),
                      "the waiting window's dots move while messages are handled");
        auto* wrap = form->Find<Label>(L"lblWrap");
        auto* title = form->Find<Label>(L"lblTitle");
        checks.Expect(wrap->Height() >= 2 * (title->Height() - 1) && wrap->Width() <= 220,
                      "the wrapping label takes several lines within its width");
        checks.Expect(title->Width() > 0, "an auto-size label takes its text's width");
        CheckGeometry(checks, backend, *form);
        CheckGeometry(checks, backend, *waiting);
        checks.Expect((::GetWindowLongPtrW(Hwnd(backend, *waiting), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
                      "the waiting window stays on top");
        checks.Expect((::GetWindowLongPtrW(Hwnd(backend, *waiting), GWL_STYLE) & WS_SYSMENU) == 0,
                      "the waiting window has no caption buttons");
        HWND tips = ::FindWindowW(TOOLTIPS_CLASSW, nullptr);
        checks.Expect(tips && ::GetWindow(tips, GW_OWNER) == Hwnd(backend, *form) &&
                          ::SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0) == 1,
                      "the form's hint window holds the one hint");
        checks.Expect(::FindWindowW(L"TfrmWaiting", nullptr) == Hwnd(backend, *waiting),
                      "a form's window class is its dialog class");
        checks.Expect(waiting->lblWaiting->Caption() == g_GlobalString.WaitingForPrinterRW &&
                          !waiting->lblWaiting->Caption().empty(),
                      "the waiting window shows the reading text");
        if (screenshot) {
            checks.Expect(HandOverForScreenshot(L"forms_smoke"), "the screenshot is taken within 30 s");
        }

        WorkControls(checks, backend, *form);

        // The form follows a resize: the bottom panel stays at the bottom, its buttons at the right.
        form->SetClientHeight(form->ClientHeight() + 30);
        form->SetWidth(form->Width() + 40);
        Pump(100);
        CheckGeometry(checks, backend, *form);

        waiting->Hide();
        BorderStyles(checks, backend);
        ModalForms(checks, backend, *form);

        ::PostMessageW(Hwnd(backend, *form), WM_CLOSE, 0, 0);
        Pump(100);
        checks.Expect(application().Terminated(), "the main form's close box ends the application");
    }
    std::printf("forms_smoke: %d checks, %d failed\n", checks.Count(), checks.Failed());
    return checks.Failed() == 0 ? 0 : 1;
}
