#pragma once
// Controls that offer a list of entries: list box, drop-down list and radio group.
//
// Entries are replaced as a whole. An index outside the entries selects nothing (-1), except in a radio group,
// which keeps the nearest valid index as the original toolkit does. Events follow the original toolkit too:
// - ListBox: OnClick when the user changes the selection; setting ItemIndex or Selected by code runs nothing.
//   In a multi-select list a plain click selects only the entry clicked, a click with Ctrl held toggles it
//   (see the backend); ItemIndex is then the entry that has the focus rectangle.
// - ComboBox (a drop-down list): OnClick and then OnChange when the user picks an entry; nothing by code.
// - RadioGroup: OnClick whenever ItemIndex moves to a button, by the user or by code (so a program that shows
//   a value by setting ItemIndex runs its click handler too); moving to -1 runs nothing.

#include <string>
#include <vector>

#include "platform/forms/containers.h"
#include "platform/forms/control.h"

namespace platform::forms {

class ListBox : public Control {
public:
    explicit ListBox(Component* owner);

    const std::vector<std::wstring>& Items() const { return items_; }
    // Replaces the entries; nothing is selected afterwards.
    void SetItems(std::vector<std::wstring> items);
    void AddItem(const std::wstring& item);
    void Clear() { SetItems({}); }

    int ItemIndex() const { return itemIndex_; }
    // Single selection: selects that entry alone. Multiple selection: moves the focus rectangle only.
    void SetItemIndex(int index);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multiSelect);
    // With ExtendedSelect (the default) a plain click replaces a multiple selection; without it, it toggles.
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool extended) { extendedSelect_ = extended; }
    // Raises platform::Exception "List index out of bounds (%d)" for an index outside the entries.
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    void ClearSelection();
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int tabWidth);

    // The user clicked an entry (Ctrl held or not): the selection changes as the list's mode says and
    // OnClick runs. Called by a backend.
    void UserClickItem(int index, bool ctrlHeld);

protected:
    bool Focusable() const override { return true; }

private:
    void CheckIndex(int index) const;

    std::vector<std::wstring> items_;
    std::vector<bool> selected_;
    int itemIndex_ = -1;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    int tabWidth_ = 0;
};

class ComboBox : public Control {
public:
    explicit ComboBox(Component* owner);

    const std::vector<std::wstring>& Items() const { return items_; }
    void SetItems(std::vector<std::wstring> items);
    void AddItem(const std::wstring& item);
    void Clear() { SetItems({}); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // The selected entry's text, empty without a selection.
    std::wstring Text() const;

    NotifyEvent OnChange;

    // The user picked an entry from the drop-down list. Called by a backend.
    void UserSelectItem(int index);

protected:
    bool Focusable() const override { return true; }

private:
    std::vector<std::wstring> items_;
    int itemIndex_ = -1;
};

// A group box of radio buttons, one per entry.
class RadioGroup : public GroupBox {
public:
    explicit RadioGroup(Component* owner);

    const std::vector<std::wstring>& Items() const { return items_; }
    // Replaces the buttons; a selection beyond the new count moves to the last button.
    void SetItems(std::vector<std::wstring> items);
    int ItemIndex() const { return itemIndex_; }
    // Below -1 gives -1, beyond the last button the last one; runs OnClick when it moves to a button.
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int columns);

    // The user clicked button index. Called by a backend.
    void UserClickItem(int index) { SetItemIndex(index); }

protected:
    bool Focusable() const override { return true; }

private:
    std::vector<std::wstring> items_;
    int itemIndex_ = -1;
    int columns_ = 1;
};

}  // namespace platform::forms
