// The menu fetch shows the program's waiting window through the model's hook, keeps it alive while it waits
// for the printer, and frees it at the end of every fetch.
#include <gtest/gtest.h>

#include "exchange_fixture.h"
#include "uWaitingHook.h"

namespace {

// Notes what the window looked like just before the fetch closed it.
class ObservedWaitingWindow : public TWaitingWindowForModel {
public:
    void CloseWaitingWindow() override {
        if (TfrmWaiting* window = Window()) {
            seenVisible = window->Visible();
            dotTicks = window->m_nWaitingDot;
            ++closes;
        }
        TWaitingWindowForModel::CloseWaitingWindow();
    }
    bool seenVisible = false;
    int dotTicks = -1;
    int closes = 0;
};

class WaitingHookTest : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        SetWaitingWindowHook(&waiting);
        printer->setModelName("WQ-472");
        printer->setMenuFile(platform::Bytes{'[', 'B', ']', '\r', '\n'});
    }
    ObservedWaitingWindow waiting;
};

TEST_F(WaitingHookTest, FetchShowsTheWindowWhileItWaitsAndFreesIt) {
    ASSERT_TRUE(model().GetPrinterMenuResources());
    EXPECT_EQ(waiting.closes, 1);
    EXPECT_TRUE(waiting.seenVisible);
    // The dots moved: the exchanges handled the window's timer messages while they waited.
    EXPECT_GE(waiting.dotTicks, 1);
    EXPECT_EQ(waiting.Window(), nullptr);
    EXPECT_EQ(sim.forms().RunningTimers(), 0u);
}

TEST_F(WaitingHookTest, FailedFetchStillFreesTheWindow) {
    printer->faults().noReply = true;
    EXPECT_FALSE(model().GetPrinterMenuResources());
    EXPECT_EQ(waiting.closes, 1);
    EXPECT_EQ(waiting.Window(), nullptr);
    EXPECT_EQ(sim.forms().RunningTimers(), 0u);
}

}  // namespace
