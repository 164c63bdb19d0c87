#pragma once
// The base of every test that runs system code: a fresh simulated platform per test, installed as the current
// platform for the test's whole life, and the program's process-wide values as at program start, both when the
// test begins and after it ends, so that no test sees a value another one left.

#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"

// Every module's own reset, so that a global added to a module is reset wherever that module's is.
void ResetProgramGlobals();

class SimTest : public ::testing::Test {
protected:
    SimTest();
    // A test fails when it ends with a message box it expected never shown or a scripted step never taken.
    ~SimTest() override;

    platform::sim::SimPlatform sim;
};
