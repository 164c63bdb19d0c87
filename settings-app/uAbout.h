#pragma once
// The about window: made last in every start and never shown; the menu-missing error box hangs on a hidden
// one, so that the box has an owner although no other window exists.

#include "platform/forms/forms.h"

class TAboutBox : public platform::forms::Form {
public:
    TAboutBox();

    platform::forms::Label* lblProductName = nullptr;
};
