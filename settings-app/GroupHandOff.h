#pragma once
// Where the item dialog hands an item that owns a sub-group on to after a successful set: the sub-group
// dialog, or the invoice-type dialog for sub-group 64 from its fourth option on. Each hand-off shows its dialog
// modally and returns when that dialog has closed; which instance it shows (the one a page-1 start made, or one
// made for this showing) is the hand-off's own business. The settings program installs the real dialogs'
// hand-off at start-up; a test may install a recorder.

#include <cstdint>
#include <string>

class TGroupHandOff {
public:
    virtual ~TGroupHandOff() = default;
    // SetParameters(strCaption, iSubGroup) of the sub-group dialog, then shown modally.
    virtual void ShowSubGroup(const std::wstring& strCaption, std::int32_t iSubGroup) = 0;
    // The invoice-type dialog laid out for option index iOption (3 and 4 choose its two layouts, a larger
    // index keeps the layout), captioned strCaption, then shown modally.
    virtual void ShowInvoiceType(std::int32_t iOption, const std::wstring& strCaption) = 0;
};

// Set on the user-interface thread; null: nothing to hand off to (the item dialog then ends as for an item
// without a sub-group).
void SetGroupHandOff(TGroupHandOff* handOff);
TGroupHandOff* GetGroupHandOff();
