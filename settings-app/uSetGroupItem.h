#pragma once
// The sub-group dialog: after an item that owns a sub-group has been set, the user sets the whole group of
// further items (a sub-group list of the model, up to eight of them side by side) in one settings write
// sequence. The caller prepares it with SetParameters and shows it modally; it reads the current values from
// the printer each time it shows.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/forms/forms.h"

class TFormSetGroupItem : public platform::forms::Form {
public:
    TFormSetGroupItem();
    ~TFormSetGroupItem() override;

    platform::forms::Panel* pnlBottom = nullptr;
    platform::forms::Button* btnSet = nullptr;
    platform::forms::Button* btnCancel = nullptr;
    platform::forms::Panel* pnl1 = nullptr;
    platform::forms::Panel* pnl4 = nullptr;
    platform::forms::GroupBox* grp1 = nullptr;
    platform::forms::Label* lblInfo = nullptr;
    platform::forms::Panel* pnl3 = nullptr;
    platform::forms::Panel* pnlItem1 = nullptr;
    platform::forms::Panel* pnlItem2 = nullptr;
    platform::forms::Panel* pnlItem3 = nullptr;
    platform::forms::Panel* pnlItem4 = nullptr;
    platform::forms::Panel* pnlItem5 = nullptr;
    platform::forms::Panel* pnlItem6 = nullptr;
    platform::forms::Panel* pnlItem7 = nullptr;
    platform::forms::Panel* pnlItem8 = nullptr;
    platform::forms::Label* lblName1 = nullptr;
    platform::forms::Label* lblName2 = nullptr;
    platform::forms::Label* lblName3 = nullptr;
    platform::forms::Label* lblName4 = nullptr;
    platform::forms::Label* lblName5 = nullptr;
    platform::forms::Label* lblName6 = nullptr;
    platform::forms::Label* lblName7 = nullptr;
    platform::forms::Label* lblName8 = nullptr;
    platform::forms::ListBox* lst1 = nullptr;
    platform::forms::ListBox* lst2 = nullptr;
    platform::forms::ListBox* lst3 = nullptr;
    platform::forms::ListBox* lst4 = nullptr;
    platform::forms::ListBox* lst5 = nullptr;
    platform::forms::ListBox* lst6 = nullptr;
    platform::forms::ListBox* lst7 = nullptr;
    platform::forms::ListBox* lst8 = nullptr;

    // Page code of the sub-group shown: 127 + the sub-group number, kept in one byte.
    std::uint8_t m_pm = 0;
    // Items of that page's list, taken when the dialog shows.
    std::int32_t m_iItems = 0;

    // Caption and page code for the next show; a page code above 191 raises platform::Exception
    // "SubGroup out of index: %d" after both are set.
    void SetParameters(const std::wstring& strCaption, std::int32_t iSubGroup);

    void FormShow();
    void btnSetClick();
    void btnCancelClick();

private:
    // The set instruction of one item with its chosen value and the instruction tail, ending in a blank; empty
    // when nothing is chosen, nothing when the chosen value does not fit the item's width.
    std::optional<std::wstring> GetListSetInstruction(std::uint8_t byPage,
                                                      std::int32_t iItem,
                                                      std::int32_t iOption) const;
    void GetGroupValuesFromPrinter();
    void SelectListByValue(platform::forms::ListBox& list, std::int32_t iItem, std::int32_t iValue) const;
};

// The dialog a start with page code 1 makes once (CreateGroupDialogs) and keeps; null otherwise and once it
// has been freed.
extern TFormSetGroupItem* FormSetGroupItem;
