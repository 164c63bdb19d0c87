#pragma once
// The sample form of the forms contract: one of each control kind the dialogs use, laid out by alignment,
// anchors and auto-size, which the contract's cases work.

#include <string>
#include <vector>

#include "platform/forms/forms.h"

namespace forms_contract {

class TfrmSample : public platform::forms::Form {
public:
    TfrmSample();

    std::vector<std::wstring> clicks;  // OnClick of the controls, in order
    int ticks = 0;                     // OnTimer of tmrTick
};

}  // namespace forms_contract
