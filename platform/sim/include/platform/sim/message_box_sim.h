#pragma once
// The simulated user at the message boxes, strict: every box must be one the test expects. Every box is
// recorded in order, then answered by, in turn:
// - the handler (the headless forms backend's scripted user, whose script may expect the box as a step; a
//   nullopt passes it on);
// - the queue of expected boxes the test set here (for boxes shown while no scripted form is running, as
//   before the main form exists): the front must match the box, and is used up;
// - the opt-out AnswerAnyBox, for a test that does not care which boxes come.
// A box nobody expects, or one that differs from the expectation it meets, raises forms::FatalError naming
// its text, caption, icon and buttons: the run cannot go on as the test meant it.
// Safe to call from the user-interface thread while the test thread sets expectations or inspects afterwards;
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
    std::wstring Describe() const;
};

// A box the test expects and the button its user presses. The text is the box's whole text, or with `part`
// a piece of it (for texts with a varying tail); caption, icon and buttons are checked when given. The answer
// must be one of the box's buttons.
struct ExpectedBox {
    std::wstring text;
    bool part = false;
    std::optional<std::wstring> caption{};
    std::optional<MsgIcon> icon{};
    std::optional<MsgButtons> buttons{};
    MsgResult answer = MsgResult::OK;

    // Why the shown box is not this one; nullopt when it is.
    std::optional<std::wstring> Mismatch(const ShownBox& box) const;
    std::wstring Describe() const;
};

class SimMessageBoxes : public MessageBoxes {
public:
    using Handler = std::function<std::optional<MsgResult>(const ShownBox&)>;

    MsgResult Show(const std::wstring& text, const std::wstring& caption, MsgIcon icon, MsgButtons buttons) override;

    // Adds a box to the queue of expected boxes.
    SimMessageBoxes& ExpectBox(ExpectedBox box);
    SimMessageBoxes& ExpectBox(std::wstring text, MsgResult answer = MsgResult::OK);
    // From now on a box that nothing expects is answered too: with `answer` where the box offers that button,
    // else with the box's default.
    void AnswerAnyBox(std::optional<MsgResult> answer = std::nullopt);
    // Expected boxes not shown yet, one line each; empty when all went to plan.
    std::vector<std::wstring> Unfinished() const;
    std::size_t PendingExpected() const;

    // The sim platform puts its forms backend's scripted user here; a handler of the test's own replaces it.
    void SetHandler(Handler handler);  // an empty function removes it
    std::vector<ShownBox> Shown() const;
    // Forgets the boxes shown so far (expectations and handler stay).
    void ClearShown();

    // OK when OK is one of the buttons, else the first button.
    static MsgResult DefaultAnswer(MsgButtons buttons);
    static bool Offers(MsgButtons buttons, MsgResult answer);

private:
    mutable std::mutex mutex_;
    std::vector<ShownBox> shown_;
    std::deque<ExpectedBox> expected_;
    bool answerAny_ = false;
    std::optional<MsgResult> anyAnswer_;
    Handler handler_;
};

}  // namespace platform::sim
