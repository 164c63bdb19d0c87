#include "platform/forms/design.h"

#include <memory>
#include <stdexcept>

#include "platform/forms/application.h"
#include "platform/forms/bitmap.h"
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

std::string KindText(ComponentKind kind) {
    return WideToUtf8(KindName(kind));
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

Bitmap PictureResource(Form& form, const ComponentDesign& d) {
    try {
        return Bitmap::FromResource(d.picture);
    } catch (const platform::Exception& error) {
        ThrowLayoutError(form, "picture " + WideToUtf8(d.picture) + ": " + WideToUtf8(error.Message()), d.name);
    }
}

void ApplyPicture(Form& form, Control& control, const ComponentDesign& d) {
    if (auto* button = dynamic_cast<BitBtn*>(&control)) {
        button->SetGlyph(PictureResource(form, d));
    } else if (auto* box = dynamic_cast<ScrollBox*>(&control)) {
        box->SetBrushBitmap(PictureResource(form, d));
    } else {
        ThrowLayoutError(form, "a " + KindText(d.kind) + " has no picture", d.name);
    }
}

void ApplyControlDesign(Form& form, Control& control, Control& parent, const ComponentDesign& d) {
    control.SetParent(&parent);
    if (d.bold || d.underline || d.fontColor || d.fontSize) {
        TFont font = parent.Font();
        font.bold = d.bold.value_or(font.bold);
        font.underline = d.underline.value_or(font.underline);
        font.color = d.fontColor.value_or(font.color);
        font.size = d.fontSize.value_or(font.size);
        control.SetFont(font);
    }
    if (d.color) {
        control.SetColor(*d.color);
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
        list->SetItems(d.items);
    } else if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
        combo->SetItems(d.items);
    } else if (auto* radio = dynamic_cast<RadioGroup*>(&control)) {
        radio->SetColumns(d.columns);
        radio->SetItems(d.items);
    } else if (!d.items.empty()) {
        ThrowLayoutError(form, "a " + KindText(d.kind) + " has no entries", d.name);
    }
    if (auto* track = dynamic_cast<TrackBar*>(&control)) {
        track->SetRange(d.min, d.max);
        track->SetPageSize(d.pageSize);
        track->SetPosition(d.position);
    }
    if (d.picture && *d.picture) {
        ApplyPicture(form, control, d);
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

void BindField(Form& form, Component& component, const ComponentDesign& d, bool required) {
    if (!d.field) {
        if (required) {
            ThrowLayoutError(form, "no field of the window is bound to it", d.name);
        }
        return;
    }
    switch (d.field.Bind(form, component)) {
        case FieldBinding::Result::Bound:
            return;
        case FieldBinding::Result::OtherWindow:
            ThrowLayoutError(form, "its field is a member of another window class", d.name);
        case FieldBinding::Result::OtherType:
            ThrowLayoutError(form, "its field's type does not fit a " + KindText(d.kind), d.name);
    }
}

template <class Event>
void BindEvent(Form& form, const ComponentDesign& d, const Handler<Event>& handler, Event* target, const char* event) {
    if (!handler) {
        return;
    }
    if (!target) {
        ThrowLayoutError(form, "a " + KindText(d.kind) + " has no " + event, d.name);
    }
    Event bound = handler.Bind(form);
    if (!bound) {
        ThrowLayoutError(form, std::string(event) + " is a method of another window class", d.name);
    }
    *target = std::move(bound);
}

NotifyEvent* ChangeEvent(Component& component) {
    if (auto* edit = dynamic_cast<Edit*>(&component)) {
        return &edit->OnChange;
    }
    if (auto* combo = dynamic_cast<ComboBox*>(&component)) {
        return &combo->OnChange;
    }
    if (auto* track = dynamic_cast<TrackBar*>(&component)) {
        return &track->OnChange;
    }
    return nullptr;
}

void BindEvents(Form& form, Component& component, const ComponentDesign& d) {
    auto* control = dynamic_cast<Control*>(&component);
    auto* timer = dynamic_cast<Timer*>(&component);
    BindEvent(form, d, d.OnClick, control ? &control->OnClick : nullptr, "OnClick");
    BindEvent(form, d, d.OnMouseEnter, control ? &control->OnMouseEnter : nullptr, "OnMouseEnter");
    BindEvent(form, d, d.OnMouseLeave, control ? &control->OnMouseLeave : nullptr, "OnMouseLeave");
    BindEvent(form, d, d.OnEnter, control ? &control->OnEnter : nullptr, "OnEnter");
    BindEvent(form, d, d.OnExit, control ? &control->OnExit : nullptr, "OnExit");
    BindEvent(form, d, d.OnKeyPress, control ? &control->OnKeyPress : nullptr, "OnKeyPress");
    BindEvent(form, d, d.OnChange, ChangeEvent(component), "OnChange");
    BindEvent(form, d, d.OnTimer, timer ? &timer->OnTimer : nullptr, "OnTimer");
}

void MakeComponents(Form& form, std::span<const ComponentDesign> table, bool fieldsRequired) {
    std::vector<Component*> made;
    for (const ComponentDesign& d : table) {
        if (d.kind == ComponentKind::Form) {
            ThrowLayoutError(form, "a form cannot be part of a form", d.name);
        }
        if (!d.name || !*d.name || form.FindComponent(d.name)) {
            ThrowLayoutError(form, "missing or repeated name", d.name);
        }
        Control* parent = &form;
        if (d.parent && *d.parent) {
            parent = dynamic_cast<Control*>(form.FindComponent(d.parent));
            if (!parent) {
                ThrowLayoutError(form, "its parent " + WideToUtf8(d.parent) + " is not made yet", d.name);
            }
        }
        Component* component = Make(d.kind, form);
        made.push_back(component);
        component->SetName(d.name);
        component->SetTag(d.tag);
        if (auto* timer = dynamic_cast<Timer*>(component)) {
            timer->SetInterval(d.interval);
            timer->SetEnabled(d.enabled);
        } else {
            ApplyControlDesign(form, *static_cast<Control*>(component), *parent, d);
        }
        BindField(form, *component, d, fieldsRequired);
        BindEvents(form, *component, d);
    }
    // A field given twice holds the later component only.
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].field && !table[i].field.Holds(form, *made[i])) {
            ThrowLayoutError(form, "its field is given to another component too", table[i].name);
        }
    }
}

}  // namespace

void ThrowLayoutError(const Form& window, const std::string& what, const std::wstring& name) {
    throw FatalError("window layout of " + WideToUtf8(window.ClassName()) + ": " + what + ": " + WideToUtf8(name));
}

void CreateComponents(Form& form, std::span<const ComponentDesign> table) {
    MakeComponents(form, table, false);
}

void BindLayout(Form& window, std::span<const ComponentDesign> table) {
    MakeComponents(window, table, true);
}

void SetComponentText(Form& window, const wchar_t* name, const std::wstring& text) {
    const std::wstring wanted = name ? name : L"";
    if (wanted == window.ClassName()) {
        window.SetCaption(text);
        return;
    }
    auto* control = dynamic_cast<Control*>(window.FindComponent(wanted));
    if (!control) {
        ThrowLayoutError(window, "no control of that name for its text", wanted);
    }
    control->SetCaption(text);
}

}  // namespace platform::forms
