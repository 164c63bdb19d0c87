#pragma once
// The simulated user at the message boxes. Every box is recorded in order. The answer comes from, in turn:
// the handler (a scripted user; nullopt passes), the queue of answers the test set, and otherwise the default
// answer: OK when OK is one of the buttons, else the first button (Yes for YesNo and YesNoCancel, Retry for
// RetryCancel, Abort for AbortRetryIgnore).
// Safe to call from the user-interface thread while the test thread sets answers or inspects afterwards;
// the handler runs on the showing thread without any lock held.

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace platform::sim {

struct ShownBox {
    std::wstring text;
    std::wstring caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::OK;
    MsgResult answer = MsgResult::OK;  // what the box returned (not yet known while the handler runs)
};

class SimMessageBoxes : public MessageBoxes {
public:
    using Handler = std::function<std::optional<MsgResult>(const ShownBox&)>;

    MsgResult Show(const std::wstring& text, const std::wstring& caption, MsgIcon icon, MsgButtons buttons) override;

    void QueueAnswer(MsgResult answer);
    void SetHandler(Handler handler);  // an empty function removes it
    std::vector<ShownBox> Shown() const;
    std::size_t PendingAnswers() const;
    // Forgets the boxes shown so far (answers and handler stay).
    void ClearShown();

    static MsgResult DefaultAnswer(MsgButtons buttons);

private:
    mutable std::mutex mutex_;
    std::vector<ShownBox> shown_;
    std::deque<MsgResult> answers_;
    Handler handler_;
};

}  // namespace platform::sim
