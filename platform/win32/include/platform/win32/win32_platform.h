#pragma once
// The real platform: every part on the Win32 API. The program makes one at start-up; constructing it installs
// it as the current platform, destroying it uninstalls it.

#include "platform/platform.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/codepage_win32.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/forms_win32.h"
#include "platform/win32/heap_win32.h"
#include "platform/win32/locale_win32.h"
#include "platform/win32/message_box_win32.h"
#include "platform/win32/port_library_win32.h"
#include "platform/win32/process_win32.h"
#include "platform/win32/profile_win32.h"
#include "platform/win32/resources_win32.h"
#include "platform/win32/spooler_win32.h"
#include "platform/win32/thread_state_win32.h"
#include "platform/win32/usb_printer_win32.h"

namespace platform::win32 {

class Win32Platform {
public:
    Win32Platform();
    ~Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Platform& table() { return table_; }
    Win32Forms& forms() { return forms_; }

private:
    Win32Clock clock_;
    Win32CodePage codePage_;
    Win32FileSystem files_;
    Win32Profile profile_;
    Win32Locale locale_;
    Win32Resources resources_;
    Win32MessageBoxes messageBoxes_;
    Win32Processes processes_;
    Win32Spooler spooler_;
    Win32PortLibrary portLibrary_;
    Win32UsbPrinterDriver usbDriver_;
    Win32ThreadState threadState_;
    Win32Heap heap_;
    // Last of the parts, so that its forms go first.
    Win32Forms forms_;
    Platform table_;
};

}  // namespace platform::win32
