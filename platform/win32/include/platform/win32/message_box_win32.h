#pragma once
// Message boxes of the system, owned by the calling thread's active window.

#include "platform/message_box.h"

namespace platform::win32 {

class Win32MessageBoxes : public MessageBoxes {
public:
    MsgResult Show(const std::wstring& text, const std::wstring& caption, MsgIcon icon, MsgButtons buttons) override;
};

}  // namespace platform::win32
