#pragma once
// Window layouts as tables. A dialog lists its components, parents before children, each with the design
// values that differ from the kind's defaults (use designated initializers in the order below), and builds
// them in its constructor:
//
//   const ComponentDesign kLayout[] = {
//       {.kind = ComponentKind::Panel, .name = L"pnlBottom", .height = 36, .align = alBottom},
//       {.kind = ComponentKind::Button, .name = L"btnCancel", .parent = L"pnlBottom", .left = 189, .top = 3,
//        .width = 65, .height = 30, .anchors = akTop | akRight, .cancel = true},
//   };
//   CreateComponents(*this, kLayout);
//
// The form owns every component. Sizes left at -1 take the kind's default size. A parent's size must be in
// place before anchored children are added to it, which the parents-first order gives.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/forms/form.h"

namespace platform::forms {

struct ComponentDesign {
    ComponentKind kind = ComponentKind::Panel;
    const wchar_t* name = L"";
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
    // ListBox.
    bool multiSelect = false;
    int tabWidth = 0;
    // CheckBox.
    bool checked = false;
    // TrackBar.
    int min = 0;
    int max = 10;
    int pageSize = 2;
    // Panel.
    TBevelCut bevelOuter = bvRaised;
    TBevelCut bevelInner = bvNone;
    // Timer.
    std::uint32_t interval = 1000;
};

// The size a component of that kind has when the layout gives none.
Size DefaultSize(ComponentKind kind);

// Makes the components of the table on the form, in order. A parent that is not on the form yet, a second
// component of one name or a kind that cannot be placed (a form) is a programming error (std::logic_error).
void CreateComponents(Form& form, std::span<const ComponentDesign> table);

}  // namespace platform::forms
