// The ink printer's maintenance commands: each named in the command log, alone or several in one write.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wire.h"

namespace vprinter_test {
namespace {

struct MaintenanceCase {
    const char* name;
    const char* frames;
    std::vector<std::string> log;
};

TEST(Maintenance, EachCommandIsNamedInTheLog) {
    const MaintenanceCase cases[] = {
        {"clean", "1B 1D 1E 10 01 1B 1D 1F", {"clean"}},
        {"deep clean", "1B 1D 1E 10 02 1B 1D 1F", {"deep clean"}},
        {"self test", "1B 1D 1E 10 04 1B 1D 1F", {"self test"}},
        {"cartridge change", "1B 1D 1E 10 05 1B 1D 1F", {"cartridge change"}},
        {"bearing clean", "1B 1D 1E 10 06 1B 1D 1F", {"bearing clean"}},
        {"head change", "1B 1D 1E 10 07 1B 1D 1F 1B 1D 1E 11 13 01 1B 1D 1F", {"head change", "head change end"}},
        {"head change cancelled", "1B 1D 1E 10 08 1B 1D 1F", {"head change cancel"}},
        {"head change start, two frames in one write",
         "1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F",
         {"head change reset", "head change start"}},
        // The pattern byte spells the tail's first byte: the frame is not cut there.
        {"nozzle check and its feeds", "1B 1D 1E 10 09 81 1B 1D 1F 0A 0A 0C", {"nozzle check 81", "data 3 bytes"}},
        {"nozzle check whose pattern is 1B", "1B 1D 1E 10 09 1B 1B 1D 1F", {"nozzle check 1B"}},
        {"an unknown maintenance command", "1B 1D 1E 10 0A 1B 1D 1F", {"unknown 1B 1D 1E 10 0A 1B 1D 1F"}},
        {"a head change state out of range", "1B 1D 1E 11 13 02 1B 1D 1F", {"malformed 1B 1D 1E 11 13 02 1B 1D ..."}},
    };
    for (const MaintenanceCase& c : cases) {
        SCOPED_TRACE(c.name);
        vprinter::VirtualPrinter vp = makePrinter();
        send(vp, c.frames);
        EXPECT_EQ(vp.commandLog(), c.log);
        EXPECT_TRUE(drain(vp).empty()) << "no maintenance command answers";
    }
}

}  // namespace
}  // namespace vprinter_test
