#include "platform/win32/win32_platform.h"

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
    Install(&table_);
}

Win32Platform::~Win32Platform() {
    Install(nullptr);
}

}  // namespace platform::win32
