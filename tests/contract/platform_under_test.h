#pragma once
// The platform contract: one suite of cases that every implementation of the platform layer must pass, built
// once with the sim (Linux) and once with the win32 platform (mingw, run under Wine). A case that the real
// platform answers differently from the sim fails, so the sim cannot drift from what it stands in for.
//
// Each test gets a fresh platform under test, installed as the current platform, and a fresh scratch folder.
// What only one platform can do (set the system code page, see a job queue) is asked of it here and skipped
// where it cannot be done; sim-only behaviour (virtual time, fault switches) stays in the sim's own suites.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/types.h"

namespace contract {

// The printer that the sim adds and the Wine harness seeds in the spooler (scripts/test-windows.sh).
inline constexpr const wchar_t* kPrinterName = L"Contract Printer";
inline constexpr const wchar_t* kDriverName = L"Contract Driver";
inline constexpr const wchar_t* kPortName = L"USB001";

class PlatformUnderTest {
public:
    virtual ~PlatformUnderTest() = default;
    virtual const char* Name() const = 0;
    // An empty folder of this test's own, ending with "\".
    virtual std::wstring Scratch() const = 0;
    // Makes codePage the system code page; false when this platform cannot (the real one keeps its own).
    virtual bool UseSystemCodePage(std::uint32_t codePage) = 0;
    // Whether the contract printer is there (the real spooler has it only when the harness seeded it).
    virtual bool HasPrinter() const = 0;
    // The bytes that the contract printer's port received last (a whole raw job), nothing when none came.
    virtual std::optional<platform::Bytes> PortBytes() = 0;
    // Makes the port library's module impossible to find; false when this platform cannot.
    virtual bool HidePortLibrary() = 0;
    // The path of a device that takes what it is sent but never answers, for the class driver to open once: ask
    // again for each open. Empty when this platform cannot provide one.
    virtual std::wstring SilentDevicePath() = 0;
    // The path of a small program that ends with the exit code its last argument gives in decimal.
    virtual std::wstring ExitCodeProgram() = 0;
    // Why this platform is known to answer the named case otherwise than the system it stands for (Wine's own
    // gaps, listed in the README); empty when it is not. Such a case is reported, not failed.
    virtual std::string KnownDeviation(const std::string& caseName) const = 0;
};

// True (and the reason printed) when the case is a known deviation of the platform under test.
bool IsKnownDeviation(const PlatformUnderTest& under, const std::string& caseName);

// The implementation this suite was built with.
std::unique_ptr<PlatformUnderTest> MakePlatformUnderTest(const std::string& testName);

class ContractTest : public ::testing::Test {
protected:
    ContractTest()
        : under(MakePlatformUnderTest(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
                                      std::string("_") +
                                      ::testing::UnitTest::GetInstance()->current_test_info()->name())) {}
    std::unique_ptr<PlatformUnderTest> under;
};

}  // namespace contract
