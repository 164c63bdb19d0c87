#include "platform/forms/component.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/text.h"

namespace platform::forms {

Component::Component(Component* owner, ComponentKind kind)
    : kind_(kind), owner_(owner), backend_(&platform::formsBackend()) {
    if (owner_) {
        owner_->components_.push_back(this);
    }
}

Component::~Component() {
    DestroyComponents();
    if (owner_) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void Component::DestroyComponents() {
    // The last made goes first, so children usually leave before their parents.
    while (!components_.empty()) {
        Component* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
}

Component* Component::FindComponent(const std::wstring& name) const {
    if (name.empty()) {
        return nullptr;
    }
    for (Component* c : components_) {
        if (SameText(c->name_, name)) {
            return c;
        }
    }
    return nullptr;
}

std::string Component::NarrowName(const std::wstring& name) {
    return WideToUtf8(name);
}

const wchar_t* KindName(ComponentKind kind) {
    switch (kind) {
        case ComponentKind::Form:
            return L"Form";
        case ComponentKind::Panel:
            return L"Panel";
        case ComponentKind::GroupBox:
            return L"GroupBox";
        case ComponentKind::ScrollBox:
            return L"ScrollBox";
        case ComponentKind::Label:
            return L"Label";
        case ComponentKind::Button:
            return L"Button";
        case ComponentKind::BitBtn:
            return L"BitBtn";
        case ComponentKind::CheckBox:
            return L"CheckBox";
        case ComponentKind::RadioGroup:
            return L"RadioGroup";
        case ComponentKind::ListBox:
            return L"ListBox";
        case ComponentKind::ComboBox:
            return L"ComboBox";
        case ComponentKind::Edit:
            return L"Edit";
        case ComponentKind::MaskEdit:
            return L"MaskEdit";
        case ComponentKind::TrackBar:
            return L"TrackBar";
        case ComponentKind::Timer:
            return L"Timer";
    }
    return L"?";
}

}  // namespace platform::forms
