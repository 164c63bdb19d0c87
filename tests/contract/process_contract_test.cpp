// The program's own command line: start-up reads its arguments from it after the program's own name, on the
// real system as on the sim.
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/text.h"
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

}  // namespace
}  // namespace contract
