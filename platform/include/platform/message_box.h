#pragma once
// Message boxes. Shown modally on the calling (user-interface) thread; blocks until answered.
// The sim records each box and answers it as the test's script expects; a box it does not expect fails the test.

#include <string>

namespace platform {

enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
// Numeric values are the platform's dialog result codes.
enum class MsgResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgResult Show(const std::wstring& text, const std::wstring& caption, MsgIcon icon,
                           MsgButtons buttons) = 0;
};

}  // namespace platform
