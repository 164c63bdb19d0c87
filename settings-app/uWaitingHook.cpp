#include "uWaitingHook.h"

void TWaitingWindowForModel::ShowWaitingWindow() {
    // A fetch that did not close its window before the next one began still gets a fresh window.
    CloseWaitingWindow();
    m_frmWaiting = platform::forms::MakeForm<TfrmWaiting>();
    m_frmWaiting->Show();
}

void TWaitingWindowForModel::CloseWaitingWindow() {
    if (m_frmWaiting) {
        m_frmWaiting->Hide();
        m_frmWaiting.reset();
    }
}
