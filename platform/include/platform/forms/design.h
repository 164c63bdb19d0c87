#pragma once
// Window layouts as tables. A window lists its components, parents before children, each with its kind, name
// and the design values that differ from the kind's defaults (designated initializers, in the order below),
// bound to the window's field of the component and to its handlers, and builds them in its constructor:
//
//   const ComponentDesign kLayout[] = {
//       {.kind = ComponentKind::Panel, .name = L"pnlBottom", .field = &TfrmX::pnlBottom, .height = 36,
//        .align = alBottom},
//       {.kind = ComponentKind::Button, .name = L"btnCancel", .field = &TfrmX::btnCancel, .parent = L"pnlBottom",
//        .left = 189, .top = 3, .width = 65, .height = 30, .anchors = akTop | akRight, .cancel = true,
//        .OnClick = &TfrmX::btnCancelClick},
//   };
//   TfrmX::TfrmX() : Form(L"TfrmX", kDesign) { BindLayout(*this, kLayout); }
//
// The window's own events bind through its FormDesign (`.OnShow = &TfrmX::FormShow`). Its localised texts
// come from a second table, (component, field of the text record), applied by ApplyTexts where the window
// sets its captions:
//
//   const ComponentText<TTexts> kTexts[] = {{L"TfrmX", &TTexts::Caption}, {L"btnCancel", &TTexts::Cancel}};
//   ApplyTexts(*this, g_Texts, kTexts);
//
// The form owns every component. Sizes left at -1 take the kind's default size. A parent's size must be in
// place before anchored children are added to it, which the parents-first order gives. Handlers are set after
// every design value, so building a window runs none of them.
//
// Every mistake in a table is a programming error that ends the run (FatalError, a std::logic_error, which
// event dispatch passes on), raised while the window is built, with the window class and the component in its
// message: a parent or text entry naming no component, a repeated name, a field whose type does not fit the
// kind, a field or handler of another window class, a handler for an event the kind does not have, a field
// given to two components, a component without a field (BindLayout), a resource that does not exist.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/forms/binding.h"
#include "platform/forms/control.h"
#include "platform/forms/form.h"

namespace platform::forms {

struct ComponentDesign {
    ComponentKind kind = ComponentKind::Panel;
    const wchar_t* name = L"";
    FieldBinding field{};         // the window's field of the component
    const wchar_t* parent = L"";  // empty: the form itself
    int left = 0;
    int top = 0;
    int width = -1;
    int height = -1;
    TAlign align = alNone;
    TAnchors anchors = akLeft | akTop;
    const wchar_t* caption = L"";
    const wchar_t* hint = L"";
    bool showHint = false;
    bool visible = true;
    bool enabled = true;  // a timer's Enabled too
    std::int32_t tag = 0;
    std::optional<TColor> color{};
    // Font: unset values come from the parent.
    std::optional<bool> bold{};
    std::optional<bool> underline{};
    std::optional<TColor> fontColor{};
    std::optional<int> fontSize{};
    TCursor cursor = crDefault;
    // Label.
    std::optional<bool> autoSize{};
    bool wordWrap = false;
    TAlignment alignment = taLeftJustify;
    // Button and BitBtn.
    bool isDefault = false;
    bool cancel = false;
    TModalResult modalResult = mrNone;
    // ListBox, ComboBox and RadioGroup entries.
    std::vector<std::wstring> items{};
    // RadioGroup.
    int columns = 1;
    // ListBox.
    bool multiSelect = false;
    int tabWidth = 0;
    // CheckBox.
    bool checked = false;
    // TrackBar.
    int min = 0;
    int max = 10;
    int pageSize = 2;
    int position = 0;
    // BitBtn glyph or ScrollBox background picture: the name of a bitmap resource.
    const wchar_t* picture = L"";
    // Panel.
    TBevelCut bevelOuter = bvRaised;
    TBevelCut bevelInner = bvNone;
    // Timer.
    std::uint32_t interval = 1000;
    // Handlers. Every control has the first six; OnChange is an edit's, a drop-down list's or a track bar's,
    // OnTimer a timer's.
    Handler<NotifyEvent> OnClick{};
    Handler<NotifyEvent> OnMouseEnter{};
    Handler<NotifyEvent> OnMouseLeave{};
    Handler<NotifyEvent> OnEnter{};
    Handler<NotifyEvent> OnExit{};
    Handler<KeyPressEvent> OnKeyPress{};
    Handler<NotifyEvent> OnChange{};
    Handler<NotifyEvent> OnTimer{};
};

// A component's localised text: the field of the text record (`&TGlobalString::btnSet`) that becomes the
// caption of the component of that name, or of the window itself when the name is the window's class name.
template <class Texts>
struct ComponentText {
    const wchar_t* name;
    std::wstring Texts::*text;
};

// The size a component of that kind has when the layout gives none.
Size DefaultSize(ComponentKind kind);

// Makes the components of the table on the form, in order. A parent that is not on the form yet, a second
// component of one name or a kind that cannot be placed (a form) is a programming error (std::logic_error).
// Binds the fields and handlers the table gives; a component without a field is allowed (test windows).
void CreateComponents(Form& form, std::span<const ComponentDesign> table);
// CreateComponents for a window class: every component must be bound to a field of the window.
void BindLayout(Form& window, std::span<const ComponentDesign> table);

// Sets the caption of the named component, or of the window when name is its class name.
void SetComponentText(Form& window, const wchar_t* name, const std::wstring& text);
template <class Texts>
void ApplyTexts(Form& window, const Texts& texts, std::type_identity_t<std::span<const ComponentText<Texts>>> table) {
    for (const ComponentText<Texts>& entry : table) {
        SetComponentText(window, entry.name, texts.*entry.text);
    }
}

// Raises the FatalError of a broken layout: "window layout of <class>: <what>: <name>".
[[noreturn]] void ThrowLayoutError(const Form& window, const std::string& what, const std::wstring& name);

}  // namespace platform::forms
