#include "sim_fixture.h"

#include "Scheme.h"
#include "StartUp.h"
#include "ThreadRWPrinter.h"
#include "platform/text.h"

void ResetProgramGlobals() {
    ResetSettingsAppGlobals();
    ResetSchemeGlobals();
    ResetPrinterLinkGlobals();
}

SimTest::SimTest() {
    ResetProgramGlobals();
}

// Runs before the sim goes, so that what the values hold is freed while the platform they came from is current.
SimTest::~SimTest() {
    for (const std::wstring& line : sim.messageBoxes().Unfinished()) {
        ADD_FAILURE() << platform::WideToUtf8(line);
    }
    for (const std::wstring& line : sim.forms().Unfinished()) {
        ADD_FAILURE() << platform::WideToUtf8(line);
    }
    ResetProgramGlobals();
}
