#pragma once
// The confirmation the main window asks for before its mode button moves to the advance page, whose settings
// are meant for technical staff. Made hidden at start-up with the main window and kept until exit; each
// showing is modal, and m_bAffirm keeps the last answer.

#include "platform/forms/forms.h"

class TfrmWarning : public platform::forms::Form {
public:
    TfrmWarning();

    platform::forms::GroupBox* grp1 = nullptr;
    platform::forms::Label* lblTitle = nullptr;
    platform::forms::GroupBox* grp2 = nullptr;
    platform::forms::Label* lblTitle2 = nullptr;
    platform::forms::BitBtn* btnOK = nullptr;
    platform::forms::BitBtn* btnCancel = nullptr;

    // True after OK, False after Cancel and at creation; closing by the title bar leaves it as it was.
    bool m_bAffirm = false;

    void FormCreate();
    void btnOKClick();
    void btnCancelClick();
};
