#pragma once
// The small "please wait" window shown while the program talks to the printer or waits for it to finish a
// job. It shows one of two texts chosen by the printer's name, moves a row of dots every 500 ms while messages
// are handled, and closes itself when its close timer fires: a modeless window hides, a modal one ends its
// modal wait. Its creator may shorten the close timer before showing it, and frees it afterwards.

#include "platform/forms/forms.h"

class TfrmWaiting : public platform::forms::Form {
public:
    TfrmWaiting();

    platform::forms::Label* lblWaiting = nullptr;
    platform::forms::Label* lblDot = nullptr;
    platform::forms::Timer* tmrWaiting = nullptr;
    platform::forms::Timer* tmrClose = nullptr;

    // Dots shown, 0 to 6.
    int m_nWaitingDot = 0;

    void FormCreate();
    void FormShow();
    void tmrWaitingTimer();
    void tmrCloseTimer();
};
