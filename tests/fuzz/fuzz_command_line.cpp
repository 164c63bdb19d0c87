// The command line the program is started with: its split into arguments and what each argument says.

#include <cstddef>
#include <cstdint>

#include "StartUp.h"
#include "fuzz_support.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring commandLine = platform::Utf16LeToWide(data, size);
    SplitCommandLine(commandLine);
    ParseStartArguments(commandLine);
    return 0;
}
