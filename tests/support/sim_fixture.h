#pragma once
// The base of every test that runs system code: a fresh simulated platform per test, installed as the current
// platform for the test's whole life.

#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"

class SimTest : public ::testing::Test {
protected:
    platform::sim::SimPlatform sim;

    // A test fails when it ends with a message box it expected never shown or a scripted step never taken.
    ~SimTest() override;
};
