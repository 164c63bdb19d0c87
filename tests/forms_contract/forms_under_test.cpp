#include "forms_under_test.h"

#include "platform/clock.h"
#include "platform/platform.h"

namespace forms_contract {

using namespace platform::forms;

void Pump(std::uint32_t ms) {
    const std::uint32_t start = platform::clock().TickCount();
    application().ProcessMessages();
    while (platform::clock().TickCount() - start < ms) {
        platform::clock().Sleep(10);
        application().ProcessMessages();
    }
}

void PressKey(std::uint8_t virtualKey, bool shift) {
    if (shift) {
        application().KeyEvent(kKeyShift, false);
    }
    application().KeyEvent(virtualKey, false);
    application().KeyEvent(virtualKey, true);
    if (shift) {
        application().KeyEvent(kKeyShift, true);
    }
    Pump(50);
}

}  // namespace forms_contract
