#include "platform/sim/message_box_sim.h"

#include "platform/forms/application.h"
#include "platform/text.h"

namespace platform::sim {

namespace {

const wchar_t* IconName(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return L"no icon";
        case MsgIcon::Error:
            return L"Error";
        case MsgIcon::Warning:
            return L"Warning";
        case MsgIcon::Information:
            return L"Information";
        case MsgIcon::Question:
            return L"Question";
    }
    return L"?";
}

const wchar_t* ButtonsName(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
            return L"OK";
        case MsgButtons::OKCancel:
            return L"OKCancel";
        case MsgButtons::YesNo:
            return L"YesNo";
        case MsgButtons::YesNoCancel:
            return L"YesNoCancel";
        case MsgButtons::RetryCancel:
            return L"RetryCancel";
        case MsgButtons::AbortRetryIgnore:
            return L"AbortRetryIgnore";
    }
    return L"?";
}

const wchar_t* AnswerName(MsgResult answer) {
    switch (answer) {
        case MsgResult::OK:
            return L"OK";
        case MsgResult::Cancel:
            return L"Cancel";
        case MsgResult::Abort:
            return L"Abort";
        case MsgResult::Retry:
            return L"Retry";
        case MsgResult::Ignore:
            return L"Ignore";
        case MsgResult::Yes:
            return L"Yes";
        case MsgResult::No:
            return L"No";
    }
    return L"?";
}

[[noreturn]] void Fail(const std::wstring& what) {
    throw forms::FatalError(WideToUtf8(what));
}

}  // namespace

std::wstring ShownBox::Describe() const {
    return L"\"" + text + L"\" (caption \"" + caption + L"\", " + IconName(icon) + L", " + ButtonsName(buttons) + L")";
}

std::optional<std::wstring> ExpectedBox::Mismatch(const ShownBox& box) const {
    if (part ? box.text.find(text) == std::wstring::npos : box.text != text) {
        return std::wstring(L"its text differs");
    }
    if (caption && *caption != box.caption) {
        return L"its caption is not \"" + *caption + L"\"";
    }
    if (icon && *icon != box.icon) {
        return std::wstring(L"its icon is not ") + IconName(*icon);
    }
    if (buttons && *buttons != box.buttons) {
        return std::wstring(L"its buttons are not ") + ButtonsName(*buttons);
    }
    if (!SimMessageBoxes::Offers(box.buttons, answer)) {
        return std::wstring(L"it has no ") + AnswerName(answer) + L" button to press";
    }
    return std::nullopt;
}

std::wstring ExpectedBox::Describe() const {
    std::wstring out = std::wstring(L"ExpectBox(") + (part ? L"part " : L"") + L"\"" + text + L"\"";
    if (caption) {
        out += L", caption \"" + *caption + L"\"";
    }
    if (icon) {
        out += std::wstring(L", ") + IconName(*icon);
    }
    if (buttons) {
        out += std::wstring(L", ") + ButtonsName(*buttons);
    }
    return out + L" -> " + AnswerName(answer) + L")";
}

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

bool SimMessageBoxes::Offers(MsgButtons buttons, MsgResult answer) {
    switch (buttons) {
        case MsgButtons::OK:
            return answer == MsgResult::OK;
        case MsgButtons::OKCancel:
            return answer == MsgResult::OK || answer == MsgResult::Cancel;
        case MsgButtons::YesNo:
            return answer == MsgResult::Yes || answer == MsgResult::No;
        case MsgButtons::YesNoCancel:
            return answer == MsgResult::Yes || answer == MsgResult::No || answer == MsgResult::Cancel;
        case MsgButtons::RetryCancel:
            return answer == MsgResult::Retry || answer == MsgResult::Cancel;
        case MsgButtons::AbortRetryIgnore:
            return answer == MsgResult::Abort || answer == MsgResult::Retry || answer == MsgResult::Ignore;
    }
    return false;
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
    std::unique_lock lock(mutex_);
    if (!answer && !expected_.empty()) {
        const ExpectedBox expected = std::move(expected_.front());
        expected_.pop_front();
        if (const auto why = expected.Mismatch(box)) {
            lock.unlock();
            Fail(L"message box " + box.Describe() + L" shown where the test expects " + expected.Describe() + L": " +
                 *why);
        }
        answer = expected.answer;
    }
    if (!answer && answerAny_) {
        answer = anyAnswer_ && Offers(buttons, *anyAnswer_) ? *anyAnswer_ : DefaultAnswer(buttons);
    }
    if (!answer) {
        lock.unlock();
        Fail(L"unexpected message box " + box.Describe());
    }
    if (index < shown_.size()) {
        shown_[index].answer = *answer;
    }
    return *answer;
}

SimMessageBoxes& SimMessageBoxes::ExpectBox(ExpectedBox box) {
    std::lock_guard lock(mutex_);
    expected_.push_back(std::move(box));
    return *this;
}

SimMessageBoxes& SimMessageBoxes::ExpectBox(std::wstring text, MsgResult answer) {
    return ExpectBox(ExpectedBox{.text = std::move(text), .answer = answer});
}

void SimMessageBoxes::AnswerAnyBox(std::optional<MsgResult> answer) {
    std::lock_guard lock(mutex_);
    answerAny_ = true;
    anyAnswer_ = answer;
}

std::vector<std::wstring> SimMessageBoxes::Unfinished() const {
    std::lock_guard lock(mutex_);
    std::vector<std::wstring> out;
    for (const ExpectedBox& box : expected_) {
        out.push_back(L"message box never shown: " + box.Describe());
    }
    return out;
}

std::size_t SimMessageBoxes::PendingExpected() const {
    std::lock_guard lock(mutex_);
    return expected_.size();
}

void SimMessageBoxes::SetHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

std::vector<ShownBox> SimMessageBoxes::Shown() const {
    std::lock_guard lock(mutex_);
    return shown_;
}

void SimMessageBoxes::ClearShown() {
    std::lock_guard lock(mutex_);
    shown_.clear();
}

}  // namespace platform::sim
