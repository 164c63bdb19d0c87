#pragma once
// The waiting window that the menu fetch shows. The window belongs to the settings program, above the model,
// so the program installs its side of this at start-up (the model never includes a window); until then the
// fetch runs without a window.

class TWaitingWindowHook {
public:
    virtual ~TWaitingWindowHook() = default;
    // Creates the waiting window, owned by the application, and shows it without waiting for it. Called once
    // per fetch, before its first exchange, on the user-interface thread.
    virtual void ShowWaitingWindow() = 0;
    // Hides and frees the window that ShowWaitingWindow made. Called once at the end of every fetch, whatever
    // its outcome; must not throw.
    virtual void CloseWaitingWindow() = 0;
};

// Set on the user-interface thread before the first fetch; null takes the window away again.
void SetWaitingWindowHook(TWaitingWindowHook* hook);
TWaitingWindowHook* GetWaitingWindowHook();
