// The class driver's failure paths, which need no printer: what an unknown device path and a handle that is not
// open give, in the result and in the thread's last-error value.
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

// One last-error value per thread, whoever sets or reads it.
TEST_F(UsbPrinterContract, TheLastErrorIsTheThreads) {
    platform::usbDriver().SetLastError(platform::kErrorTimeout);
    EXPECT_EQ(platform::threadState().GetLastError(), platform::kErrorTimeout);
    platform::threadState().SetLastError(platform::kErrorInvalidParameter);
    EXPECT_EQ(platform::usbDriver().GetLastError(), platform::kErrorInvalidParameter);
}

}  // namespace
}  // namespace contract
