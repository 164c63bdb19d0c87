#include "platform/sim/message_box_sim.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/platform.h"
#include "sim_fixture.h"

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::sim::ShownBox;

using MessageBoxSimTest = SimTest;

TEST_F(MessageBoxSimTest, BoxesAreRecordedAndAnsweredInOrder) {
    sim.messageBoxes().QueueAnswer(MsgResult::No);
    sim.messageBoxes().QueueAnswer(MsgResult::Cancel);
    auto& boxes = platform::messageBoxes();
    EXPECT_EQ(boxes.Show(L"Clear the queue?", L"Hint", MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
    EXPECT_EQ(boxes.Show(L"Retry?", L"Error", MsgIcon::Error, MsgButtons::RetryCancel), MsgResult::Cancel);
    EXPECT_EQ(boxes.Show(L"Done", L"Hint", MsgIcon::Information, MsgButtons::OK), MsgResult::OK);  // queue empty
    EXPECT_EQ(sim.messageBoxes().PendingAnswers(), 0u);

    const auto shown = sim.messageBoxes().Shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, L"Clear the queue?");
    EXPECT_EQ(shown[0].caption, L"Hint");
    EXPECT_EQ(shown[0].icon, MsgIcon::Question);
    EXPECT_EQ(shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(shown[0].answer, MsgResult::No);
    EXPECT_EQ(shown[1].text, L"Retry?");
    EXPECT_EQ(shown[1].icon, MsgIcon::Error);
    EXPECT_EQ(shown[1].answer, MsgResult::Cancel);
    EXPECT_EQ(shown[2].answer, MsgResult::OK);

    sim.messageBoxes().ClearShown();
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
}

TEST_F(MessageBoxSimTest, DefaultAnswerIsOkOrTheFirstButton) {
    const struct {
        const char* name;
        MsgButtons buttons;
        MsgResult expected;
    } cases[] = {
        {"OK", MsgButtons::OK, MsgResult::OK},
        {"OKCancel", MsgButtons::OKCancel, MsgResult::OK},
        {"YesNo", MsgButtons::YesNo, MsgResult::Yes},
        {"YesNoCancel", MsgButtons::YesNoCancel, MsgResult::Yes},
        {"RetryCancel", MsgButtons::RetryCancel, MsgResult::Retry},
        {"AbortRetryIgnore", MsgButtons::AbortRetryIgnore, MsgResult::Abort},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::messageBoxes().Show(L"text", L"caption", MsgIcon::None, c.buttons), c.expected);
    }
}

TEST_F(MessageBoxSimTest, HandlerAnswersFirstAndMayPass) {
    sim.messageBoxes().QueueAnswer(MsgResult::Retry);
    std::vector<std::wstring> seen;
    sim.messageBoxes().SetHandler([&](const ShownBox& box) -> std::optional<MsgResult> {
        seen.push_back(box.text);
        if (box.text == L"ask") {
            return MsgResult::Ignore;
        }
        return std::nullopt;
    });
    EXPECT_EQ(platform::messageBoxes().Show(L"ask", L"c", MsgIcon::None, MsgButtons::AbortRetryIgnore),
              MsgResult::Ignore);
    EXPECT_EQ(sim.messageBoxes().PendingAnswers(), 1u);  // the handler's answer used no queued one
    EXPECT_EQ(platform::messageBoxes().Show(L"pass", L"c", MsgIcon::None, MsgButtons::AbortRetryIgnore),
              MsgResult::Retry);
    EXPECT_EQ(platform::messageBoxes().Show(L"pass", L"c", MsgIcon::None, MsgButtons::OKCancel), MsgResult::OK);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"ask", L"pass", L"pass"}));

    sim.messageBoxes().SetHandler(nullptr);
    sim.messageBoxes().QueueAnswer(MsgResult::Cancel);
    EXPECT_EQ(platform::messageBoxes().Show(L"ask", L"c", MsgIcon::None, MsgButtons::OKCancel), MsgResult::Cancel);
}

// A scripted user whose click shows another box: the outer box comes first in the record.
TEST_F(MessageBoxSimTest, BoxShownFromTheHandlerIsRecordedAfterItsCause) {
    sim.messageBoxes().SetHandler([&](const ShownBox& box) -> std::optional<MsgResult> {
        if (box.text == L"outer") {
            platform::messageBoxes().Show(L"inner", L"c", MsgIcon::None, MsgButtons::OK);
            return MsgResult::Cancel;
        }
        return std::nullopt;
    });
    EXPECT_EQ(platform::messageBoxes().Show(L"outer", L"c", MsgIcon::None, MsgButtons::OKCancel), MsgResult::Cancel);
    const auto shown = sim.messageBoxes().Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, L"outer");
    EXPECT_EQ(shown[0].answer, MsgResult::Cancel);
    EXPECT_EQ(shown[1].text, L"inner");
}

TEST_F(MessageBoxSimTest, ShownFromAnotherThread) {
    sim.messageBoxes().QueueAnswer(MsgResult::Yes);
    MsgResult answer = MsgResult::OK;
    std::thread ui([&] { answer = sim.messageBoxes().Show(L"t", L"c", MsgIcon::Warning, MsgButtons::YesNo); });
    ui.join();
    EXPECT_EQ(answer, MsgResult::Yes);
    ASSERT_EQ(sim.messageBoxes().Shown().size(), 1u);
    EXPECT_EQ(sim.messageBoxes().Shown()[0].icon, MsgIcon::Warning);
}

}  // namespace
