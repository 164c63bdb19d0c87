// Timers on the virtual clock: they fire only while messages are handled, exactly when due, and a modal wait
// sleeps until the next one.
#include <gtest/gtest.h>

#include <vector>

#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "sim_fixture.h"

namespace {

using namespace platform::forms;
using platform::sim::UserScript;

class TTimerForm : public Form {
public:
    TTimerForm() : Form(L"TTimerForm", FormDesign{.clientWidth = 200, .clientHeight = 100, .borderStyle = bsDialog}) {
        const ComponentDesign layout[] = {
            {.kind = ComponentKind::Timer, .name = L"tmrTick", .enabled = false, .interval = 500},
            {.kind = ComponentKind::Timer, .name = L"tmrClose", .enabled = false, .interval = 8000},
            {.kind = ComponentKind::Button, .name = L"btnOK", .modalResult = mrOk},
        };
        CreateComponents(*this, layout);
        tmrTick = Find<Timer>(L"tmrTick");
        tmrClose = Find<Timer>(L"tmrClose");
        tmrTick->OnTimer = [this](Component&) { ticks.push_back(platform::clock().TickCount()); };
        tmrClose->OnTimer = [this](Component&) { Close(); };
    }
    Timer* tmrTick;
    Timer* tmrClose;
    std::vector<std::uint32_t> ticks;  // virtual time of each tick
};

class FormsTimerTest : public SimTest {
protected:
    void Pump(std::uint32_t sleepMs) {
        sim.clock().Sleep(sleepMs);
        application().ProcessMessages();
    }
};

TEST_F(FormsTimerTest, TimersFireWhenDueAndOnlyWhileMessagesAreHandled) {
    auto form = MakeForm<TTimerForm>();
    form->tmrTick->SetEnabled(true);
    Pump(499);
    EXPECT_TRUE(form->ticks.empty());
    Pump(1);
    EXPECT_EQ(form->ticks, (std::vector<std::uint32_t>{500}));
    // Three intervals pass without messages: one tick, and the next keeps the original rhythm.
    Pump(1600);
    EXPECT_EQ(form->ticks.size(), 2u);
    Pump(399);
    EXPECT_EQ(form->ticks.size(), 2u);
    Pump(1);
    EXPECT_EQ(form->ticks.back(), 2500u);
    // Enabling an enabled timer changes nothing; a new interval counts from now.
    form->tmrTick->SetEnabled(true);
    Pump(100);
    form->tmrTick->SetInterval(200);
    Pump(199);
    EXPECT_EQ(form->ticks.size(), 3u);
    Pump(1);
    EXPECT_EQ(form->ticks.back(), 2800u);
    EXPECT_EQ(form->ticks.size(), 4u);
    // Disabled: nothing, however long.
    form->tmrTick->SetEnabled(false);
    Pump(10000);
    EXPECT_EQ(form->ticks.size(), 4u);
}

TEST_F(FormsTimerTest, AModalWaitEndsByItsCloseTimerInExactVirtualTime) {
    auto form = MakeForm<TTimerForm>();
    form->tmrClose->SetEnabled(true);
    form->tmrTick->SetEnabled(true);
    const auto start = sim.clock().Elapsed();
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(sim.clock().Elapsed() - start, 8000u);
    // Ticks at 500 .. 7500; at 8000 the close timer, started first, ends the wait before the tick.
    ASSERT_EQ(form->ticks.size(), 15u);
    EXPECT_EQ(form->ticks.front(), 500u);
    EXPECT_EQ(form->ticks.back(), 7500u);
    ASSERT_EQ(sim.forms().Loops().size(), 1u);
    EXPECT_EQ(sim.forms().Loops()[0].endMs - sim.forms().Loops()[0].startMs, 8000u);
}

TEST_F(FormsTimerTest, ScriptedWaitsLetTimersFire) {
    auto form = MakeForm<TTimerForm>();
    form->tmrTick->SetInterval(300);
    form->tmrTick->SetEnabled(true);
    sim.forms().WhenModal(
        L"TTimerForm",
        UserScript()
            .Wait(1000)
            .Inspect([](Form& f) {
                EXPECT_EQ(static_cast<TTimerForm&>(f).ticks, (std::vector<std::uint32_t>{300, 600, 900}));
            })
            .Click(L"btnOK"));
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(sim.clock().Elapsed(), 1000u);
}

TEST_F(FormsTimerTest, TimersOfOtherFormsFireDuringAModalWait) {
    auto background = MakeForm<TTimerForm>();  // hidden, as a main window is while its dialog is open
    background->tmrTick->SetInterval(3500);
    background->tmrTick->SetEnabled(true);
    auto dialog = MakeForm<TTimerForm>();
    dialog->tmrClose->SetEnabled(true);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(background->ticks, (std::vector<std::uint32_t>{3500, 7000}));
}

TEST_F(FormsTimerTest, AHandlerMayFreeAnotherTimerThatIsDue) {
    // Two timers due at the same moment; the first frees the form of the second.
    auto killer = MakeForm<TTimerForm>();
    auto victim = MakeForm<TTimerForm>();
    victim->tmrTick->SetEnabled(true);
    killer->tmrTick->OnTimer = [&victim](Component&) { victim.reset(); };
    killer->tmrTick->SetEnabled(true);
    victim->tmrTick->SetEnabled(false);
    victim->tmrTick->SetEnabled(true);  // started after the killer now
    Pump(500);
    EXPECT_EQ(victim, nullptr);
    EXPECT_EQ(sim.forms().RunningTimers(), 1u);
    Pump(500);  // the killer ticks on harmlessly
}

}  // namespace
