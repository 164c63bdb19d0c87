#include "platform/forms/lists.h"

#include <algorithm>

#include "platform/text.h"
#include "platform/types.h"

namespace platform::forms {

// ---- ListBox ----

ListBox::ListBox(Component* owner) : Control(owner, ComponentKind::ListBox) {
    SetColor(clWindow);
}

void ListBox::SetItems(std::vector<std::wstring> items) {
    items_ = std::move(items);
    selected_.assign(items_.size(), false);
    itemIndex_ = -1;
    Changed(Change::Items | Change::Selection);
}

void ListBox::AddItem(const std::wstring& item) {
    items_.push_back(item);
    selected_.push_back(false);
    Changed(Change::Items);
}

void ListBox::SetItemIndex(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        index = -1;
    }
    if (!multiSelect_) {
        std::fill(selected_.begin(), selected_.end(), false);
        if (index >= 0) {
            selected_[static_cast<std::size_t>(index)] = true;
        }
    }
    itemIndex_ = index;
    Changed(Change::Selection);
}

void ListBox::SetMultiSelect(bool multiSelect) {
    if (multiSelect == multiSelect_) {
        return;
    }
    multiSelect_ = multiSelect;
    // The native list is made anew in the other mode and keeps no selection.
    std::fill(selected_.begin(), selected_.end(), false);
    itemIndex_ = -1;
    Changed(Change::Style | Change::Selection);
}

void ListBox::CheckIndex(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        throw platform::Exception(Format(L"List index out of bounds (%d)", {static_cast<std::int64_t>(index)}));
    }
}

bool ListBox::Selected(int index) const {
    CheckIndex(index);
    return selected_[static_cast<std::size_t>(index)];
}

void ListBox::SetSelected(int index, bool selected) {
    CheckIndex(index);
    if (!multiSelect_) {
        SetItemIndex(selected ? index : (itemIndex_ == index ? -1 : itemIndex_));
        return;
    }
    selected_[static_cast<std::size_t>(index)] = selected;
    Changed(Change::Selection);
}

int ListBox::SelCount() const {
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

void ListBox::ClearSelection() {
    std::fill(selected_.begin(), selected_.end(), false);
    if (!multiSelect_) {
        itemIndex_ = -1;
    }
    Changed(Change::Selection);
}

void ListBox::SetTabWidth(int tabWidth) {
    if (tabWidth == tabWidth_) {
        return;
    }
    tabWidth_ = tabWidth;
    Changed(Change::Style);
}

void ListBox::UserClickItem(int index, bool ctrlHeld) {
    CheckIndex(index);
    const auto at = static_cast<std::size_t>(index);
    if (!multiSelect_) {
        SetItemIndex(index);
    } else if (ctrlHeld || !extendedSelect_) {
        selected_[at] = !selected_[at];
        itemIndex_ = index;
    } else {
        std::fill(selected_.begin(), selected_.end(), false);
        selected_[at] = true;
        itemIndex_ = index;
    }
    Changed(Change::Selection);
    Click();
}

// ---- ComboBox ----

ComboBox::ComboBox(Component* owner) : Control(owner, ComponentKind::ComboBox) {
    SetColor(clWindow);
}

void ComboBox::SetItems(std::vector<std::wstring> items) {
    items_ = std::move(items);
    itemIndex_ = -1;
    Changed(Change::Items | Change::Selection);
}

void ComboBox::AddItem(const std::wstring& item) {
    items_.push_back(item);
    Changed(Change::Items);
}

void ComboBox::SetItemIndex(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        index = -1;
    }
    if (index == itemIndex_) {
        return;
    }
    itemIndex_ = index;
    Changed(Change::Selection);
}

std::wstring ComboBox::Text() const {
    return itemIndex_ >= 0 ? items_[static_cast<std::size_t>(itemIndex_)] : std::wstring();
}

void ComboBox::UserSelectItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        throw platform::Exception(Format(L"List index out of bounds (%d)", {static_cast<std::int64_t>(index)}));
    }
    SetItemIndex(index);
    Click();
    if (OnChange) {
        OnChange(*this);
    }
}

// ---- RadioGroup ----

RadioGroup::RadioGroup(Component* owner) : GroupBox(owner, ComponentKind::RadioGroup) {}

void RadioGroup::SetItems(std::vector<std::wstring> items) {
    items_ = std::move(items);
    itemIndex_ = std::min(itemIndex_, static_cast<int>(items_.size()) - 1);
    Changed(Change::Items | Change::Selection);
}

void RadioGroup::SetItemIndex(int index) {
    index = std::clamp(index, -1, static_cast<int>(items_.size()) - 1);
    if (index == itemIndex_) {
        return;
    }
    itemIndex_ = index;
    Changed(Change::Selection);
    if (itemIndex_ >= 0) {
        Click();
    }
}

void RadioGroup::SetColumns(int columns) {
    columns = std::max(columns, 1);
    if (columns == columns_) {
        return;
    }
    columns_ = columns;
    Changed(Change::Style);
}

}  // namespace platform::forms
