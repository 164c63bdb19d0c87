// The fixture is header-only so far; this unit gives the support library its first source.
#include "sim_fixture.h"

#include "platform/text.h"

SimTest::~SimTest() {
    for (const std::wstring& line : sim.messageBoxes().Unfinished()) {
        ADD_FAILURE() << platform::WideToUtf8(line);
    }
    for (const std::wstring& line : sim.forms().Unfinished()) {
        ADD_FAILURE() << platform::WideToUtf8(line);
    }
}
