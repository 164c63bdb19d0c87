#include "platform/sim/message_box_sim.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/forms/application.h"
#include "platform/platform.h"
#include "sim_fixture.h"

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::forms::FatalError;
using platform::sim::ExpectedBox;
using platform::sim::ShownBox;

using MessageBoxSimTest = SimTest;

TEST_F(MessageBoxSimTest, BoxesAreRecordedAndAnsweredInOrder) {
    sim.messageBoxes().ExpectBox(L"Clear the queue?", MsgResult::No).ExpectBox(L"Retry?", MsgResult::Cancel);
    sim.messageBoxes().ExpectBox(L"Done");
    auto& boxes = platform::messageBoxes();
    EXPECT_EQ(boxes.Show(L"Clear the queue?", L"Hint", MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
    EXPECT_EQ(boxes.Show(L"Retry?", L"Error", MsgIcon::Error, MsgButtons::RetryCancel), MsgResult::Cancel);
    EXPECT_EQ(boxes.Show(L"Done", L"Hint", MsgIcon::Information, MsgButtons::OK), MsgResult::OK);
    EXPECT_EQ(sim.messageBoxes().PendingExpected(), 0u);
    EXPECT_TRUE(sim.messageBoxes().Unfinished().empty());

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

TEST_F(MessageBoxSimTest, TheOptOutAnswersTheDefaultOkOrTheFirstButton) {
    sim.messageBoxes().AnswerAnyBox();
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

TEST_F(MessageBoxSimTest, TheOptOutsAnswerIsGivenWhereTheBoxOffersIt) {
    sim.messageBoxes().ExpectBox(L"expected first", MsgResult::Cancel);
    sim.messageBoxes().AnswerAnyBox(MsgResult::No);
    auto& boxes = platform::messageBoxes();
    EXPECT_EQ(boxes.Show(L"expected first", L"c", MsgIcon::None, MsgButtons::YesNoCancel), MsgResult::Cancel);
    EXPECT_EQ(boxes.Show(L"any", L"c", MsgIcon::None, MsgButtons::YesNo), MsgResult::No);
    EXPECT_EQ(boxes.Show(L"any", L"c", MsgIcon::None, MsgButtons::OKCancel), MsgResult::OK);
}

TEST_F(MessageBoxSimTest, ABoxTheTestDoesNotExpectFailsNamingIt) {
    struct Case {
        const char* name;
        std::optional<ExpectedBox> expected;
        std::string message;  // a part of the failure
    };
    const Case cases[] = {
        {"nothing expected", std::nullopt,
         "unexpected message box \"Set printer failed\" (caption \"Hint\", Error, OKCancel)"},
        {"another text", ExpectedBox{.text = L"Set printer succeeded"}, "its text differs"},
        {"only a part of the text, without part", ExpectedBox{.text = L"Set printer"}, "its text differs"},
        {"a part that is not in it", ExpectedBox{.text = L"succeeded", .part = true}, "its text differs"},
        {"another caption", ExpectedBox{.text = L"Set printer failed", .caption = L"Error"},
         "its caption is not \"Error\""},
        {"another icon", ExpectedBox{.text = L"Set printer failed", .icon = MsgIcon::Warning},
         "its icon is not Warning"},
        {"other buttons", ExpectedBox{.text = L"Set printer failed", .buttons = MsgButtons::OK},
         "its buttons are not OK"},
        {"an answer the box has no button for", ExpectedBox{.text = L"Set printer failed", .answer = MsgResult::Yes},
         "it has no Yes button to press"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.expected) {
            sim.messageBoxes().ExpectBox(*c.expected);
        }
        try {
            platform::messageBoxes().Show(L"Set printer failed", L"Hint", MsgIcon::Error, MsgButtons::OKCancel);
            ADD_FAILURE() << "the box was answered";
        } catch (const FatalError& error) {
            const std::string what = error.what();
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
            EXPECT_NE(what.find("\"Set printer failed\""), std::string::npos) << what;
        }
        EXPECT_EQ(sim.messageBoxes().PendingExpected(), 0u) << "the expectation it met is used up";
    }
}

TEST_F(MessageBoxSimTest, ExpectedBoxesNeverShownAreReported) {
    sim.messageBoxes().ExpectBox(L"shown").ExpectBox(ExpectedBox{.text = L"never", .answer = MsgResult::Cancel});
    platform::messageBoxes().Show(L"shown", L"c", MsgIcon::None, MsgButtons::OK);
    const auto unfinished = sim.messageBoxes().Unfinished();
    ASSERT_EQ(unfinished.size(), 1u);
    EXPECT_NE(unfinished[0].find(L"ExpectBox(\"never\" -> Cancel)"), std::wstring::npos);
    // Shown at last, it leaves nothing for the fixture to report.
    platform::messageBoxes().Show(L"never", L"c", MsgIcon::None, MsgButtons::OKCancel);
    EXPECT_TRUE(sim.messageBoxes().Unfinished().empty());
}

TEST_F(MessageBoxSimTest, HandlerAnswersFirstAndMayPass) {
    sim.messageBoxes().ExpectBox(ExpectedBox{.text = L"pass", .answer = MsgResult::Retry}).ExpectBox(L"pass");
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
    EXPECT_EQ(sim.messageBoxes().PendingExpected(), 2u);  // the handler's answer used no expected one
    EXPECT_EQ(platform::messageBoxes().Show(L"pass", L"c", MsgIcon::None, MsgButtons::AbortRetryIgnore),
              MsgResult::Retry);
    EXPECT_EQ(platform::messageBoxes().Show(L"pass", L"c", MsgIcon::None, MsgButtons::OKCancel), MsgResult::OK);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"ask", L"pass", L"pass"}));

    sim.messageBoxes().SetHandler(nullptr);
    sim.messageBoxes().ExpectBox(L"ask", MsgResult::Cancel);
    EXPECT_EQ(platform::messageBoxes().Show(L"ask", L"c", MsgIcon::None, MsgButtons::OKCancel), MsgResult::Cancel);
}

// A scripted user whose click shows another box: the outer box comes first in the record.
TEST_F(MessageBoxSimTest, BoxShownFromTheHandlerIsRecordedAfterItsCause) {
    sim.messageBoxes().ExpectBox(L"inner");
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
    sim.messageBoxes().ExpectBox(L"t", MsgResult::Yes);
    MsgResult answer = MsgResult::OK;
    std::thread ui([&] { answer = sim.messageBoxes().Show(L"t", L"c", MsgIcon::Warning, MsgButtons::YesNo); });
    ui.join();
    EXPECT_EQ(answer, MsgResult::Yes);
    ASSERT_EQ(sim.messageBoxes().Shown().size(), 1u);
    EXPECT_EQ(sim.messageBoxes().Shown()[0].icon, MsgIcon::Warning);
}

}  // namespace
