#pragma once
// The real dialogs behind the item dialog's hand-off. A start with page code 1 makes both dialogs once
// (CreateGroupDialogs) and the hand-off shows those; without them (the item dialog opened from the main
// window) it makes the dialog for that one showing and frees it when it has closed.

#include "FormInvoiceType_SetGroup.h"
#include "GroupHandOff.h"
#include "uSetGroupItem.h"

class TGroupDialogs : public TGroupHandOff {
public:
    // SetParameters raises for a sub-group beyond the last; the dialog is then not shown.
    void ShowSubGroup(const std::wstring& strCaption, std::int32_t iSubGroup) override;
    void ShowInvoiceType(std::int32_t iOption, const std::wstring& strCaption) override;
};

// Start-up at page code 1, once the main form exists: makes FormSetGroupItem and frmInvoiceType_SetGruop,
// owned by the application until it ends.
void CreateGroupDialogs();

// The hand-off that start-up installs with SetGroupHandOff.
extern TGroupDialogs g_GroupDialogs;
