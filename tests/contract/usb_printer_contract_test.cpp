// The class driver's failure paths, which need no printer: what an unknown device path and a handle that is not
// open give, in the result and in the thread's last-error value; and transfers to a device that never answers,
// which end only by a cancel or a close and leave the caller's last-error value as the caller set it.
#include "platform/platform.h"
#include "platform/thread_state.h"
#include "platform/usb_printer.h"
#include "platform_under_test.h"

namespace contract {
namespace {

using UsbPrinterContract = ContractTest;

TEST_F(UsbPrinterContract, UnknownDeviceAndClosedHandlesFail) {
    auto& driver = platform::usbDriver();
    const wchar_t* kNoDevice = L"\\\\?\\usb#vid_0000&pid_0000#nothing#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    for (bool overlapped : {false, true}) {
        SCOPED_TRACE(overlapped);
        driver.SetLastError(0);
        EXPECT_EQ(driver.OpenDevice(kNoDevice, overlapped), platform::kInvalidFileHandle);
        EXPECT_EQ(driver.GetLastError(), platform::kErrorFileNotFound);
    }
    driver.SetLastError(0);
    EXPECT_FALSE(driver.CloseHandle(platform::kInvalidFileHandle));
    EXPECT_EQ(driver.GetLastError(), platform::kErrorInvalidHandle);
    driver.SetLastError(0);
    EXPECT_FALSE(driver.CancelIo(platform::kInvalidFileHandle));
    EXPECT_EQ(driver.GetLastError(), platform::kErrorInvalidHandle);
    // The value is the calling thread's own and stays until someone sets it.
    driver.SetLastError(platform::kErrorTimeout);
    EXPECT_EQ(driver.GetLastError(), platform::kErrorTimeout);
}

// What the port class does with a read that the device leaves unanswered: it waits, cancels (or not), sets the
// error it reports and closes the handle. Regression: the win32 close reported its own wait's
// ERROR_OPERATION_ABORTED in place of the caller's ERROR_TIMEOUT, and a second read overwrote the running one's
// record.
struct SilentReadCase {
    const char* name;
    bool cancel;                // cancel the read before closing
    bool readAgain;             // after the cancel, start another read and leave it running
    std::uint32_t callerError;  // what the caller reports for the transfer
};

constexpr SilentReadCase kSilentReadCases[] = {
    {"timed-out read cancelled, then closed", true, false, platform::kErrorTimeout},
    {"timed-out read left running, then closed", false, false, platform::kErrorTimeout},
    {"cancelled read followed by another, then closed", true, true, platform::kErrorInvalidAccess},
};

TEST_F(UsbPrinterContract, SilentDeviceReadEndsWithTheCallersError) {
    if (under->SilentDevicePath().empty()) {
        GTEST_SKIP() << "no silent device here";
    }
    auto& driver = platform::usbDriver();
    constexpr std::uint32_t kWaitMs = 20;
    for (const SilentReadCase& c : kSilentReadCases) {
        SCOPED_TRACE(c.name);
        const platform::FileHandle handle = driver.OpenDevice(under->SilentDevicePath(), true);
        ASSERT_TRUE(platform::IsValidFileHandle(handle));
        std::uint8_t buffer[16] = {};
        std::uint32_t count = 99;
        EXPECT_FALSE(driver.ReadFile(handle, buffer, sizeof buffer, count));
        EXPECT_EQ(driver.GetLastError(), platform::kErrorIoPending);
        EXPECT_EQ(count, 0u);
        // The running read owns the handle's one transfer.
        std::uint8_t other[16] = {};
        EXPECT_FALSE(driver.ReadFile(handle, other, sizeof other, count));
        EXPECT_EQ(driver.GetLastError(), platform::kErrorInvalidAccess);
        EXPECT_EQ(driver.WaitForHandle(handle, kWaitMs), platform::WaitResult::TimedOut);
        EXPECT_FALSE(driver.GetOverlappedResult(handle, count));
        EXPECT_EQ(driver.GetLastError(), platform::kErrorIoIncomplete);
        if (c.cancel) {
            driver.SetLastError(c.callerError);
            EXPECT_TRUE(driver.CancelIo(handle));
            EXPECT_EQ(driver.GetLastError(), c.callerError);
            EXPECT_FALSE(driver.GetOverlappedResult(handle, count));
            EXPECT_EQ(driver.GetLastError(), platform::kErrorOperationAborted);
        }
        if (c.readAgain) {
            EXPECT_FALSE(driver.ReadFile(handle, buffer, sizeof buffer, count));
            EXPECT_EQ(driver.GetLastError(), platform::kErrorIoPending);
            EXPECT_EQ(driver.WaitForHandle(handle, kWaitMs), platform::WaitResult::TimedOut);
        }
        driver.SetLastError(c.callerError);
        EXPECT_TRUE(driver.CloseHandle(handle));
        EXPECT_EQ(driver.GetLastError(), c.callerError);
    }
}

// A write that the device takes whole may end at once or pend until the first wait; either way its count is the
// whole length.
TEST_F(UsbPrinterContract, SilentDeviceTakesAWriteWhole) {
    const std::wstring path = under->SilentDevicePath();
    if (path.empty()) {
        GTEST_SKIP() << "no silent device here";
    }
    auto& driver = platform::usbDriver();
    const platform::FileHandle handle = driver.OpenDevice(path, true);
    ASSERT_TRUE(platform::IsValidFileHandle(handle));
    const std::uint8_t data[] = {0x1b, 0x40, 0x00, 0x7f, 0xff};
    std::uint32_t count = 99;
    if (driver.WriteFile(handle, data, sizeof data, count)) {
        EXPECT_EQ(count, sizeof data);
    } else {
        EXPECT_EQ(driver.GetLastError(), platform::kErrorIoPending);
        EXPECT_EQ(driver.WaitForHandle(handle, 1000), platform::WaitResult::Signalled);
    }
    count = 99;
    EXPECT_TRUE(driver.GetOverlappedResult(handle, count));
    EXPECT_EQ(count, sizeof data);
    EXPECT_TRUE(driver.CloseHandle(handle));
}

// One last-error value per thread, whoever sets or reads it.
TEST_F(UsbPrinterContract, TheLastErrorIsTheThreads) {
    platform::usbDriver().SetLastError(platform::kErrorTimeout);
    EXPECT_EQ(platform::threadState().GetLastError(), platform::kErrorTimeout);
    platform::threadState().SetLastError(platform::kErrorInvalidParameter);
    EXPECT_EQ(platform::usbDriver().GetLastError(), platform::kErrorInvalidParameter);
}

}  // namespace
}  // namespace contract
