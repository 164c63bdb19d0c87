// The program's own command line: start-up reads its arguments from it after the program's own name, on the
// real system as on the sim. The elevated start through the shell, which the plug-in falls back on.
#include <cstdint>
#include <optional>

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/thread_state.h"
#include "platform/usb_printer.h"
#include "platform_under_test.h"

namespace contract {
namespace {

using ProcessContract = ContractTest;

TEST_F(ProcessContract, CommandLineNamesTheProgram) {
    const std::wstring program = platform::files().ProgramPath();
    std::wstring name = program.substr(program.find_last_of(L'\\') + 1);
    // A starter may leave out the extension; the rest of the name is always there.
    name = name.substr(0, name.find_last_of(L'.'));
    const std::wstring commandLine = platform::processes().CommandLine();
    EXPECT_GT(platform::PosText(name, commandLine), 0u) << platform::WideToUtf8(commandLine);
}

// The plug-in waits for the program it starts elevated, and a program that cannot start must leave the page as it
// was: without a message of the shell's, which would wait for a user nobody asked.
TEST_F(ProcessContract, ElevatedStartRunsTheProgramWithItsParameters) {
    struct Case {
        const char* name;
        std::wstring program;
        std::wstring parameters;
        std::optional<std::uint32_t> exitCode;  // nothing: no process
    };
    const std::wstring program = under->ExitCodeProgram();
    const Case cases[] = {
        {"elevated start with one parameter", program, L"7", 7u},
        {"elevated start with the plug-in's parameters", program, L"\"Contract Printer\" 1 3", 3u},
        {"elevated start of a program that is not there", under->Scratch() + L"missing.exe", L"7", std::nullopt},
    };
    // Long enough for any start; a hang fails the case instead of stopping the suite.
    constexpr std::uint32_t kEndWithinMs = 30000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (IsKnownDeviation(*under, c.name)) {
            continue;
        }
        const std::unique_ptr<platform::Process> process = platform::processes().StartElevated(c.program, c.parameters);
        if (!c.exitCode) {
            EXPECT_EQ(process, nullptr);
            continue;
        }
        ASSERT_NE(process, nullptr);
        EXPECT_EQ(process->Wait(kEndWithinMs), c.exitCode);
    }
}

// The plug-in takes the elevated road only when the plain start says the program wants administrator rights, so
// a start that fails for another reason must say that reason, never an earlier call's.
TEST_F(ProcessContract, AStartThatFailsSaysWhy) {
    platform::threadState().SetLastError(platform::kErrorElevationRequired);
    const std::wstring missing = under->Scratch() + L"missing.exe";
    EXPECT_EQ(platform::processes().Start(L"\"" + missing + L"\" 7", L""), nullptr);
    EXPECT_EQ(platform::threadState().GetLastError(), platform::kErrorFileNotFound);
}

}  // namespace
}  // namespace contract
