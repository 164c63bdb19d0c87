#include "WaitingWindowHook.h"

namespace {
// The settings program's waiting window, as the menu fetch reaches it.
TWaitingWindowHook* g_pWaitingWindowHook = nullptr;
}  // namespace

void SetWaitingWindowHook(TWaitingWindowHook* hook) {
    g_pWaitingWindowHook = hook;
}

TWaitingWindowHook* GetWaitingWindowHook() {
    return g_pWaitingWindowHook;
}
