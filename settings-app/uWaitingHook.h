#pragma once
// The settings program's side of the model's waiting-window hook: the menu fetch shows TfrmWaiting through it.

#include "WaitingWindowHook.h"
#include "uWaiting.h"

class TWaitingWindowForModel : public TWaitingWindowHook {
public:
    void ShowWaitingWindow() override;
    void CloseWaitingWindow() override;

    // The window while a fetch shows it (tests look at it).
    TfrmWaiting* Window() const { return m_frmWaiting.get(); }

private:
    platform::forms::FormPtr<TfrmWaiting> m_frmWaiting;
};
