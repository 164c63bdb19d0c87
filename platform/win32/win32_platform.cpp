#include "platform/win32/win32_platform.h"

#include <mutex>

namespace platform::win32 {

Win32Platform::Win32Platform() {
    table_.profile = &profile_;
    table_.files = &files_;
    table_.clock = &clock_;
    table_.locale = &locale_;
    table_.codePage = &codePage_;
    table_.resources = &resources_;
    table_.messageBoxes = &messageBoxes_;
    table_.processes = &processes_;
    table_.spooler = &spooler_;
    table_.portLibrary = &portLibrary_;
    table_.usbDriver = &usbDriver_;
    table_.forms = &forms_;
    table_.threadState = &threadState_;
    table_.heap = &heap_;
    Install(&table_);
}

Win32Platform::~Win32Platform() {
    Install(nullptr);
}

}  // namespace platform::win32

namespace platform {

// Kept until the module unloads, when its destructor uninstalls it; made outside the loader lock, at the
// first call of whoever needs it.
void InstallDefaultOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!IsInstalled()) {
            static win32::Win32Platform platform;
        }
    });
}

}  // namespace platform
