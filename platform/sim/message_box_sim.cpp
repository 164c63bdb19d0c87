#include "platform/sim/message_box_sim.h"

namespace platform::sim {

MsgResult SimMessageBoxes::DefaultAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
        case MsgButtons::OKCancel:
            return MsgResult::OK;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgResult::Yes;
        case MsgButtons::RetryCancel:
            return MsgResult::Retry;
        case MsgButtons::AbortRetryIgnore:
            return MsgResult::Abort;
    }
    return MsgResult::OK;
}

MsgResult SimMessageBoxes::Show(const std::wstring& text,
                                const std::wstring& caption,
                                MsgIcon icon,
                                MsgButtons buttons) {
    ShownBox box{text, caption, icon, buttons, DefaultAnswer(buttons)};
    Handler handler;
    std::size_t index = 0;
    {
        // Recorded before the handler runs, so a box that the handler's own actions show comes after it.
        std::lock_guard lock(mutex_);
        index = shown_.size();
        shown_.push_back(box);
        handler = handler_;
    }
    std::optional<MsgResult> answer;
    if (handler) {
        answer = handler(box);
    }
    std::lock_guard lock(mutex_);
    if (!answer && !answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    const MsgResult result = answer.value_or(DefaultAnswer(buttons));
    if (index < shown_.size()) {
        shown_[index].answer = result;
    }
    return result;
}

void SimMessageBoxes::QueueAnswer(MsgResult answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

void SimMessageBoxes::SetHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

std::vector<ShownBox> SimMessageBoxes::Shown() const {
    std::lock_guard lock(mutex_);
    return shown_;
}

std::size_t SimMessageBoxes::PendingAnswers() const {
    std::lock_guard lock(mutex_);
    return answers_.size();
}

void SimMessageBoxes::ClearShown() {
    std::lock_guard lock(mutex_);
    shown_.clear();
}

}  // namespace platform::sim
