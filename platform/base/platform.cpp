#include "platform/platform.h"

#include <atomic>
#include <cstdlib>

namespace platform {

namespace {
std::atomic<const Platform*> g_current{nullptr};
}  // namespace

void Install(const Platform* p) {
    g_current.store(p, std::memory_order_release);
}

bool IsInstalled() {
    return g_current.load(std::memory_order_acquire) != nullptr;
}

const Platform& Current() {
    const Platform* p = g_current.load(std::memory_order_acquire);
    assert(p && "no platform installed");
    if (!p) {
        std::abort();  // a release build must not run on with a null table either
    }
    return *p;
}

}  // namespace platform
