#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>

#include "platform/clock.h"
#include "platform/platform.h"
#include "sim_fixture.h"

namespace {

class FunctionThread : public platform::Thread {
public:
    explicit FunctionThread(std::function<void()> body) : body_(std::move(body)) {}
    ~FunctionThread() override { WaitFor(); }  // before body_ goes
    std::atomic<int> runs{0};

protected:
    void Execute() override {
        ++runs;
        body_();
    }

private:
    std::function<void()> body_;
};

using ThreadTest = SimTest;

TEST_F(ThreadTest, PolledWorkerFinishesAtAnExactVirtualTime) {
    int result = 0;
    FunctionThread worker([&] {
        platform::clock().Sleep(120);
        result = 42;
    });
    worker.Start();
    while (!worker.Finished()) {
        platform::clock().Sleep(50);
    }
    EXPECT_EQ(sim.clock().Elapsed(), 150u);
    EXPECT_EQ(result, 42);  // Finished publishes what the worker wrote
    worker.WaitFor();
    EXPECT_EQ(sim.clock().Participants(), 1);
}

TEST_F(ThreadTest, ExceptionEndsTheThreadQuietly) {
    FunctionThread worker([] { throw std::runtime_error("worker failed"); });
    worker.Start();
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
    EXPECT_EQ(sim.clock().Participants(), 1);
}

TEST_F(ThreadTest, StartRunsOnceAndWaitForNeedsNoStart) {
    FunctionThread idle([] {});
    idle.WaitFor();  // never started: returns at once
    EXPECT_FALSE(idle.Finished());

    FunctionThread worker([] { platform::clock().Sleep(10); });
    worker.Start();
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(worker.runs.load(), 1);
    EXPECT_EQ(sim.clock().Elapsed(), 10u);
}

TEST_F(ThreadTest, WaitForLetsTheWorkerSleep) {
    FunctionThread worker([] { platform::clock().Sleep(3500); });
    worker.Start();
    worker.WaitFor();  // a join moves the virtual clock for the worker
    EXPECT_TRUE(worker.Finished());
    EXPECT_EQ(sim.clock().Elapsed(), 3500u);
}

TEST_F(ThreadTest, DestructorWaitsForTheThread) {
    std::atomic<bool> done{false};
    {
        FunctionThread worker([&] {
            platform::clock().Sleep(1000);
            done = true;
        });
        worker.Start();
    }
    EXPECT_TRUE(done);
    EXPECT_EQ(sim.clock().Elapsed(), 1000u);
    EXPECT_EQ(sim.clock().Participants(), 1);
}

// Regression: joining a worker that has already finished took part in the clock as a wait, letting time jump
// to another sleeper's wake-up.
TEST_F(ThreadTest, JoiningAFinishedWorkerTakesNoTime) {
    FunctionThread quick([] { platform::clock().Sleep(10); });
    FunctionThread slow([] { platform::clock().Sleep(1000); });
    quick.Start();
    slow.Start();
    while (!quick.Finished()) {
        platform::clock().Sleep(50);
    }
    quick.WaitFor();
    EXPECT_EQ(sim.clock().Elapsed(), 50u);
    slow.WaitFor();
    EXPECT_EQ(sim.clock().Elapsed(), 1000u);
}

}  // namespace
