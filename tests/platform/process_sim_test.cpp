#include "platform/sim/process_sim.h"

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/thread_state.h"
#include "sim_fixture.h"

namespace {

using ProcessSimTest = SimTest;

const std::wstring kCommand = L"\"C:\\Program Files\\Corventa\\Corventa.exe\" \"Office WQ\" 1 3";

TEST_F(ProcessSimTest, OwnCommandLineIsTheQuotedProgramUntilATestSetsOne) {
    EXPECT_EQ(platform::processes().CommandLine(), L"\"C:\\Program Files\\Varintex\\Corventa.exe\"");
    sim.processes().SetCommandLine(kCommand);
    EXPECT_EQ(platform::processes().CommandLine(), kCommand);
}

TEST_F(ProcessSimTest, WithoutRunnerEveryStartSucceedsWithExitCodeZero) {
    auto process = platform::processes().Start(kCommand, L"C:\\Program Files\\Corventa");
    ASSERT_TRUE(process);
    EXPECT_EQ(process->Wait(platform::kInfinite), 0u);
    const auto started = sim.processes().Started();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].commandLine, kCommand);
    EXPECT_EQ(started[0].currentFolder, L"C:\\Program Files\\Corventa");
    EXPECT_TRUE(started[0].started);
}

TEST_F(ProcessSimTest, RunnerPlaysTheProgramInsideStart) {
    std::wstring ranWith;
    sim.processes().SetRunner([&](const std::wstring& commandLine) -> std::optional<std::uint32_t> {
        ranWith = commandLine;
        // The runner may use the platform like the program it stands for.
        platform::clock().Sleep(250);
        return 3;
    });
    auto process = platform::processes().Start(kCommand, L"");
    EXPECT_EQ(ranWith, kCommand);  // already ran before Start returned
    ASSERT_TRUE(process);
    EXPECT_EQ(sim.clock().Elapsed(), 250u);
    EXPECT_EQ(process->Wait(0), 3u);
    EXPECT_EQ(process->Wait(platform::kInfinite), 3u);
}

TEST_F(ProcessSimTest, RunnerCanRefuseTheStart) {
    sim.processes().SetRunner([](const std::wstring&) { return std::optional<std::uint32_t>(); });
    EXPECT_FALSE(platform::processes().Start(kCommand, L""));
    const auto started = sim.processes().Started();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_FALSE(started[0].started);
}

TEST_F(ProcessSimTest, RunnerMayStartProcessesItself) {
    sim.processes().SetRunner([](const std::wstring& commandLine) -> std::optional<std::uint32_t> {
        if (commandLine == L"outer") {
            auto inner = platform::processes().Start(L"inner", L"");
            return inner ? *inner->Wait(platform::kInfinite) + 10 : 99;
        }
        return 1;
    });
    auto outer = platform::processes().Start(L"outer", L"");
    ASSERT_TRUE(outer);
    EXPECT_EQ(outer->Wait(platform::kInfinite), 11u);
    const auto started = sim.processes().Started();
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].commandLine, L"outer");
    EXPECT_EQ(started[1].commandLine, L"inner");
}

TEST_F(ProcessSimTest, ElevatedStartRunsOnlyWithTheUsersConsent) {
    auto process = platform::processes().StartElevated(L"C:\\Corventa.exe", L"\"Office WQ\" 99");
    ASSERT_TRUE(process);
    EXPECT_EQ(process->Wait(platform::kInfinite), 0u);

    sim.processes().SetElevationConsent(false);
    platform::threadState().SetLastError(0);
    EXPECT_FALSE(platform::processes().StartElevated(L"C:\\Corventa.exe", L"\"Office WQ\" 99"));
    // Fault fixed: a refused consent left the last error as it was, where the shell's start gives ERROR_CANCELLED.
    EXPECT_EQ(platform::threadState().GetLastError(), platform::kErrorCancelled);

    const auto started = sim.processes().Started();
    ASSERT_EQ(started.size(), 2u);
    for (const auto& s : started) {
        EXPECT_TRUE(s.elevated);
        EXPECT_EQ(s.commandLine, L"C:\\Corventa.exe \"Office WQ\" 99");
    }
    EXPECT_TRUE(started[0].started);
    EXPECT_FALSE(started[1].started);
}

TEST_F(ProcessSimTest, ShellOpenIsRecordedAndCanFail) {
    EXPECT_TRUE(platform::processes().ShellOpen(L"http://www.example.com"));
    sim.processes().SetShellOpenResult(false);
    EXPECT_FALSE(platform::processes().ShellOpen(L"C:\\missing.txt"));
    EXPECT_EQ(sim.processes().ShellOpened(),
              (std::vector<std::wstring>{L"http://www.example.com", L"C:\\missing.txt"}));
}

}  // namespace
