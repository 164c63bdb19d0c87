#include "platform/forms/design.h"

#include <memory>
#include <stdexcept>

#include "platform/forms/buttons.h"
#include "platform/forms/containers.h"
#include "platform/forms/edits.h"
#include "platform/forms/label.h"
#include "platform/forms/lists.h"
#include "platform/forms/timer.h"
#include "platform/forms/track_bar.h"
#include "platform/text.h"

namespace platform::forms {

Size DefaultSize(ComponentKind kind) {
    switch (kind) {
        case ComponentKind::Panel:
        case ComponentKind::ScrollBox:
            return {185, 41};
        case ComponentKind::GroupBox:
        case ComponentKind::RadioGroup:
            return {185, 105};
        case ComponentKind::Label:
            return {65, 13};
        case ComponentKind::Button:
        case ComponentKind::BitBtn:
            return {75, 25};
        case ComponentKind::CheckBox:
            return {97, 17};
        case ComponentKind::ListBox:
            return {121, 97};
        case ComponentKind::ComboBox:
            return {145, 21};
        case ComponentKind::Edit:
        case ComponentKind::MaskEdit:
            return {121, 21};
        case ComponentKind::TrackBar:
            return {150, 45};
        case ComponentKind::Form:
        case ComponentKind::Timer:
            break;
    }
    return {0, 0};
}

namespace {

[[noreturn]] void LayoutError(const std::string& what, const wchar_t* name) {
    throw std::logic_error("window layout: " + what + ": " + WideToUtf8(name ? name : L""));
}

Component* Make(ComponentKind kind, Form& owner) {
    switch (kind) {
        case ComponentKind::Panel:
            return new Panel(&owner);
        case ComponentKind::GroupBox:
            return new GroupBox(&owner);
        case ComponentKind::ScrollBox:
            return new ScrollBox(&owner);
        case ComponentKind::Label:
            return new Label(&owner);
        case ComponentKind::Button:
            return new Button(&owner);
        case ComponentKind::BitBtn:
            return new BitBtn(&owner);
        case ComponentKind::CheckBox:
            return new CheckBox(&owner);
        case ComponentKind::RadioGroup:
            return new RadioGroup(&owner);
        case ComponentKind::ListBox:
            return new ListBox(&owner);
        case ComponentKind::ComboBox:
            return new ComboBox(&owner);
        case ComponentKind::Edit:
            return new Edit(&owner);
        case ComponentKind::MaskEdit:
            return new MaskEdit(&owner);
        case ComponentKind::TrackBar:
            return new TrackBar(&owner);
        case ComponentKind::Timer:
            return new Timer(&owner);
        case ComponentKind::Form:
            break;
    }
    return nullptr;
}

void ApplyControlDesign(Control& control, Control& parent, const ComponentDesign& d) {
    control.SetParent(&parent);
    if (d.bold || d.underline || d.fontColor || d.fontSize) {
        TFont font = parent.Font();
        font.bold = d.bold.value_or(font.bold);
        font.underline = d.underline.value_or(font.underline);
        font.color = d.fontColor.value_or(font.color);
        font.size = d.fontSize.value_or(font.size);
        control.SetFont(font);
    }
    control.SetCursor(d.cursor);
    control.SetHint(d.hint ? d.hint : L"");
    control.SetShowHint(d.showHint);
    const Size size = DefaultSize(d.kind);
    control.SetBounds(d.left, d.top, d.width < 0 ? size.cx : d.width, d.height < 0 ? size.cy : d.height);

    auto* label = dynamic_cast<Label*>(&control);
    if (label) {
        // Sized by its text once everything else is in place, as a loaded window does.
        label->SetAutoSize(false);
        label->SetWordWrap(d.wordWrap);
        label->SetAlignment(d.alignment);
    }
    if (auto* button = dynamic_cast<Button*>(&control)) {
        button->SetDefault(d.isDefault);
        button->SetCancel(d.cancel);
        button->SetModalResult(d.modalResult);
    }
    if (auto* check = dynamic_cast<CheckBox*>(&control)) {
        check->SetChecked(d.checked);
    }
    if (auto* list = dynamic_cast<ListBox*>(&control)) {
        list->SetMultiSelect(d.multiSelect);
        list->SetTabWidth(d.tabWidth);
    }
    if (auto* track = dynamic_cast<TrackBar*>(&control)) {
        track->SetRange(d.min, d.max);
        track->SetPageSize(d.pageSize);
    }
    if (auto* panel = dynamic_cast<Panel*>(&control)) {
        panel->SetBevelOuter(d.bevelOuter);
        panel->SetBevelInner(d.bevelInner);
    }
    control.SetCaption(d.caption ? d.caption : L"");
    control.SetAnchors(d.anchors);
    control.SetAlign(d.align);
    if (label) {
        label->SetAutoSize(d.autoSize.value_or(true));
    }
    control.SetVisible(d.visible);
    control.SetEnabled(d.enabled);
}

}  // namespace

void CreateComponents(Form& form, std::span<const ComponentDesign> table) {
    for (const ComponentDesign& d : table) {
        if (d.kind == ComponentKind::Form) {
            LayoutError("a form cannot be part of a form", d.name);
        }
        if (!d.name || !*d.name || form.FindComponent(d.name)) {
            LayoutError("missing or repeated name", d.name);
        }
        Control* parent = &form;
        if (d.parent && *d.parent) {
            parent = dynamic_cast<Control*>(form.FindComponent(d.parent));
            if (!parent) {
                LayoutError("parent not made yet", d.parent);
            }
        }
        Component* component = Make(d.kind, form);
        component->SetName(d.name);
        component->SetTag(d.tag);
        if (auto* timer = dynamic_cast<Timer*>(component)) {
            timer->SetInterval(d.interval);
            timer->SetEnabled(d.enabled);
            continue;
        }
        ApplyControlDesign(*static_cast<Control*>(component), *parent, d);
    }
}

}  // namespace platform::forms
