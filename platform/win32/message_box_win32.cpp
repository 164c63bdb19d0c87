#include "platform/win32/message_box_win32.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

UINT IconFlag(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Error:
            return MB_ICONERROR;
        case MsgIcon::Warning:
            return MB_ICONWARNING;
        case MsgIcon::Information:
            return MB_ICONINFORMATION;
        case MsgIcon::Question:
            return MB_ICONQUESTION;
        case MsgIcon::None:
            break;
    }
    return 0;
}

UINT ButtonsFlag(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OKCancel:
            return MB_OKCANCEL;
        case MsgButtons::YesNo:
            return MB_YESNO;
        case MsgButtons::YesNoCancel:
            return MB_YESNOCANCEL;
        case MsgButtons::RetryCancel:
            return MB_RETRYCANCEL;
        case MsgButtons::AbortRetryIgnore:
            return MB_ABORTRETRYIGNORE;
        case MsgButtons::OK:
            break;
    }
    return MB_OK;
}

}  // namespace

MsgResult Win32MessageBoxes::Show(const std::wstring& text,
                                  const std::wstring& caption,
                                  MsgIcon icon,
                                  MsgButtons buttons) {
    const int result =
        ::MessageBoxW(::GetActiveWindow(), text.c_str(), caption.c_str(), IconFlag(icon) | ButtonsFlag(buttons));
    // The dialog result codes are the enum's values; a box that could not be shown counts as cancelled.
    if (result < static_cast<int>(MsgResult::OK) || result > static_cast<int>(MsgResult::No)) {
        return MsgResult::Cancel;
    }
    return static_cast<MsgResult>(result);
}

}  // namespace platform::win32
